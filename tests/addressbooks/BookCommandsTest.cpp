// The address books from a terminal, against a real server: subscribe, sync, list, end.
#include "data/tDataFile.h"
#include "tests/support/DavServer.h"
#include "tests/support/TerminalRun.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using TestSupport::tDavServer;
using TestSupport::tTerminalRun;
using TestSupport::Zembrola;

namespace {

TEST(BookCommandsTest, SubscribeSyncListAndEnd) {
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    std::filesystem::create_directory("server");
    tDavServer server(tDavServer::kRadicale, scratch.Path() + "/server");
    if (!server.Problem().isEmpty())
        GTEST_SKIP() << server.Problem().toStdString();
    ASSERT_EQ(server.Put("anna.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:anna\r\nFN:Anna Berg\r\n"
                                     "BDAY:--1224\r\nEND:VCARD\r\n") /
                  100,
              2);
    std::ofstream("password") << "secret\n";

    const tTerminalRun open = Zembrola({"--add-book", server.Root().toString().toStdString(),
                                        "--user", "anna", "--password-file", "password"});
    EXPECT_EQ(open.m_Status, 1) << "a password file others may read is refused";
    EXPECT_NE(open.m_Err.find("chmod 600"), std::string::npos) << open.m_Err;
    chmod("password", 0600);

    const tTerminalRun add =
        Zembrola({"--add-book", server.Root().toString().toStdString(), "--user", "anna",
                  "--password-file", "password", "--gender", "f", "--write"});
    ASSERT_EQ(add.m_Status, 0) << add.m_Err;
    EXPECT_EQ(add.m_Out, "Subscribed: " + server.Book().toString().toStdString() + " (Contacts)\n");

    const tTerminalRun sync = Zembrola({"--sync"});
    EXPECT_EQ(sync.m_Status, 0) << sync.m_Err;
    EXPECT_EQ(sync.m_Out, "Anna Berg\tDecember 24\tadded\n"
                          "1 changes; 0 address books could not be synced.\n");
    const std::string data = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    EXPECT_LT(data.find("[24-12]"), data.find("Anna Berg=f")) << data;

    // Typed into the data file by hand: a new card in the book.
    tDataFile file;
    file.SetFileName("Cal_Data\\DataFile.txt");
    std::vector<tDataFile::tAdded> added;
    ASSERT_TRUE(file.AddEntries({{5, 5, "Nils Holm", "m001", ""}}, added));
    const tTerminalRun write = Zembrola({"--sync"});
    EXPECT_EQ(write.m_Out, "Nils Holm\tMay 5\twritten to the address book\n"
                           "1 changes; 0 address books could not be synced.\n");
    EXPECT_EQ(Zembrola({"--sync"}).m_Out, "0 changes; 0 address books could not be synced.\n");

    const tTerminalRun books = Zembrola({"--books"});
    EXPECT_EQ(books.m_Out.rfind(server.Book().toString().toStdString() + "\t20", 0), 0u)
        << books.m_Out;

    EXPECT_EQ(Zembrola({"--sync", "--user", "anna"}).m_Status, 2) << "--user belongs to --add-book";
    EXPECT_EQ(Zembrola({"--sync", "--books"}).m_Status, 2);
    EXPECT_EQ(Zembrola({"--sync", "--write"}).m_Status, 2) << "--write belongs to --add-book";
    EXPECT_EQ(Zembrola({"--remove-book", server.Book().toString().toStdString()}).m_Status, 0);
    EXPECT_EQ(Zembrola({"--books"}).m_Out, "No address book is subscribed.\n");
    EXPECT_NE(TestSupport::ReadFile("Cal_Data/DataFile.txt").find("Anna Berg"), std::string::npos)
        << "the people stay";
}

} // namespace
