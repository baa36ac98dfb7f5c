// Writing a change back to cards as real address books write them (iCloud, Google, Nextcloud,
// Thunderbird): the changed property is right, read back through the vCard reader, and every
// other property is the same bytes in the same place.
#include "addressbooks/tCardEditor.h"
#include "data/tBirthdayDate.h"
#include "formats/tFormats.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kPhoto =
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAASABIAAD/4QBMRXhpZgAATU0AKgAAAAgA\r\n"
    " AYdpAAQAAAABAAAAGgAAAAAAA6ABAAMAAAABAAEAAKACAAQAAAABAAAAMKADAAQAAAABAAAAMA\r\n"
    " AAAAD/7QA4UGhvdG9zaG9wIDMuMAA4QklNBAQAAAAAAAA4QklNBCUAAAAAABDUHYzZjwCyBOmA\r\n";

const std::vector<std::pair<const char*, std::string>> kCards = {
    {"iCloud",
     "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.1//EN\r\n"
     "N:Berg;Anna;;;\r\nFN:Anna Berg\r\nORG:Berg & Co;\r\n"
     "item1.EMAIL;type=INTERNET;type=pref:anna@example.com\r\nitem1.X-ABLabel:_$!<Other>!$_\r\n"
     "TEL;type=CELL;type=VOICE;type=pref:+46 70 123 45 67\r\n"
     "item2.ADR;type=HOME;type=pref:;;Storgatan 1;Stockholm;;111 22;Sweden\r\n"
     "BDAY;X-APPLE-OMIT-YEAR=1604:1604-03-12\r\n" +
         kPhoto +
         "X-SOCIALPROFILE;type=twitter:https://twitter.com/annaberg\r\n"
         "UID:7A1B2C3D-0000-4000-8000-000000000001\r\nREV:2024-01-05T10:11:12Z\r\nEND:VCARD\r\n"},
    {"Google",
     "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Berg\r\nN:Berg;Anna;Maria;;\r\n"
     "EMAIL;TYPE=INTERNET;TYPE=HOME:anna@example.com\r\nTEL;TYPE=CELL:070-123 45 67\r\n"
     "BDAY:1984-03-12\r\nNOTE:Met at the conference\\, 2019.\\nLikes tulips\\; not roses. A lon\r\n"
     " g note that the export folded.\r\nCATEGORIES:myContacts,Friends\r\nEND:VCARD\r\n"},
    {"Nextcloud", "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Sabre//Sabre VObject 4.4.2//EN\r\n"
                  "UID:f1e2d3c4-1111-2222-3333-444455556666\r\nFN:Anna Berg\r\nN:Berg;Anna;;;\r\n"
                  "BDAY:19840312\r\nADR;TYPE=HOME:;;Storgatan 1;Stockholm;;111 22;Sweden\r\n"
                  "X-NEXTCLOUD-GROUP:Family\r\nREV;VALUE=DATE-AND-OR-TIME:20240105T101112Z\r\n" +
                      kPhoto + "END:VCARD\r\n"},
    {"Thunderbird",
     "BEGIN:VCARD\nVERSION:4.0\nFN:Anna Berg\nN:Berg;Anna;;;\nBDAY;VALUE=DATE:--0312\n"
     "GENDER:F\nEMAIL;PREF=1:anna@example.com\nX-MOZILLA-HTML:FALSE\n"
     "UID:33c3b0f2-aaaa-bbbb-cccc-000000000004\nEND:VCARD\n"},
    {"a time and an offset",
     "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna Berg\r\nBDAY:1984-03-12T00:00:00+02:00\r\n"
     "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+46-70-123-45-67\r\nEND:VCARD\r\n"},
};

// The card's logical lines: folding undone, in order.
std::vector<std::string> Lines(const std::string& card) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < card.size()) {
        size_t end = card.find('\n', at);
        end = end == std::string::npos ? card.size() : end + 1;
        std::string line = card.substr(at, end - at);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if ((line[0] == ' ' || line[0] == '\t') && !lines.empty())
            lines.back() += line.substr(1);
        else
            lines.push_back(line);
        at = end;
    }
    return lines;
}

std::string NameOf(const std::string& line) {
    std::string name = line.substr(0, line.find_first_of(":;"));
    name = name.substr(name.rfind('.') + 1);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string Property(const std::string& card, const std::string& name) {
    for (const std::string& line : Lines(card))
        if (NameOf(line) == name)
            return line;
    return {};
}

// The raw text of every untouched property, folding and line ends included.
std::string RawWithout(const std::string& card, const std::set<std::string>& names) {
    std::string kept;
    bool keep = true;
    size_t at = 0;
    while (at < card.size()) {
        size_t end = card.find('\n', at);
        end = end == std::string::npos ? card.size() : end + 1;
        const std::string line = card.substr(at, end - at);
        if (line[0] != ' ' && line[0] != '\t')
            keep = !names.count(NameOf(line));
        if (keep)
            kept += line;
        at = end;
    }
    return kept;
}

TEST(CardEditorTest, AWriteChangesOnlyWhatTheUserChanged) {
    struct tEdit {
        const char* m_What;
        std::function<std::string(const std::string&)> m_Do;
        std::set<std::string> m_Touches;
        // Per card, the changed properties as they must read after the write.
        std::vector<std::vector<std::string>> m_Expected;
        std::string m_Name;
        std::optional<tBirthdayDate> m_Birthday;
    };
    const std::vector<tEdit> edits = {
        {"a rename",
         [](const std::string& card) { return tCardEditor::Rename(card, "Anna Lind-Berg"); },
         {"FN", "N"},
         {{"N:Lind-Berg;Anna;;;", "FN:Anna Lind-Berg"},
          {"FN:Anna Lind-Berg", "N:Lind-Berg;Anna;Maria;;"},
          {"FN:Anna Lind-Berg", "N:Lind-Berg;Anna;;;"},
          {"FN:Anna Lind-Berg", "N:Lind-Berg;Anna;;;"},
          {"FN:Anna Lind-Berg"}},
         "Anna Lind-Berg",
         tBirthdayDate{3, 12, 1984}},
        {"a moved birthday keeps the year and its form",
         [](const std::string& card) { return tCardEditor::MoveBirthday(card, 4, 1); },
         {"BDAY"},
         {{"BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-01"},
          {"BDAY:1984-04-01"},
          {"BDAY:19840401"},
          {"BDAY;VALUE=DATE:--0401"},
          {"BDAY:1984-04-01T00:00:00+02:00"}},
         "Anna Berg",
         tBirthdayDate{4, 1, 1984}},
        {"29 February, which 1984 has",
         [](const std::string& card) { return tCardEditor::MoveBirthday(card, 2, 29); },
         {"BDAY"},
         {{"BDAY;X-APPLE-OMIT-YEAR=1604:1604-02-29"},
          {"BDAY:1984-02-29"},
          {"BDAY:19840229"},
          {"BDAY;VALUE=DATE:--0229"},
          {"BDAY:1984-02-29T00:00:00+02:00"}},
         "Anna Berg",
         tBirthdayDate{2, 29, 1984}},
        {"a removed birthday",
         [](const std::string& card) { return tCardEditor::RemoveBirthday(card); },
         {"BDAY"},
         {{}, {}, {}, {}, {}},
         "Anna Berg",
         std::nullopt},
    };
    const tFormats* formats = tFormats::Get();
    ASSERT_NE(formats, nullptr) << tFormats::LoadError();
    for (const tEdit& edit : edits)
        for (size_t i = 0; i < kCards.size(); ++i) {
            const auto& [source, card] = kCards[i];
            SCOPED_TRACE(std::string(edit.m_What) + " on a card from " + source);
            const std::string written = edit.m_Do(card);
            EXPECT_EQ(RawWithout(written, edit.m_Touches), RawWithout(card, edit.m_Touches));
            std::vector<std::string> changed;
            for (const std::string& line : Lines(written))
                if (edit.m_Touches.count(NameOf(line)))
                    changed.push_back(line);
            EXPECT_EQ(changed, edit.m_Expected[i]);
            const tFormats::tCard read = formats->ReadCard(written);
            EXPECT_EQ(read.m_FullName, edit.m_Name);
            const std::optional<tBirthdayDate> birthday =
                read.m_HasBirthday ? tBirthdayDate::Parse(read.m_Birthday, read.m_BirthdayIsText,
                                                          read.m_OmittedYear)
                                   : std::nullopt;
            if (edit.m_Birthday && !(i == 0 || i == 3)) // those two give no year
                EXPECT_EQ(birthday, edit.m_Birthday);
            else if (edit.m_Birthday)
                EXPECT_EQ(birthday, (tBirthdayDate{edit.m_Birthday->m_Month, edit.m_Birthday->m_Day,
                                                   std::nullopt}));
            else
                EXPECT_FALSE(read.m_HasBirthday);
        }
}

TEST(CardEditorTest, NamesAreEscapedFoldedAndReadBackWhole) {
    const std::vector<std::string> names = {
        "Berg, Anna; Jr",
        "Åsa Öberg-Ängström von Überlingen und Zu Dingsda-Lindqvist Karlsson Bergström", "Madonna",
        "Back\\slash"};
    const tFormats* formats = tFormats::Get();
    ASSERT_NE(formats, nullptr) << tFormats::LoadError();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        for (const std::string& card : {tCardEditor::Rename(kCards[1].second, name),
                                        tCardEditor::NewCard("uid-1", name, 12, 24, "f")}) {
            for (size_t at = 0, end; at < card.size(); at = end + 1) {
                end = card.find('\n', at);
                EXPECT_LE(end - at - 1, 75u) << "a line longer than 75 octets";
            }
            EXPECT_EQ(formats->ReadCard(card).m_FullName, name);
        }
    }
    const tFormats::tCard made =
        formats->ReadCard(tCardEditor::NewCard("uid-1", "Nils Holm", 5, 6, "m"));
    EXPECT_EQ(made.m_Uid, "uid-1");
    EXPECT_EQ(made.m_Given, "Nils");
    EXPECT_EQ(made.m_Family, "Holm");
    EXPECT_EQ(made.m_Gender, "m");
    EXPECT_EQ(tBirthdayDate::Parse(made.m_Birthday), (tBirthdayDate{5, 6, std::nullopt}));
}

TEST(CardEditorTest, ACardWithoutABirthdayGetsOne) {
    const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carl\r\nTEL:1\r\nEND:VCARD\r\n";
    EXPECT_EQ(tCardEditor::MoveBirthday(card, 7, 1),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carl\r\nTEL:1\r\nBDAY:--0701\r\nEND:VCARD\r\n");
    EXPECT_EQ(Property(tCardEditor::MoveBirthday(kCards[1].second, 2, 29), "BDAY"),
              "BDAY:1984-02-29");
    EXPECT_EQ(Property(tCardEditor::MoveBirthday("BEGIN:VCARD\r\nBDAY:1983-01-01\r\nEND:VCARD\r\n",
                                                 2, 29),
                       "BDAY"),
              "BDAY:--02-29");
}

} // namespace
