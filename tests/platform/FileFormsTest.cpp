// Data files as other editors and other situations leave them: other encodings and line ends,
// files that cannot be read, links, pipes, other owners.  Each case checks the bytes on disk
// after the operation and the cause reported.
#include "data/tDataFile.h"
#include "platform/AtomicFile.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

void Must(int result) {
    ASSERT_EQ(result, 0) << std::strerror(errno);
}

std::string Utf16(std::string_view ascii, bool bigEndian, bool mark = true) {
    std::string out = !mark ? "" : bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        out += bigEndian ? '\0' : c;
        out += bigEndian ? c : '\0';
    }
    return out;
}

class FileFormsTest : public testing::Test {
protected:
    TestSupport::tScratch m_Scratch;
    const std::string m_Path = m_Scratch / "Cal_Data/DataFile.txt";
    tDataFile m_Data;

    void SetUp() override { m_Data.SetFileName("Cal_Data\\DataFile.txt"); }

    std::vector<std::string> Names(int month, int day) {
        std::vector<std::string> names;
        std::string name, picture;
        for (int i = 0; m_Data.ReadEntry(month, day, i, name, picture); ++i)
            names.push_back(name + "=" + picture);
        return names;
    }

    // Runs body in a child process as an ordinary user (root reads and writes everything).
    void AsOrdinaryUser(const std::function<bool()>& body) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(2);
            _exit(body() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    void ShareWithOrdinaryUser() {
        if (geteuid() == 0)
            for (const std::string& path : {m_Scratch.Path(), m_Scratch / "Cal_Data"})
                chmod(path.c_str(), 0777);
    }
};

TEST_F(FileFormsTest, OtherEditorsFilesReadAsWrittenAndKeepTheirForm) {
    struct {
        const char* name;
        std::string before;
        std::vector<std::string> people; // of 24 December, as the program sees them
        std::string after;               // once Cy (female, picture 0) is added there
    } const rows[] = {
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF[24-12]\r\nZo\xC3\xAB=f002\r\n\xC5\x81ukasz=m003\r\n[settings]\r\n",
         {"Zo\xEB=f002", "?ukasz=m003"},
         "\xEF\xBB\xBF[24-12]\r\nZo\xC3\xAB=f002\r\n\xC5\x81ukasz=m003\r\nCy=f000\r\n"
         "[settings]\r\n"},
        {"UTF-8 without a mark",
         "[24-12]\nZo\xC3\xAB=f002\n",
         {"Zo\xEB=f002"},
         "[24-12]\nZo\xC3\xAB=f002\nCy=f000\n"},
        {"Windows-1252",
         "[24-12]\nZo\xEB=f002\n",
         {"Zo\xEB=f002"},
         "[24-12]\nZo\xEB=f002\nCy=f000\n"},
        {"UTF-16 little-endian",
         Utf16("[24-12]\r\nAnna=f002\r\n", false),
         {"Anna=f002"},
         Utf16("[24-12]\r\nAnna=f002\r\nCy=f000\r\n", false)},
        {"UTF-16 big-endian",
         Utf16("[24-12]\r\nAnna=f002\r\n", true),
         {"Anna=f002"},
         Utf16("[24-12]\r\nAnna=f002\r\nCy=f000\r\n", true)},
        {"UTF-16 little-endian without a mark",
         Utf16("[24-12]\r\nAnna=f002\r\n", false, false),
         {"Anna=f002"},
         Utf16("[24-12]\r\nAnna=f002\r\nCy=f000\r\n", false, false)},
        {"UTF-16 big-endian without a mark",
         Utf16("[24-12]\nAnna=f002\n", true, false),
         {"Anna=f002"},
         Utf16("[24-12]\nAnna=f002\nCy=f000\n", true, false)},
        {"UTF-16 with a character beyond 16 bits and a stray last byte",
         Utf16("[24-12]\r\n", false) + std::string("\x3D\xD8\x00\xDE", 4) +
             Utf16("=f002\r\n", false, false) + "\x07",
         {"?=f002"},
         Utf16("[24-12]\r\n", false) + std::string("\x3D\xD8\x00\xDE", 4) +
             Utf16("=f002\r\nCy=f000\r\n", false, false) + "\x07"},
        {"CR line ends",
         "[24-12]\rAnna=f002\rBob=m001\r",
         {"Anna=f002", "Bob=m001"},
         "[24-12]\rAnna=f002\rBob=m001\rCy=f000\r"},
        {"a lone CR",
         "[24-12]\nAnna=f002\rBob=m001\n",
         {"Anna=f002", "Bob=m001"},
         "[24-12]\nAnna=f002\rBob=m001\nCy=f000\n"},
        {"^Z, VT and FF as blanks",
         "[24-12]\n\f Anna\v=\x1a"
         "f002\x1a\n",
         {"Anna=f002"},
         "[24-12]\n\f Anna\v=\x1a"
         "f002\x1a\nCy=f000\n"},
        {"a first name beginning with #",
         "[24-12]\n#1 fan=m001\n",
         {"#1 fan=m001"},
         "[24-12]\n#1 fan=m001\nCy=f000\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(m_Path, row.before);
        EXPECT_EQ(Names(12, 24), row.people);
        ASSERT_TRUE(m_Data.WriteEntry(12, 24, "Cy", "f000"));
        EXPECT_EQ(ReadFile(m_Path), row.after);
        ASSERT_TRUE(m_Data.DeleteEntry(12, 24, "Cy"));
        EXPECT_EQ(ReadFile(m_Path), row.before) << "only the lines asked for change";
    }
}

TEST_F(FileFormsTest, AFileThatCannotBeReadWholeIsNeverWritten) {
    const std::string stored = "[24-12]\nAnna=f002\n[settings]\nnotify_days=5\n";
    WriteFile(m_Path, stored);
    TestSupport::InjectReadError(EIO);
    EXPECT_EQ(m_Data.ReadFault(), tFileFault::Unreadable);
    EXPECT_EQ(m_Data.CountEntries(12, 24), 0);
    EXPECT_FALSE(m_Data.WriteLastAlarmDate(CTime(2026, 6, 14, 10, 0, 0)));
    EXPECT_FALSE(m_Data.WriteEntry(12, 24, "Bob", "m001"));
    EXPECT_EQ(m_Data.LastFault(), tFileFault::Unreadable);
    TestSupport::InjectReadError(0);
    EXPECT_EQ(ReadFile(m_Path), stored);
    EXPECT_EQ(m_Data.ReadFault(), tFileFault::None);
    EXPECT_EQ(Names(12, 24), std::vector<std::string>{"Anna=f002"});

    // Write-only for its owner: readable by nobody but root.
    ShareWithOrdinaryUser();
    Must(chown(m_Path.c_str(), 65534, 65534));
    chmod(m_Path.c_str(), 0200);
    AsOrdinaryUser([&] {
        return m_Data.ReadFault() == tFileFault::Unreadable &&
               !m_Data.WriteEntry(12, 24, "Bob", "m001") &&
               m_Data.LastFault() == tFileFault::Unreadable;
    });
    chmod(m_Path.c_str(), 0600);
    EXPECT_EQ(ReadFile(m_Path), stored);
}

TEST_F(FileFormsTest, WhatStandsAtTheFilesPlace) {
    const std::string elsewhere = m_Scratch / "elsewhere.txt";
    struct {
        const char* name;
        std::function<void()> make;
        tFileFault fault;
        std::string target; // where the person lands, or empty
    } const rows[] = {
        {"a link",
         [&] { WriteFile(elsewhere, "[s]\n"), Must(symlink(elsewhere.c_str(), m_Path.c_str())); },
         tFileFault::None, elsewhere},
        {"a dangling link", [&] { Must(symlink(elsewhere.c_str(), m_Path.c_str())); },
         tFileFault::None, elsewhere},
        {"a relative link",
         [&] {
             WriteFile(m_Scratch / "Cal_Data/real.txt", ""),
                 Must(symlink("real.txt", m_Path.c_str()));
         },
         tFileFault::None, m_Scratch / "Cal_Data/real.txt"},
        {"a pipe", [&] { mkfifo(m_Path.c_str(), 0600); }, tFileFault::NotRegular, ""},
        {"a folder", [&] { mkdir(m_Path.c_str(), 0700); }, tFileFault::NotRegular, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(m_Path);
        std::filesystem::remove(elsewhere);
        row.make();
        EXPECT_EQ(m_Data.WriteEntry(12, 24, "Anna", "f002"), row.fault == tFileFault::None);
        EXPECT_EQ(m_Data.LastFault(), row.fault);
        if (!row.target.empty()) {
            EXPECT_NE(ReadFile(row.target).find("[24-12]\nAnna=f002\n"), std::string::npos);
            struct stat info {};
            lstat(m_Path.c_str(), &info);
            EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
        }
    }
    std::filesystem::remove_all(m_Path);
}

TEST_F(FileFormsTest, AFolderWithABackslashInItsNameKeepsIt) {
    const std::string odd = m_Scratch / "odd\\name";
    std::filesystem::create_directories(odd + "/Cal_Data");
    ASSERT_EQ(chdir(odd.c_str()), 0);
    tDataFile data;
    data.SetFileName("Cal_Data\\DataFile.txt");
    EXPECT_EQ(data.GetFileName(), odd + "/Cal_Data/DataFile.txt");
    ASSERT_TRUE(data.WriteEntry(3, 5, "Lena", "f011"));
    EXPECT_EQ(ReadFile(odd + "/Cal_Data/DataFile.txt"), "[05-03]\nLena=f011\n");
    EXPECT_FALSE(std::filesystem::exists(m_Scratch / "odd/name"));
    ASSERT_EQ(chdir(m_Scratch.Path().c_str()), 0);
}

TEST_F(FileFormsTest, AFileKeepsItsOwnerOrIsNotSaved) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to another user";
    WriteFile(m_Path, "[24-12]\nAnna=f002\n");
    ShareWithOrdinaryUser();
    Must(chown(m_Path.c_str(), 65534, 65534));
    ASSERT_TRUE(m_Data.WriteEntry(12, 24, "Bob", "m001"));
    struct stat info {};
    stat(m_Path.c_str(), &info);
    EXPECT_EQ(info.st_uid, 65534u) << "root saving a user's file leaves it the user's";

    // Another user allowed to write the file would become its owner: refused.
    Must(chown(m_Path.c_str(), 0, 0));
    chmod(m_Path.c_str(), 0666);
    AsOrdinaryUser([&] {
        return !m_Data.WriteEntry(12, 24, "Cy", "f000") && m_Data.LastFault() == tFileFault::Owner;
    });
    EXPECT_EQ(ReadFile(m_Path), "[24-12]\nAnna=f002\nBob=m001\n");
}

TEST_F(FileFormsTest, LeftoversOfKilledSavesGoAtStart) {
    WriteFile(m_Path, "[24-12]\nAnna=f002\n");
    for (const char* name : {".DataFile.txt.a1B2c3", ".DataFile.txt.zzzzzz", "DataFile.txt.keep1",
                             ".DataFile.txt.long-name"})
        WriteFile(m_Scratch / (std::string("Cal_Data/") + name), "[24-12]\nAnna=f002\n");
    m_Data.RemoveStaleSaves();
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(m_Scratch / "Cal_Data"))
        if (entry.path().filename().string().find("lock") == std::string::npos)
            left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".DataFile.txt.long-name", "DataFile.txt",
                                              "DataFile.txt.keep1"}));
}

} // namespace
