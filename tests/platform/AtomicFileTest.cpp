#include "platform/AtomicFile.h"
#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

int CountEntries(const std::string& directory) {
    int count = 0;
    if (DIR* dir = opendir(directory.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.' || entry->d_name[1] == 'D')
                ++count; // "." and ".." do not count, a leftover ".DataFile..." would
        closedir(dir);
    }
    return count;
}

class AtomicFileTest : public testing::Test {
protected:
    TestSupport::tScratch m_Scratch;
    const std::string m_Folder = m_Scratch / "Cal_Data";
    const std::string m_File = m_Scratch / "Cal_Data/DataFile.txt";
};

TEST_F(AtomicFileTest, NewFilesArePrivateExistingFilesKeepTheirMode) {
    ASSERT_EQ(AtomicFile::Replace(m_File, "one"), tFileFault::None);
    EXPECT_EQ(ModeOf(m_File), 0600u);
    chmod(m_File.c_str(), 0640);
    ASSERT_EQ(AtomicFile::Replace(m_File, "two"), tFileFault::None);
    EXPECT_EQ(ReadFile(m_File), "two");
    EXPECT_EQ(ModeOf(m_File), 0640u);
    EXPECT_EQ(CountEntries(m_Folder), 1) << "no temporary file may be left behind";
}

TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileWhole) {
    const std::string old = "[s]\nold=" + std::string(5000, 'o') + "\n";
    WriteFile(m_File, old);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The file size limit makes every write beyond 4 KiB fail as on a full disk.
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool written =
            WritePrivateProfileString("s", "new", std::string(90, 'n').c_str(), m_File.c_str());
        _exit(written ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write must report its failure";
    EXPECT_EQ(ReadFile(m_File), old);
    EXPECT_EQ(CountEntries(m_Folder), 1);
}

} // namespace
