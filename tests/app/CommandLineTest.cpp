// The terminal's options: what they print, what they write and their exit status.
#include "app/CommandLine.h"
#include "platform/AtomicFile.h"
#include "platform/CTime.h"
#include "platform/Clock.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <vector>

using namespace TestSupport;

namespace {

struct tRun {
    std::optional<int> m_Status;
    std::string m_Out;
    std::string m_Err;
};

tRun Zembrola(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "zembrola");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    char* out = nullptr;
    char* err = nullptr;
    size_t outSize = 0, errSize = 0;
    FILE* outFile = open_memstream(&out, &outSize);
    FILE* errFile = open_memstream(&err, &errSize);
    tRun run;
    run.m_Status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), outFile, errFile);
    std::fclose(outFile);
    std::fclose(errFile);
    run.m_Out = out;
    run.m_Err = err;
    std::free(out);
    std::free(err);
    return run;
}

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
    const tRun run = Zembrola({"--import", "people.vcf", "--gender", "m"});
    EXPECT_EQ(run.m_Status, 0);
    EXPECT_EQ(run.m_Out, "anna\tJune 14\talready on this day\n"
                         "J\xC3\xBCrgen\tJune 15\tadded\n"
                         "1 added, 1 skipped.\n");
    EXPECT_NE(ReadFile(m_Scratch / "Cal_Data/DataFile.txt").find("[15-06]\r\nJ\xFCrgen=m0"),
              std::string::npos);
    EXPECT_EQ(Zembrola({"--next", "1"}).m_Out, "2026-06-14\tAnna\n2026-06-15\tJ\xC3\xBCrgen\n");
}

TEST_F(CommandLineTest, FailuresAreSaidAndEndWithAStatus) {
    // A data file that cannot be read is never written, and nothing is exported from it.
    AtomicFile::InjectReadError(EIO);
    EXPECT_EQ(Zembrola({"--import", "people.vcf", "--gender", "f"}).m_Status, 1);
    EXPECT_EQ(Zembrola({"--export-ics", "out.ics"}).m_Status, 1);
    AtomicFile::InjectReadError(0);
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
          tCase{{"--export-ics", "no/such/folder/out.ics"}, 1}, tCase{{"--export-ics"}, 2}}) {
        const tRun run = Zembrola(row.m_Arguments);
        EXPECT_EQ(run.m_Status, row.m_Status)
            << row.m_Arguments[0] << " " << row.m_Arguments.size();
        EXPECT_FALSE(run.m_Err.empty()) << row.m_Arguments[0];
    }
    // Anything else is the window's.
    EXPECT_FALSE(Zembrola({}).m_Status);
    EXPECT_FALSE(Zembrola({"-platform", "offscreen"}).m_Status);
    EXPECT_EQ(Zembrola({"--help"}).m_Status, 0);
}

} // namespace
