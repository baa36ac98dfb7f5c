// The terminal's options: what they print, what they write and their exit status.
#include "app/CommandLine.h"
#include "platform/AtomicFile.h"
#include "platform/CTime.h"
#include "platform/Clock.h"
#include "tests/support/TerminalRun.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <vector>

using namespace TestSupport;

namespace {

class CommandLineTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_Scratch / "Cal_Data/DataFile.txt", "[14-06]\r\nAnna=f001\r\n");
        WriteFile(m_Scratch / "people.vcf",
                  "BEGIN:VCARD\nVERSION:3.0\nFN:anna\nBDAY:--0614\nEND:VCARD\n"
                  "BEGIN:VCARD\nVERSION:3.0\nFN:J\xC3\xBCrgen\nBDAY:1964-06-15\nEND:VCARD\n");
        Clock::SetNow(CTime(2026, 6, 14, 10, 0, 0).GetTime());
    }
    void TearDown() override { Clock::SetNow(std::nullopt); }
    tScratch m_Scratch{tScratch::tContent::InstallationData};
};

TEST_F(CommandLineTest, ImportPrintsEveryCardAndASummary) {
    const tTerminalRun run = Zembrola({"--import", "--gender=m", "people.vcf"});
    EXPECT_EQ(run.m_Status, 0);
    EXPECT_EQ(run.m_Out, "anna\tJune 14\talready on this day\n"
                         "J\xC3\xBCrgen\tJune 15\tadded\n"
                         "1 added, 1 skipped.\n");
    EXPECT_NE(ReadFile(m_Scratch / "Cal_Data/DataFile.txt").find("[15-06]\r\nJ\xFCrgen=m0"),
              std::string::npos);
    EXPECT_EQ(Zembrola({"--next", "1"}).m_Out, "2026-06-14\tAnna\n2026-06-15\tJ\xC3\xBCrgen\t62\n")
        << "the year the imported card gives";
    // Where an address book gives the year, a third column tells the age; a year that would
    // make no age (or a negative one) tells none.
    WriteFile(m_Scratch / "Cal_Data/AddressBooks.json",
              R"({"books": [{"url": "http://127.0.0.1:1/b/", "contacts": {)"
              R"("/b/1.vcf": {"name": "Anna", "month": 6, "day": 14, "year": 1986},)"
              R"("/b/2.vcf": {"name": "J\u00fcrgen", "month": 6, "day": 15, "year": 2027}}}]})");
    EXPECT_EQ(Zembrola({"--next", "1"}).m_Out, "2026-06-14\tAnna\t40\n2026-06-15\tJ\xC3\xBCrgen\n");
    // The export tells the year in the event's description; a year still to come, never.
    ASSERT_EQ(Zembrola({"--export-ics", "out.ics"}).m_Status, 0);
    const std::string calendar = ReadFile(m_Scratch / "out.ics");
    const size_t anna = calendar.find("SUMMARY:Birthday: Anna");
    ASSERT_NE(anna, std::string::npos) << calendar;
    EXPECT_EQ(calendar.find("DESCRIPTION:"), calendar.find("DESCRIPTION:Born in 1986.\r\n", anna))
        << calendar;
    EXPECT_EQ(calendar.find("DESCRIPTION:", calendar.find("DESCRIPTION:") + 1), std::string::npos)
        << "one description: Anna's";
}

TEST_F(CommandLineTest, FailuresAreSaidAndEndWithAStatus) {
    // A data file that cannot be read is never written, and nothing is exported from it.
    InjectReadError(EIO);
    EXPECT_EQ(Zembrola({"--import", "people.vcf", "--gender", "f"}).m_Status, 1);
    EXPECT_EQ(Zembrola({"--export-ics", "out.ics"}).m_Status, 1);
    InjectReadError(0);
    EXPECT_EQ(ReadFile(m_Scratch / "Cal_Data/DataFile.txt"), "[14-06]\r\nAnna=f001\r\n");
    EXPECT_FALSE(FileExists(m_Scratch / "out.ics"));
    struct tCase {
        std::vector<std::string> m_Arguments;
        int m_Status;
    };
    for (const tCase& row :
         {tCase{{"--import", "missing.vcf"}, 1},
          tCase{{"--import", "people.vcf", "--gender", "x"}, 2}, tCase{{"--import"}, 2},
          tCase{{"--next", "many"}, 2}, tCase{{"--next", "400"}, 2},
          tCase{{"--export-ics", "no/such/folder/out.ics"}, 1}, tCase{{"--export-ics"}, 2},
          tCase{{"--export-ics", "a.ics", "b.ics"}, 2},
          tCase{{"--next", "--export-ics", "a.ics"}, 2}, tCase{{"--next", "--gender", "m"}, 2},
          tCase{{"--import", "people.vcf", "--colour"}, 2}}) {
        const tTerminalRun run = Zembrola(row.m_Arguments);
        EXPECT_EQ(run.m_Status, row.m_Status)
            << row.m_Arguments[0] << " " << row.m_Arguments.size();
        EXPECT_FALSE(run.m_Err.empty()) << row.m_Arguments[0];
    }
    // Anything else is the window's.
    EXPECT_FALSE(Zembrola({}).m_Status);
    EXPECT_FALSE(Zembrola({"-platform", "offscreen"}).m_Status);
    EXPECT_EQ(Zembrola({"--help"}).m_Status, 0);
}

// The help and the option errors speak the stored language, with English where the language
// file has no such text.
TEST_F(CommandLineTest, TerminalTextsInTheStoredLanguage) {
    const struct {
        int m_Language;
        const char* m_Usage; // UTF-8
        const char* m_GenderError;
    } rows[] = {
        {1, "Usage: zembrola [OPTION]", "--gender takes m or f."},
        {2, "Gebruik: zembrola [OPTIE]", "--gender verwacht m of f."},
        {3, "Usage : zembrola [OPTION]", "--gender attend m ou f."},
        {4, "Aufruf: zembrola [OPTION]", "--gender erwartet m oder f."},
        {5, "Uso: zembrola [OPZIONE]", "--gender vuole m o f."},
        {6, "Uso: zembrola [OPCI\xC3\x93N]", "--gender espera m o f."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Language);
        WriteFile(m_Scratch / "Cal_Data/DataFile.txt",
                  "[settings]\r\nlanguage=" + std::to_string(row.m_Language) + "\r\n");
        const tTerminalRun help = Zembrola({"--help"});
        EXPECT_EQ(help.m_Status, 0);
        EXPECT_EQ(help.m_Out.rfind(std::string(row.m_Usage) + "\n", 0), 0u) << help.m_Out;
        size_t column = 0; // characters, not bytes, on each line
        for (const char c : help.m_Out) {
            column = c == '\n' ? 0 : column + ((static_cast<unsigned char>(c) & 0xC0) != 0x80);
            EXPECT_LE(column, 79u) << help.m_Out;
        }
        const tTerminalRun wrong = Zembrola({"--import", "people.vcf", "--gender", "x"});
        EXPECT_EQ(wrong.m_Status, 2);
        EXPECT_EQ(wrong.m_Err.rfind(
                      "zembrola: " + std::string(row.m_GenderError) + "\n" + row.m_Usage, 0),
                  0u)
            << wrong.m_Err;
    }
    // A language file without the texts: English, not an error.
    WriteFile(m_Scratch / "Cal_Data/Language.txt", "[English]\r\ntitle=Zembrola\r\n");
    EXPECT_EQ(Zembrola({"--help"}).m_Out.rfind("Usage: zembrola [OPTION]\n", 0), 0u);
}

// Hostile and broken input: each row the exit status, what is said, and the data file's bytes
// after it (unchanged unless the row says what it holds).
TEST_F(CommandLineTest, HostileInputNeverCrashesNorOverwrites) {
    const std::string original = "[14-06]\r\nAnna=f001\r\n";
    const auto card = [](const std::string& lines) {
        return "BEGIN:VCARD\nVERSION:3.0\n" + lines + "\nEND:VCARD\n";
    };
    struct tRow {
        const char* m_Name;
        std::string m_DataFile; // "" keeps the original
        std::string m_Cards;    // written to in.vcf
        std::vector<std::string> m_Arguments;
        int m_Status;
        const char* m_Said;    // in what is printed (either stream)
        const char* m_DataHas; // in the data file after, or null: unchanged
    };
    const std::vector<tRow> rows = {
        {"a US-style date",
         "",
         card("FN:Mo\nBDAY:12241993"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "Mo\t-\tthe birthday is not a day and month",
         nullptr},
        {"month 99",
         "",
         card("FN:Mo\nBDAY:1993-99-01"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "0 added, 1 skipped",
         nullptr},
        {"month 13 without a year",
         "",
         card("FN:Mo\nBDAY:--1332"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "Mo\t-\t",
         nullptr},
        {"letters for a year",
         "",
         card("FN:Mo\nBDAY:abcd1224"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "0 added, 1 skipped",
         nullptr},
        {"punctuation for a year",
         "",
         card("FN:Mo\nBDAY:!!!!!01-02"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "0 added, 1 skipped",
         nullptr},
        {"an escape sequence in a name",
         "",
         card("FN:Mo\x1B]0;owned\x07\nBDAY:--0301"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "Mo?]0;owned?\t",
         nullptr},
        {"NUL bytes after a soft break",
         "",
         card("FN;ENCODING=QUOTED-PRINTABLE:M=\n" + std::string(40, '\0') + "\nBDAY:--0301"),
         {"--import", "in.vcf", "--gender", "m"},
         0,
         "added",
         "[01-03]"},
        {"a language out of range",
         "[settings]\r\nlanguage=99\r\n",
         card("FN:Mo\nBDAY:--0301"),
         {"--import", "in.vcf", "--gender", "m"},
         1,
         "language=99",
         nullptr},
        {"a language too large for a number",
         "[settings]\r\nlanguage=99999999999999999999\r\n",
         "",
         {"--next"},
         1,
         "language=99999999999999999999 ",
         nullptr},
        {"a language of letters",
         "[settings]\r\nlanguage=x9y\r\n",
         "",
         {"--next"},
         1,
         "language=x9y ",
         nullptr},
        {"the lowest language number",
         "[settings]\r\nlanguage=-2147483648\r\n",
         "",
         {"--next"},
         1,
         "language=-2147483648",
         nullptr},
        {"a huge stored notice",
         "[14-06]\r\nAnna=f001\r\n[settings]\r\nnotify_days=2147483647\r\n",
         "",
         {"--next"},
         0,
         "2026-06-14\tAnna",
         nullptr},
        {"a negative stored notice",
         "[14-06]\r\nAnna=f001\r\n[settings]\r\nnotify_days=-5\r\n",
         "",
         {"--next"},
         0,
         "2026-06-14\tAnna",
         nullptr},
        {"a name with escapes stored by hand",
         "[14-06]\r\nAn\x1B[2Jna=f001\r\n",
         "",
         {"--next"},
         0,
         "2026-06-14\tAn?[2Jna",
         nullptr},
        {"a name the name field refuses",
         "",
         card("FN:#1 Fan\nBDAY:--0315") + card("FN:Lena\nBDAY:--0315"),
         {"--import", "in.vcf", "--gender", "f"},
         0,
         "#1 Fan\tMarch 15\tthe name cannot be stored as it is",
         "[15-03]\r\nLena=f"},
        {"two arguments to --next", "", "", {"--next", "1", "2"}, 2, "Usage", nullptr},
        {"an export onto the data file",
         "",
         "",
         {"--export-ics", "Cal_Data/DataFile.txt"},
         1,
         "data folder",
         nullptr},
        {"an export onto the language file",
         "",
         "",
         {"--export-ics", "Cal_Data/Language.txt"},
         1,
         "data folder",
         nullptr},
    };
    for (const tRow& row : rows) {
        SCOPED_TRACE(row.m_Name);
        const std::string data = row.m_DataFile.empty() ? original : row.m_DataFile;
        WriteFile(m_Scratch / "Cal_Data/DataFile.txt", data);
        const std::string language = ReadFile(m_Scratch / "Cal_Data/Language.txt");
        WriteFile(m_Scratch / "in.vcf", row.m_Cards);
        const tTerminalRun run = Zembrola(row.m_Arguments);
        EXPECT_EQ(run.m_Status, row.m_Status) << run.m_Out << run.m_Err;
        EXPECT_NE((run.m_Out + run.m_Err).find(row.m_Said), std::string::npos)
            << run.m_Out << run.m_Err;
        for (char c : run.m_Out + run.m_Err)
            EXPECT_FALSE(c == '\x1B' || c == '\x07') << "a control character reached the terminal";
        const std::string after = ReadFile(m_Scratch / "Cal_Data/DataFile.txt");
        if (row.m_DataHas)
            EXPECT_NE(after.find(row.m_DataHas), std::string::npos) << after;
        else
            EXPECT_EQ(after, data);
        EXPECT_EQ(ReadFile(m_Scratch / "Cal_Data/Language.txt"), language);
    }
}

// An export never writes through a link another user could have planted, nor into another
// user's file (the two-user test runs the same as a second user).
TEST_F(CommandLineTest, AnExportRefusesLinksItDidNotMake) {
    const std::filesystem::path shared = m_Scratch / "shared";
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared,
                                 std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    WriteFile(m_Scratch / "victim", "precious\n");
    std::filesystem::create_symlink(m_Scratch / "victim", shared / "birthdays.ics");
    std::filesystem::create_symlink(m_Scratch / "nowhere", shared / "dangling.ics");
    for (const char* name : {"shared/birthdays.ics", "shared/dangling.ics"}) {
        SCOPED_TRACE(name);
        const tTerminalRun run = Zembrola({"--export-ics", name});
        EXPECT_EQ(run.m_Status, 1);
        EXPECT_NE(run.m_Err.find("link"), std::string::npos) << run.m_Err;
    }
    EXPECT_EQ(ReadFile(m_Scratch / "victim"), "precious\n");
    EXPECT_FALSE(FileExists(m_Scratch / "nowhere"));
    // A link of one's own in one's own folder is followed.
    std::filesystem::create_symlink(m_Scratch / "mine.ics", m_Scratch / "link.ics");
    EXPECT_EQ(Zembrola({"--export-ics", "link.ics"}).m_Status, 0);
    EXPECT_NE(ReadFile(m_Scratch / "mine.ics").find("BEGIN:VCALENDAR"), std::string::npos);
}

} // namespace
