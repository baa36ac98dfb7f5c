#include "data/tDataFile.h"
#include "tests/support/TestSupport.h"

#include <sys/stat.h>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

class DataFileTest : public testing::Test {
protected:
    void SetUp() override { m_Data.SetFileName("Cal_Data\\DataFile.txt"); }
    void Write(std::string_view contents) {
        WriteFile(m_Scratch / "Cal_Data/DataFile.txt", contents);
    }
    std::string Contents() { return ReadFile(m_Scratch / "Cal_Data/DataFile.txt"); }

    TestSupport::tScratch m_Scratch;
    tDataFile m_Data;
};

TEST_F(DataFileTest, TheFileIsBoundToTheCurrentDirectoryOnce) {
    EXPECT_EQ(m_Data.GetFileName(), m_Scratch.Path() + "/Cal_Data/DataFile.txt");
    tDataFile drive;
    drive.SetFileName("C:\\Data\\DataFile.txt");
    EXPECT_EQ(drive.GetFileName(), "C:\\Data\\DataFile.txt");
    ASSERT_TRUE(m_Data.WriteEntry(3, 5, "Lena", "f011"));
    TestSupport::tScratch elsewhere;
    EXPECT_EQ(m_Data.CountEntries(3, 5), 1) << "a later change of directory does not move the file";
}

TEST_F(DataFileTest, CountingAndReadingEntries) {
    Write("[24-12]\nAnna=f002\nPeter=m000\n[05-03]\n[01-01]\n#Hash=m001\nAfter=f001\n");
    EXPECT_EQ(m_Data.CountEntries(12, 24), 2);
    EXPECT_EQ(m_Data.CountEntries(3, 5), 0) << "a section without keys";
    EXPECT_EQ(m_Data.CountEntries(1, 1), 2) << "a name beginning with # is a person too";
    EXPECT_EQ(m_Data.CountEntries(7, 7), 0);

    std::string name = "untouched", picture = "untouched";
    for (int index : {-1, 2}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(m_Data.ReadEntry(12, 24, index, name, picture));
        EXPECT_EQ(name, "untouched");
        EXPECT_EQ(picture, "untouched");
    }
    EXPECT_TRUE(m_Data.ReadEntry(12, 24, 1, name, picture));
    EXPECT_EQ(name, "Peter");
    EXPECT_EQ(picture, "m000");
}

TEST_F(DataFileTest, TheKeyListIsLimitedTo1000Bytes) {
    // 20 names of 49 bytes take 1000 bytes with their NULs: the 20th is cut by one byte.
    std::string file = "[01-02]\n";
    for (int i = 0; i < 22; ++i)
        file += std::string(46, 'a' + i) + std::to_string(100 + i) + "=f00" +
                std::to_string(i % 10) + "\n";
    Write(file);
    EXPECT_EQ(m_Data.CountEntries(2, 1), 20);
    std::string name, picture;
    ASSERT_TRUE(m_Data.ReadEntry(2, 1, 19, name, picture));
    EXPECT_EQ(name, std::string(46, 'a' + 19) + "11");
    EXPECT_EQ(picture, "f009") << "the person whose name is cut keeps its own picture";
    ASSERT_TRUE(m_Data.ReadEntry(2, 1, 18, name, picture));
    EXPECT_EQ(picture, "f008");
    // Adding in one save counts the names the day holds: no room for even a short one.
    std::vector<tDataFile::tAdded> added;
    ASSERT_TRUE(m_Data.AddEntries({{2, 1, "Al", "m001", {}}, {2, 2, "Al", "m001", {}}}, added));
    EXPECT_EQ(added, (std::vector<tDataFile::tAdded>{tDataFile::tAdded::DayFull,
                                                     tDataFile::tAdded::Added}));
    // A day the grid has not (31 April) is not the window's, nor anyone's to find or export.
    Write("[31-04]\nGhost=m001\n[30-04]\nReal=f001\n");
    ASSERT_EQ(m_Data.ReadAllEntries().size(), 1u);
    EXPECT_EQ(m_Data.ReadAllEntries()[0].m_Name, "Real");
}

// A file's form is decided by what it holds: a name whose code-page bytes would make a plain
// file read as UTF-8 is refused, and the rest of the file reads as before.
TEST_F(DataFileTest, AWriteNeverChangesHowTheFileReads) {
    const std::string plain = "[14-06]\nAnna=f001\n";
    const std::string mojibake = "\xC3\xA9ric"; // "Ã©ric" in Windows-1252
    Write(plain);
    std::vector<tDataFile::tAdded> added;
    ASSERT_TRUE(
        m_Data.AddEntries({{3, 1, mojibake, "m001", {}}, {3, 1, "Eric", "m002", {}}}, added));
    EXPECT_EQ(added, (std::vector<tDataFile::tAdded>{tDataFile::tAdded::NotStorable,
                                                     tDataFile::tAdded::Added}));
    EXPECT_FALSE(m_Data.WriteEntry(3, 2, mojibake, "m001"));
    EXPECT_EQ(ReadFile("Cal_Data/DataFile.txt"), plain + "[01-03]\nEric=m002\n");
    // In a file already of the code page's own (a "\xE9" that is no UTF-8), it is a name.
    Write("[14-06]\nRen\xE9=m001\n");
    EXPECT_TRUE(m_Data.WriteEntry(3, 2, mojibake, "m001"));
    std::string name, picture;
    ASSERT_TRUE(m_Data.ReadEntry(6, 14, 0, name, picture));
    EXPECT_EQ(name, "Ren\xE9");
}

TEST_F(DataFileTest, WritingReplacesInPlaceAndAppendsNewPeople) {
    ASSERT_TRUE(m_Data.WriteEntry(12, 24, "Anna", "f002"));
    ASSERT_TRUE(m_Data.WriteEntry(12, 24, "Peter", "m000"));
    ASSERT_TRUE(m_Data.WriteEntry(3, 5, "Lena", "f011"));
    ASSERT_TRUE(m_Data.WriteEntry(12, 24, "anna", "f007"));
    EXPECT_EQ(Contents(), "[24-12]\nAnna=f007\nPeter=m000\n[05-03]\nLena=f011\n");
    struct stat info {};
    stat((m_Scratch / "Cal_Data/DataFile.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "personal data is private to its owner";
}

TEST_F(DataFileTest, DeletingRemovesTheEmptiedSection) {
    Write("[24-12]\nAnna=f002\nPeter=m000\n[05-03]\nLena=f011\n");
    EXPECT_TRUE(m_Data.DeleteEntry(12, 24, "PETER"));
    EXPECT_TRUE(m_Data.DeleteEntry(12, 24, "Nobody"));
    EXPECT_EQ(Contents(), "[24-12]\nAnna=f002\n[05-03]\nLena=f011\n");
    EXPECT_TRUE(m_Data.DeleteEntry(12, 24, "Anna"));
    EXPECT_EQ(Contents(), "[05-03]\nLena=f011\n");
}

// A change together with a file of the caller's: the check before the save can stop it, and
// the caller's file is written only once this one is on disk.
TEST_F(DataFileTest, AChangeWithAFileOfTheCallersSavesThisOneFirst) {
    Write("[24-12]\nAnna=f002\n");
    std::vector<tDataFile::tAdded> added;
    const std::vector<tDataFile::tEntry> removals{{12, 24, "Anna", "f002", "Anna"}};
    const std::vector<tDataFile::tEntry> additions{{3, 5, "Lena", "f011", {}}};
    EXPECT_FALSE(m_Data.ChangeEntries(removals, additions, added, [] { return false; }));
    EXPECT_EQ(Contents(), "[24-12]\nAnna=f002\n") << "stopped before the save";
    std::string seen;
    EXPECT_TRUE(m_Data.ChangeEntries(
        removals, additions, added, [] { return true; },
        [&] {
            seen = Contents();
            return true;
        }));
    EXPECT_EQ(seen, "[05-03]\nLena=f011\n");
    EXPECT_FALSE(m_Data.ChangeEntries({}, {{4, 4, "Ida", "f001", {}}}, added, {}, [] {
        return false;
    })) << "the caller's file failed";
    EXPECT_EQ(Contents(), "[05-03]\nLena=f011\n[04-04]\nIda=f001\n");
}

TEST_F(DataFileTest, WithoutTheFolderNothingCountsAndNothingIsWritten) {
    TestSupport::tScratch empty(TestSupport::tScratch::tContent::Empty);
    tDataFile data;
    data.SetFileName("Cal_Data\\DataFile.txt");
    EXPECT_EQ(data.CountEntries(12, 24), 0);
    EXPECT_FALSE(data.WriteEntry(12, 24, "Anna", "f002"));
    EXPECT_FALSE(data.DeleteEntry(12, 24, "Anna"));
    EXPECT_FALSE(data.WriteNotifyDays(4));
}

} // namespace
