// The address books from a terminal, against a real server: subscribe, sync, list, end.
#include "addressbooks/tBookLinks.h"
#include "data/tDataFile.h"
#include "tests/support/DavServer.h"
#include "tests/support/SecretStore.h"
#include "tests/support/TerminalRun.h"
#include "tests/support/TestSupport.h"

#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using TestSupport::tDavServer;
using TestSupport::tSecretStore;
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
    std::ofstream("password") << server.Password().toStdString() << "\n";

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

// The program itself, with stdin and an environment of the test's: where the secret store is
// is the environment's business, not the process's.
tTerminalRun Program(const QStringList& arguments, const QProcessEnvironment& environment,
                     const QByteArray& in = {}) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(std::getenv("ZEMBROLA_PROGRAM"), arguments);
    program.write(in);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000))
        program.kill();
    program.waitForFinished(5000);
    return {program.exitCode(), program.readAllStandardOutput().toStdString(),
            program.readAllStandardError().toStdString()};
}

TEST(BookCommandsTest, APasswordIsKeptInTheSecretStoreAndNowhereElse) {
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    ASSERT_NE(std::getenv("ZEMBROLA_PROGRAM"), nullptr);
    std::filesystem::create_directory("server");
    std::filesystem::create_directory("store");
    tDavServer server(tDavServer::kRadicale, scratch.Path() + "/server");
    if (!server.Problem().isEmpty())
        GTEST_SKIP() << server.Problem().toStdString();
    tSecretStore store(scratch.Path() + "/store");
    if (store.Problem().contains("not installed"))
        GTEST_SKIP() << store.Problem().toStdString();
    ASSERT_TRUE(store.Problem().isEmpty()) << store.Problem().toStdString();
    ASSERT_EQ(server.Put("anna.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:anna\r\nFN:Anna Berg\r\n"
                                     "BDAY:--1224\r\nGENDER:F\r\nEND:VCARD\r\n") /
                  100,
              2);
    // A desktop without a secret store: a bus where nothing listens, no display to start one.
    QProcessEnvironment none = store.Environment();
    none.insert("DBUS_SESSION_BUS_ADDRESS",
                QString::fromStdString("unix:path=" + scratch.Path() + "/no-bus"));
    none.remove("DISPLAY");
    const QStringList add{"--add-book", server.Root().toString(), "--user", "anna",
                          "--password-stdin"};

    const tTerminalRun refused = Program(add, none, server.Password().toUtf8() + "\n");
    EXPECT_EQ(refused.m_Status, 1);
    EXPECT_NE(refused.m_Err.find("no secret store runs"), std::string::npos) << refused.m_Err;
    EXPECT_EQ(Program({"--books"}, none).m_Out, "No address book is subscribed.\n");
    EXPECT_EQ(Program({"--add-book", server.Root().toString(), "--user", "anna"}, none).m_Status, 1)
        << "a user without a password is refused before anything is asked";

    const tTerminalRun kept = Program(add, store.Environment(), server.Password().toUtf8() + "\n");
    ASSERT_EQ(kept.m_Status, 0) << kept.m_Err;
    const tTerminalRun sync = Program({"--sync"}, store.Environment());
    EXPECT_EQ(sync.m_Status, 0) << sync.m_Err;
    EXPECT_EQ(sync.m_Out, "Anna Berg\tDecember 24\tadded\n"
                          "1 changes; 0 address books could not be synced.\n");
    for (QDirIterator file("Cal_Data", QDir::Files, QDirIterator::Subdirectories); file.hasNext();)
        EXPECT_EQ(TestSupport::ReadFile(file.next().toStdString()).find(server.Password().toStdString()),
                  std::string::npos)
            << file.filePath().toStdString() << " holds the password";

    const std::string before = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    const tTerminalRun locked = Program({"--sync"}, none);
    EXPECT_EQ(locked.m_Status, 1) << "a book whose password cannot be had is not synced";
    EXPECT_NE(locked.m_Err.find("no secret store runs"), std::string::npos) << locked.m_Err;
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"), before);

    // Ending the subscription forgets the password: the same book subscribed again by hand
    // finds none.
    ASSERT_EQ(Program({"--remove-book", server.Book().toString()}, store.Environment()).m_Status,
              0);
    ASSERT_EQ(tBookLinks::Change("Cal_Data/AddressBooks.json",
                                 [&](tBookLinks& links) {
                                     links.m_Books.push_back({});
                                     links.m_Books.back().m_Url = server.Book().toString();
                                     links.m_Books.back().m_User = "anna";
                                     return true;
                                 }),
              tFileFault::None);
    const tTerminalRun forgotten = Program({"--sync"}, store.Environment());
    EXPECT_EQ(forgotten.m_Status, 1);
    EXPECT_NE(forgotten.m_Err.find("keeps no password for anna"), std::string::npos)
        << forgotten.m_Err;
}

TEST(BookCommandsTest, AnUnknownCertificateIsTrustedOnlyByItsFingerprint) {
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    std::filesystem::create_directory("server");
    tDavServer server(tDavServer::kRadicale, scratch.Path() + "/server", /*tls=*/true);
    if (!server.Problem().isEmpty())
        GTEST_SKIP() << server.Problem().toStdString();
    ASSERT_EQ(server.Put("anna.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:anna\r\nFN:Anna Berg\r\n"
                                     "BDAY:--1224\r\nGENDER:F\r\nEND:VCARD\r\n") /
                  100,
              2);
    std::ofstream("password") << server.Password().toStdString() << "\n";
    chmod("password", 0600);
    const std::vector<std::string> add{"--add-book",      server.Root().toString().toStdString(),
                                       "--user",          "anna",
                                       "--password-file", "password"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> all = add;
        all.insert(all.end(), more.begin(), more.end());
        return Zembrola(all);
    };
    const std::string fingerprint = server.Fingerprint().toStdString();
    ASSERT_EQ(fingerprint.size(), 95u) << fingerprint;

    const tTerminalRun unknown = with({});
    EXPECT_EQ(unknown.m_Status, 1);
    EXPECT_NE(unknown.m_Err.find("is not trusted (SHA-256 " + fingerprint + ")"), std::string::npos)
        << unknown.m_Err;
    std::string other = fingerprint;
    other.replace(0, 2, other.substr(0, 2) == "00" ? "11" : "00");
    EXPECT_EQ(with({"--trust-fingerprint", other}).m_Status, 1) << "another certificate's";
    EXPECT_EQ(Zembrola({"--books"}).m_Out, "No address book is subscribed.\n");

    // Typed as people copy it: lower case.
    std::string typed = fingerprint;
    std::transform(typed.begin(), typed.end(), typed.begin(), ::tolower);
    const tTerminalRun trusted = with({"--trust-fingerprint", typed});
    ASSERT_EQ(trusted.m_Status, 0) << trusted.m_Err;
    const tTerminalRun sync = Zembrola({"--sync"});
    EXPECT_EQ(sync.m_Status, 0) << sync.m_Err;
    EXPECT_EQ(sync.m_Out, "Anna Berg\tDecember 24\tadded\n"
                          "1 changes; 0 address books could not be synced.\n");
}

} // namespace
