#include "data/tContactImport.h"
#include "tests/support/TestSupport.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <set>

using tSkip = tContactImport::tSkip;

namespace {

struct tCardCase {
    const char* m_What;
    std::string m_Bytes;
    std::string m_Name; // UTF-8
    int m_Month;
    int m_Day;
    tSkip m_Skip = tSkip::None;
    const char* m_Gender = "";
};

std::string Card(const std::string& lines, const std::string& version = "3.0",
                 const char* eol = "\r\n") {
    std::string text = "BEGIN:VCARD" + std::string(eol) + "VERSION:" + version + eol;
    for (size_t at = 0; at < lines.size();) {
        const size_t end = lines.find('\n', at);
        text += lines.substr(at, end - at) + eol;
        at = end == std::string::npos ? lines.size() : end + 1;
    }
    return text + "END:VCARD" + eol;
}

class CardForms : public testing::TestWithParam<tCardCase> {};

TEST_P(CardForms, NameDateGenderAndReason) {
    const tCardCase& row = GetParam();
    tContactImport import;
    ASSERT_TRUE(import.Read(row.m_Bytes));
    ASSERT_EQ(import.m_Contacts.size(), 1u);
    const tContactImport::tContact& contact = import.m_Contacts[0];
    EXPECT_EQ(contact.m_ShownName, row.m_Name);
    EXPECT_EQ(contact.m_Skip, row.m_Skip);
    EXPECT_EQ(contact.m_Gender, row.m_Gender);
    if (row.m_Skip == tSkip::None || row.m_Skip == tSkip::NoAnsiForm) {
        EXPECT_EQ(contact.m_Month, row.m_Month);
        EXPECT_EQ(contact.m_Day, row.m_Day);
    }
}

const tCardCase kCards[] = {
    {"basic date", Card("FN:Anna Berg\nBDAY:19930102"), "Anna Berg", 1, 2},
    {"extended date", Card("FN:Anna\nBDAY:1993-01-02"), "Anna", 1, 2},
    {"no year", Card("FN:Anna\nBDAY:--1224", "4.0"), "Anna", 12, 24},
    {"no year, dashed", Card("FN:Anna\nBDAY:--12-24"), "Anna", 12, 24},
    {"date-time", Card("FN:Anna\nBDAY:1993-01-02T00:00:00Z"), "Anna", 1, 2},
    {"basic date-time", Card("FN:Anna\nBDAY;VALUE=date-time:19930102T120000"), "Anna", 1, 2},
    {"Apple without year", Card("FN:Anna\nBDAY;X-APPLE-OMIT-YEAR=1604:1604-02-29"), "Anna", 2, 29},
    {"29 February", Card("FN:Leap\nBDAY:2000-02-29"), "Leap", 2, 29},
    {"31 April", Card("FN:Anna\nBDAY:1993-04-31"), "Anna", 0, 0, tSkip::BirthdayText},
    {"text", Card("FN:Anna\nBDAY;VALUE=text:circa 1980", "4.0"), "Anna", 0, 0, tSkip::BirthdayText},
    {"year only", Card("FN:Anna\nBDAY:1980"), "Anna", 0, 0, tSkip::BirthdayText},
    {"no birthday", Card("FN:Anna\nTEL:123"), "Anna", 0, 0, tSkip::NoBirthday},
    {"N only", Card("N:Berg;Anna;;;\nBDAY:--0102"), "Anna Berg", 1, 2},
    {"no name", Card("BDAY:--0102"), "", 1, 2, tSkip::NoName},
    {"male, 4.0", Card("FN:Ben\nGENDER:M\nBDAY:--0102", "4.0"), "Ben", 1, 2, tSkip::None, "m"},
    {"female with text", Card("FN:Eva\nGENDER:F;woman\nBDAY:--0102", "4.0"), "Eva", 1, 2,
     tSkip::None, "f"},
    {"other gender is none", Card("FN:Kim\nGENDER:O\nBDAY:--0102", "4.0"), "Kim", 1, 2},
    {"X-GENDER in words", Card("FN:Ida\nX-GENDER:Female\nBDAY:--0102"), "Ida", 1, 2, tSkip::None,
     "f"},
    {"X-GENDER in a letter", Card("FN:Leo\nX-GENDER:m\nBDAY:--0102"), "Leo", 1, 2, tSkip::None,
     "m"},
    {"folded line", Card("FN:Anna Ma\n ria Berg\nBDAY:--0102"), "Anna Maria Berg", 1, 2},
    {"LF only", Card("FN:Zo\xC3\xAB\nBDAY:--0102", "3.0", "\n"), "Zo\xC3\xAB", 1, 2},
    {"byte-order mark", "\xEF\xBB\xBF" + Card("FN:Anna\nBDAY:--0102"), "Anna", 1, 2},
    {"2.1 quoted-printable Latin-1",
     Card("FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen M=\n=FCller\nBDAY:19640303",
          "2.1"),
     "J\xC3\xBCrgen M\xC3\xBCller", 3, 3},
    {"2.1 quoted-printable UTF-8",
     Card("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ren=C3=A9e\nBDAY:19640303", "2.1"),
     "Ren\303\251e", 3, 3},
    {"Windows-1252 file", Card("FN:Ren\351e\nBDAY:--0303", "2.1"), "Ren\303\251e", 3, 3},
    {"escaped comma", Card("FN:Berg\\, Anna\nBDAY:--0102"), "Berg, Anna", 1, 2},
    {"no Windows-1252 form", Card("FN:Tomasz Wi\xC5\x9Bniewski\nBDAY:--0517"),
     "Tomasz Wi\xC5\x9Bniewski", 5, 17, tSkip::NoAnsiForm},
    {"not storable", Card("FN:;Anna\nBDAY:--0102"), ";Anna", 1, 2, tSkip::NotStorable},
    {"too long", Card("FN:" + std::string(51, 'a') + "\nBDAY:--0102"), std::string(51, 'a'), 1, 2,
     tSkip::NotStorable},
};

INSTANTIATE_TEST_SUITE_P(AddressBooks, CardForms, testing::ValuesIn(kCards),
                         [](const testing::TestParamInfo<tCardCase>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.m_What))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

class ImportTest : public testing::Test {
protected:
    void SetUp() override { m_Data.SetFileName("Cal_Data\\DataFile.txt"); }
    // Reads, plans and applies; the reasons of the cards in order.
    std::vector<tSkip> Import(const std::string& bytes, const std::string& gender = "f") {
        tContactImport import;
        import.Read(bytes);
        import.Plan(m_Data, gender, 12, 12);
        EXPECT_TRUE(import.Apply(m_Data));
        std::vector<tSkip> skips;
        for (const auto& contact : import.m_Contacts)
            skips.push_back(contact.m_Skip);
        return skips;
    }

    TestSupport::tScratch m_Scratch;
    tDataFile m_Data;
};

TEST_F(ImportTest, ManyCardsOnceAndASecondImportAddsNobody) {
    ASSERT_TRUE(m_Data.WriteEntry(1, 2, "ANNA", "f001"));
    const std::string file = Card("FN:Anna\nBDAY:--0102") + Card("FN:Ben\nBDAY:--0102") +
                             Card("FN:ben\nBDAY:1990-01-02") + Card("FN:Carl\nBDAY:--0103");
    EXPECT_EQ(Import(file), (std::vector<tSkip>{tSkip::AlreadyThere, tSkip::None,
                                                tSkip::AlreadyThere, tSkip::None}));
    EXPECT_EQ(m_Data.CountEntries(1, 2), 2);
    EXPECT_EQ(Import(file), std::vector<tSkip>(4, tSkip::AlreadyThere));
    EXPECT_EQ(m_Data.ReadAllEntries().size(), 3u);
}

TEST_F(ImportTest, WithoutAGenderACardWaitsForOne) {
    const std::string file =
        Card("FN:Anna\nBDAY:--0102") + Card("FN:Ben\nGENDER:M\nBDAY:--0102", "4.0");
    EXPECT_EQ(Import(file, ""), (std::vector<tSkip>{tSkip::NoGender, tSkip::None}));
    EXPECT_EQ(Import(file, "f"), (std::vector<tSkip>{tSkip::None, tSkip::AlreadyThere}));
    std::string name, picture;
    ASSERT_TRUE(m_Data.ReadEntry(1, 2, 1, name, picture));
    EXPECT_EQ(name + picture.substr(0, 1), "Annaf");
}

TEST_F(ImportTest, PeopleOfOneDayGetDifferentPictures) {
    std::string file;
    for (int i = 0; i < 12; ++i)
        file += Card("FN:Person " + std::to_string(i) + "\nBDAY:--0704");
    Import(file);
    std::set<std::string> pictures;
    for (const tDataFile::tEntry& entry : m_Data.ReadEntries(7, 4))
        pictures.insert(entry.m_Picture);
    EXPECT_EQ(pictures.size(), 12u) << "twelve pictures for twelve people";
}

TEST_F(ImportTest, AFullDayIsReportedNotCut) {
    std::string file;
    for (int i = 0; i < 30; ++i)
        file += Card("FN:" + std::string(40, 'a' + static_cast<char>(i % 26)) + std::to_string(i) +
                     "\nBDAY:--0909");
    const std::vector<tSkip> skips = Import(file);
    const auto added = std::count(skips.begin(), skips.end(), tSkip::None);
    EXPECT_EQ(std::count(skips.begin(), skips.end(), tSkip::DayFull), 30 - added);
    EXPECT_GT(added, 20);
    EXPECT_EQ(m_Data.CountEntries(9, 9), added) << "every name written can be seen";
}

TEST_F(ImportTest, ASaveOfAnotherProgramMeanwhileIsRespected) {
    tContactImport import;
    import.Read(Card("FN:Anna\nBDAY:--0102"));
    import.Plan(m_Data, "f", 12, 12);
    ASSERT_TRUE(m_Data.WriteEntry(1, 2, "anna", "m005")); // the window saved her meanwhile
    EXPECT_TRUE(import.Apply(m_Data));
    EXPECT_EQ(import.m_Contacts[0].m_Skip, tSkip::AlreadyThere);
    std::string name, picture;
    m_Data.ReadEntry(1, 2, 0, name, picture);
    EXPECT_EQ(picture, "m005") << "not overwritten";
}

TEST_F(ImportTest, ARefusedSaveSaysSoForEveryCard) {
    TestSupport::WriteFile(m_Scratch / "Cal_Data/DataFile.txt", "[01-01]\nOld=m001\n");
    TestSupport::InjectReadError(EIO);
    tContactImport import;
    import.Read(Card("FN:Anna\nBDAY:--0102") + Card("FN:Ben\nBDAY:--0103"));
    import.Plan(m_Data, "f", 12, 12);
    EXPECT_FALSE(import.Apply(m_Data));
    TestSupport::InjectReadError(0);
    EXPECT_EQ(import.Count(tSkip::NotWritten), 2);
    EXPECT_EQ(TestSupport::ReadFile(m_Scratch / "Cal_Data/DataFile.txt"), "[01-01]\nOld=m001\n");
}

TEST(ContactImport, BytesWithoutCardsHoldNone) {
    tContactImport import;
    EXPECT_FALSE(import.Read("hello\nBEGIN:VCALENDAR\nEND:VCALENDAR\n"));
    EXPECT_FALSE(import.Read(""));
    EXPECT_TRUE(import.Read(Card("FN:A\nBDAY:--0101") + "garbage\r\n" + Card("FN:B")));
    EXPECT_EQ(import.m_Contacts.size(), 2u);
}

} // namespace
