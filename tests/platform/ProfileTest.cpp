#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

class ProfileTest : public testing::Test {
protected:
    TestSupport::tScratch m_Scratch;
    const std::string m_File = m_Scratch / "Cal_Data/test.ini";

    const char* File() const { return m_File.c_str(); }

    // The key list as the strings before the first empty one, and the returned count.
    std::vector<std::string> KeyList(const char* section, uint32_t size, uint32_t* copied) {
        std::vector<char> buffer(size, 'x');
        *copied = GetPrivateProfileString(section, nullptr, "#", buffer.data(), size, File());
        std::vector<std::string> names;
        for (size_t offset = 0; offset < size && buffer[offset] != '\0';) {
            names.emplace_back(buffer.data() + offset);
            offset += names.back().size() + 1;
        }
        return names;
    }

    std::string Value(const char* section, const char* key, uint32_t size = 100) {
        std::vector<char> buffer(size, 'x');
        GetPrivateProfileString(section, key, "#", buffer.data(), size, File());
        return buffer.data();
    }
};

TEST_F(ProfileTest, KeyListCutsTheLastNameToEndWithTwoNuls) {
    WriteFile(m_File, "[s]\nalpha=1\nbeta=2\ngamma=3\n");
    // "alpha\0beta\0gamma\0\0" needs 18 bytes.
    struct {
        uint32_t size;
        uint32_t copied;
        std::vector<std::string> names;
    } const rows[] = {
        {18, 17, {"alpha", "beta", "gamma"}},
        {17, 15, {"alpha", "beta", "gamm"}},
        {13, 11, {"alpha", "beta"}},
        {12, 10, {"alpha", "beta"}},
        {11, 9, {"alpha", "bet"}},
        {7, 5, {"alpha"}},
        {3, 1, {"a"}},
        {2, 0, {}},
        {1, 0, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("size " + std::to_string(row.size));
        uint32_t copied = 0;
        EXPECT_EQ(KeyList("s", row.size, &copied), row.names);
        EXPECT_EQ(copied, row.copied);
    }
}

TEST_F(ProfileTest, MissingOrEmptySectionGivesTheDefault) {
    WriteFile(m_File, "[empty]\n\n[other]\nx=1\n");
    for (const char* section : {"empty", "missing"}) {
        SCOPED_TRACE(section);
        char buffer[10];
        EXPECT_EQ(GetPrivateProfileString(section, nullptr, "# ", buffer, 10, File()), 1u);
        EXPECT_STREQ(buffer, "#") << "without the default's trailing blank";
    }
}

TEST_F(ProfileTest, ValuesLoseSurroundingBlanksAndOnePairOfQuotes) {
    WriteFile(m_File, "[s]\n"
                      "plain=f002\n"
                      "blanks =  \t spaced out \t \n"
                      "double=\"quoted\"\n"
                      "single=' single '\n"
                      "twice=\"\"two\"\"\n"
                      "mixed=\"mixed'\n"
                      "lonely=\"\n"
                      "empty=\n"
                      "equals=a=b\n");
    struct {
        const char* key;
        const char* value;
    } const rows[] = {
        {"plain", "f002"},    {"blanks", "spaced out"},
        {"double", "quoted"}, {"single", " single "},
        {"twice", "\"two\""}, {"mixed", "\"mixed'"},
        {"lonely", "\""},     {"empty", ""},
        {"equals", "a=b"},    {"missing", "#"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(Value("s", row.key), row.value);
    }
}

TEST_F(ProfileTest, LongValuesAreCutToTheBuffer) {
    WriteFile(m_File, "[s]\nk=" + std::string(150, 'v') + "\n");
    EXPECT_EQ(Value("s", "k"), std::string(99, 'v'));
    char buffer[100];
    EXPECT_EQ(GetPrivateProfileString("s", "k", "#", buffer, 100, File()), 99u);
}

TEST_F(ProfileTest, NamesCompareWithoutRegardToCase) {
    // Windows-1252: \xC9 is E acute, \xE9 its lower case.
    WriteFile(m_File, "[Settings]\nWP.MAXPOS.X=7\nRen\xC9=m001\n");
    EXPECT_EQ(GetPrivateProfileInt("settings", "wp.maxpos.x", 0, File()), 7);
    EXPECT_EQ(Value("SETTINGS", "ren\xE9"), "m001");
}

TEST_F(ProfileTest, IntegersReadAsSignedDecimals) {
    WriteFile(m_File, "[s]\na=42\nb=-17\nc=  12abc\nd=abc\ne=\nf=\"5\"\ng=99999999999\nh=+3\n");
    struct {
        const char* key;
        int value;
    } const rows[] = {{"a", 42}, {"b", -17},        {"c", 12}, {"d", 0},        {"e", 100},
                      {"f", 5},  {"g", 2147483647}, {"h", 3},  {"missing", 100}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(GetPrivateProfileInt("s", row.key, 100, File()), row.value);
    }
}

TEST_F(ProfileTest, WritesKeepOrderPlaceAndStoredCase) {
    WriteFile(m_File, "[24-12]\nAnna=f002\nPeter=m000\n\n[05-03]\nLena=f011\n");
    ASSERT_TRUE(WritePrivateProfileString("24-12", "anna", "f005", File()));
    ASSERT_TRUE(WritePrivateProfileString("24-12", "Zoe", "f001", File()));
    ASSERT_TRUE(WritePrivateProfileString("01-01", "New", "m003", File()));
    EXPECT_EQ(ReadFile(m_File), "[24-12]\nAnna=f005\nPeter=m000\nZoe=f001\n\n"
                                "[05-03]\nLena=f011\n[01-01]\nNew=m003\n");
}

TEST_F(ProfileTest, RemovalOfKeysAndSections) {
    WriteFile(m_File, "[a]\nx=1\ny=2\n[b]\nz=3\n");
    EXPECT_TRUE(WritePrivateProfileString("a", "X", nullptr, File()));
    EXPECT_EQ(ReadFile(m_File), "[a]\ny=2\n[b]\nz=3\n");
    EXPECT_TRUE(WritePrivateProfileString("A", nullptr, nullptr, File()));
    EXPECT_EQ(ReadFile(m_File), "[b]\nz=3\n");
    // Removing what is not there succeeds and changes nothing.
    EXPECT_TRUE(WritePrivateProfileString("b", "nobody", nullptr, File()));
    EXPECT_TRUE(WritePrivateProfileString("nothing", nullptr, nullptr, File()));
    EXPECT_EQ(ReadFile(m_File), "[b]\nz=3\n");
}

TEST_F(ProfileTest, FilesKeepTheirOwnLineEnds) {
    struct {
        const char* name;
        std::string before;
        std::string after;
    } const rows[] = {
        {"crlf", "[s]\r\na=1\r\n", "[s]\r\na=2\r\nb=3\r\n[t]\r\nc=4\r\n"},
        {"lf", "[s]\na=1\n", "[s]\na=2\nb=3\n[t]\nc=4\n"},
        {"no final line end", "[s]\r\na=1", "[s]\r\na=2\r\nb=3\r\n[t]\r\nc=4\r\n"},
        {"mixed", "[s]\r\na=1\n", "[s]\r\na=2\nb=3\r\n[t]\r\nc=4\r\n"},
        {"new file", "", "[s]\na=2\nb=3\n[t]\nc=4\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(m_File, row.before);
        ASSERT_TRUE(WritePrivateProfileString("s", "a", "2", File()));
        ASSERT_TRUE(WritePrivateProfileString("s", "b", "3", File()));
        ASSERT_TRUE(WritePrivateProfileString("t", "c", "4", File()));
        EXPECT_EQ(ReadFile(m_File), row.after);
        uint32_t copied = 0;
        EXPECT_EQ(KeyList("s", 100, &copied), (std::vector<std::string>{"a", "b"}));
    }
}

TEST_F(ProfileTest, HandWrittenLinesAreKeptAndIgnored) {
    const std::string file = "; birthdays\r\n"
                             "stray=before any section\r\n"
                             "[ 24-12 ]\r\n"
                             "  ; a comment\r\n"
                             "no equals sign\r\n"
                             "  Anna  =  f002  \r\n"
                             "=no key\r\n"
                             "[broken\r\n"
                             "\r\n"
                             "[next]\r\n";
    WriteFile(m_File, file);
    uint32_t copied = 0;
    EXPECT_EQ(KeyList("24-12", 100, &copied), std::vector<std::string>{"Anna"});
    EXPECT_EQ(Value("24-12", "anna"), "f002");
    ASSERT_TRUE(WritePrivateProfileString("24-12", "Bert", "m001", File()));
    std::string expected = file;
    expected.insert(expected.find("\r\n[next]"), "Bert=m001\r\n");
    EXPECT_EQ(ReadFile(m_File), expected)
        << "the new key follows the section's last line, before the blank one";
}

TEST_F(ProfileTest, TheFirstOfRepeatedSectionsAndKeysCounts) {
    WriteFile(m_File, "[s]\nk=first\nk=second\n[S]\nk=third\n");
    EXPECT_EQ(Value("s", "k"), "first");
    uint32_t copied = 0;
    EXPECT_EQ(KeyList("s", 100, &copied), (std::vector<std::string>{"k", "k"}));
}

TEST_F(ProfileTest, RefusesWhatCouldNotBeReadBackAndWritesNothing) {
    WriteFile(m_File, "[s]\na=1\n");
    struct {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
    } const rows[] = {
        {"= in key", "s", "Jo=Ann", "f001"},      {"line break in key", "s", "Jo\nAnn", "f001"},
        {"CR in key", "s", "Jo\rAnn", "f001"},    {"leading [ in key", "s", "[Jo]", "f001"},
        {"leading ; in key", "s", ";Jo", "f001"}, {"leading blank", "s", " Jo", "f001"},
        {"trailing blank", "s", "Jo ", "f001"},   {"empty key", "s", "", "f001"},
        {"] in section", "a]b", "Jo", "f001"},    {"line break in section", "a\nb", "Jo", "f001"},
        {"empty section", "", "Jo", "f001"},      {"line break in value", "s", "Jo", "f\n001"},
        {"quoted value", "s", "Jo", "'x'"},       {"blank value end", "s", "Jo", "x "},
        {"no section", nullptr, "Jo", "f001"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(WritePrivateProfileString(row.section, row.key, row.value, File()));
        EXPECT_EQ(ReadFile(m_File), "[s]\na=1\n");
    }
    EXPECT_TRUE(ProfileKeyIsStorable("Jo Ann #2 [x] ; y"));
    EXPECT_TRUE(ProfileValueIsStorable(""));
}

TEST_F(ProfileTest, ReadsSeeHandEditsAtOnce) {
    WriteFile(m_File, "[s]\na=1\n");
    EXPECT_EQ(Value("s", "a"), "1");
    // Same size, written in place: the modification time tells.
    WriteFile(m_File, "[s]\na=2\n");
    struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
    utimensat(AT_FDCWD, File(), times, 0);
    EXPECT_EQ(Value("s", "a"), "2");
    // Replaced by another file.
    const std::string other = m_Scratch / "Cal_Data/other.ini";
    WriteFile(other, "[s]\na=3\n");
    ASSERT_EQ(rename(other.c_str(), File()), 0);
    EXPECT_EQ(Value("s", "a"), "3");
    // Removed.
    ASSERT_EQ(unlink(File()), 0);
    EXPECT_EQ(Value("s", "a"), "#");
}

} // namespace
