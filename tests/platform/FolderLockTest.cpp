// The save lock: one holder per folder, the folder being the file's own, whatever way the
// file is named.
#include "platform/FolderLock.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FolderLockTest, TheLockIsTheFilesFoldersAndOnlyThat) {
    TestSupport::tScratch scratch;
    std::filesystem::create_directories("one/two");
    const struct {
        std::string m_File;
        const char* m_Folder; // where the lock file is made
    } rows[] = {
        {"DataFile.txt", "."},
        {"one/DataFile.txt", "one"},
        {"one/two/DataFile.txt", "one/two"},
        {scratch / "one/DataFile.txt", "one"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_File);
        const FolderLock held(row.m_File);
        ASSERT_EQ(held.Fault(), tFileFault::None);
        EXPECT_TRUE(
            std::filesystem::exists(std::string(row.m_Folder) + "/" + FolderLock::kSaveLockName));
        // flock locks are per open file: a second open in this process must wait too.
        EXPECT_EQ(FolderLock(std::string(row.m_Folder) + "/other.txt", 20).Fault(),
                  tFileFault::Busy);
        for (const char* other : {".", "one", "one/two"}) {
            if (std::string(other) != row.m_Folder) {
                EXPECT_EQ(FolderLock(std::string(other) + "/x", 20).Fault(), tFileFault::None)
                    << other;
            }
        }
    }
    EXPECT_EQ(FolderLock("missing/DataFile.txt", 20).Fault(), tFileFault::NoFolder);
}

} // namespace
