#include "support/ErrorLog.h"
#include "tests/support/TestSupport.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

TEST(ErrorLogTest, PathRules) {
    struct {
        const char* tmp;
        const char* temp;
        const char* path;
    } const rows[] = {
        {"C:\\TEMP", nullptr, "C:\\TEMP/Errors.log"},
        {"C:\\TEMP\\", nullptr, "C:\\TEMP\\Errors.log"},
        {nullptr, "D:\\T", "D:\\T/Errors.log"},
        {nullptr, nullptr, "./Errors.log"},
        {"C:", nullptr, "C:Errors.log"},
        {"/tmp/", "/var", "/tmp/Errors.log"},
        {"/tmp", "/var", "/tmp/Errors.log"},
        {"", nullptr, "Errors.log"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(MakeErrorLogPath(row.tmp, row.temp), row.path);
    }
}

TEST(ErrorLogTest, ErrorTextEndsWithALineFeedAndIsCutToItsBuffer) {
    char buffer[100];
    EXPECT_EQ(ErrorText(buffer, sizeof buffer, "String not found in textfile: %s", "title"),
              buffer);
    EXPECT_STREQ(buffer, "String not found in textfile: title\n");
    EXPECT_EQ(ReadFile(ErrorLogPath()), "String not found in textfile: title\n\n");

    ErrorText(buffer, sizeof buffer, "String not found in textfile: %s",
              std::string(200, 'k').c_str());
    EXPECT_EQ(std::string(buffer).size(), 99u);
    EXPECT_EQ(buffer[98], '\n');
}

// Runs the probe with the given environment and returns what it printed on both streams.
std::string RunProbe(const std::string& environment, const std::string& argument,
                     std::string* errors = nullptr) {
    const std::string command =
        "env -u TMP -u TEMP " + environment + " " ERRORLOG_PROBE " '" + argument + "' 2>errors.txt";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe))
            output += buffer.data();
        pclose(pipe);
    }
    if (errors)
        *errors = ReadFile("errors.txt");
    return output;
}

TEST(ErrorLogTest, ThePathIsFixedFromTheEnvironmentAtStart) {
    TestSupport::tScratch scratch;
    EXPECT_EQ(RunProbe("TEMP=" + scratch.Path(), "hello"), scratch.Path() + "/Errors.log\n");
    EXPECT_EQ(ReadFile(scratch / "Errors.log"), "hello\n");
    EXPECT_EQ(RunProbe("", "here"), "./Errors.log\n");
    EXPECT_EQ(ReadFile(scratch / "Errors.log"), "here\n");
}

TEST(ErrorLogTest, AssumeLogsOneMessageNamingTheSourceAndCarriesOn) {
    TestSupport::tScratch scratch;
    std::string errors;
    RunProbe("TMP=" + scratch.Path(), "assume", &errors);
    const std::string message = "Assumption 'argc == 7' failed in file 'ErrorLogProbe' line 12\n";
    EXPECT_EQ(ReadFile(scratch / "Errors.log"), message + "\n");
    EXPECT_EQ(errors, message) << "a copy goes to the debugger output";
}

// The temporary folder is shared: whatever stands at the log's path that is not a regular file
// of ours is left alone, and nothing blocks.
TEST(ErrorLogTest, OnlyARegularFileOfOurOwnIsWritten) {
    TestSupport::tScratch scratch;
    const std::string log = scratch / "Errors.log", victim = scratch / "victim.txt";
    struct {
        const char* name;
        std::function<void()> plant;
    } const rows[] = {
        {"a link", [&] { ASSERT_EQ(symlink(victim.c_str(), log.c_str()), 0); }},
        {"a dangling link", [&] { ASSERT_EQ(symlink((scratch / "new").c_str(), log.c_str()), 0); }},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(log.c_str(), 0600), 0); }},
        {"a folder", [&] { ASSERT_EQ(mkdir(log.c_str(), 0700), 0); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(victim, "precious\n");
        row.plant();
        RunProbe("TMP=" + scratch.Path(), "lost"); // a pipe would block here for ever
        EXPECT_EQ(ReadFile(victim), "precious\n");
        EXPECT_FALSE(std::filesystem::exists(scratch / "new"));
        std::filesystem::remove(log);
    }
    RunProbe("TMP=" + scratch.Path(), "kept");
    struct stat info {};
    ASSERT_EQ(lstat(log.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << "the log is private";
    EXPECT_EQ(ReadFile(log), "kept\n");
}

} // namespace
