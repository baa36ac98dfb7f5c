// The sync of a data file with an address book on a real server, step by step as a phone
// changes the book and the user changes the data file: what the data file holds after each
// sync, against Radicale and Xandikos.
#include "addressbooks/tBookSync.h"
#include "tests/support/DavServer.h"
#include "tests/support/TestSupport.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sys/stat.h>

using TestSupport::tDavServer;

namespace {

QByteArray Card(const std::string& uid, const std::string& lines) {
    return QByteArray::fromStdString("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\n" + lines +
                                     "END:VCARD\r\n");
}

class BookSyncTest : public testing::TestWithParam<tDavServer::tKind> {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_Scratch.Path() + "/server");
        m_Server = std::make_unique<tDavServer>(GetParam(), m_Scratch.Path() + "/server");
        if (!m_Server->Problem().isEmpty())
            GTEST_SKIP() << m_Server->Problem().toStdString();
        m_Data.SetFileName("Cal_Data\\DataFile.txt");
        TestSupport::WriteFile("Cal_Data/DataFile.txt", "[settings]\r\nlanguage=1\r\n");
        tBookLinks links;
        tBookLinks::tBook book;
        book.m_Url = m_Server->Book().toString();
        book.m_User = m_Server->User();
        if (!m_Server->Password().isEmpty()) {
            book.m_PasswordFile = QStringLiteral("Cal_Data/password");
            std::ofstream(book.m_PasswordFile.toStdString()) << m_Server->Password().toStdString();
            chmod(book.m_PasswordFile.toStdString().c_str(), 0600);
        }
        links.m_Books.push_back(book);
        ASSERT_EQ(links.Save(kLinks), tFileFault::None);
    }

    tBookSync::tResult Sync() {
        tBookSync sync(m_Client, m_Data, kLinks, 12, 12);
        QEventLoop loop;
        std::optional<tBookSync::tResult> result;
        sync.Run([&](const tBookSync::tResult& given) {
            result = given;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (!result)
            loop.exec();
        return result.value_or(tBookSync::tResult{{}, 99, {"no end"}, 0});
    }

    // "Name dd-mm picture-letter" for everybody in the data file.
    std::set<std::string> People() {
        std::set<std::string> people;
        for (const tDataFile::tEntry& person : m_Data.ReadAllEntries()) {
            char day[8];
            std::snprintf(day, sizeof day, "%02d-%02d", person.m_Day, person.m_Month);
            people.insert(person.ShownName() + " " + day + " " + person.m_Picture.substr(0, 1));
        }
        return people;
    }

    const std::string kLinks = "Cal_Data/AddressBooks.json";
    TestSupport::tScratch m_Scratch{TestSupport::tScratch::tContent::InstallationData};
    std::unique_ptr<tDavServer> m_Server;
    tDavClient m_Client;
    tDataFile m_Data;
};

TEST_P(BookSyncTest, EveryChangeOnEitherSideFollows) {
    const auto put = [&](const char* name, const std::string& lines) {
        ASSERT_EQ(m_Server->Put(QString(name) + ".vcf", Card(name, lines)) / 100, 2) << name;
    };
    struct tStep {
        const char* m_What;
        std::function<void()> m_Do;
        std::set<std::string> m_People;
        int m_Waiting = 0;
    };
    const std::vector<tStep> steps = {
        {"the first sync",
         [&] {
             put("anna", "FN:Anna Berg\r\nBDAY:--1224\r\nGENDER:F\r\n");
             put("ben", "FN:Ben Ek\r\nBDAY:1980-02-29\r\nX-GENDER:Male\r\n");
             put("carl", "FN:Carl Dahl\r\nGENDER:M\r\n");
             put("dora", "FN:Dora\r\nBDAY;VALUE=text:circa 1980\r\nGENDER:F\r\n");
             put("eva", "FN:Eva Lund\r\nBDAY:19900505\r\n");
             put("ida", "FN:Ida Holm\r\nN:Holm;Ida;;;\r\nBDAY;X-APPLE-OMIT-YEAR=1604:1604-07-01\r\n"
                        "GENDER:F\r\n");
         },
         {"Anna Berg 24-12 f", "Ben Ek 29-02 m", "Ida Holm 01-07 f"},
         1},
        {"a rename",
         [&] { put("anna", "FN:Anna Lind\r\nBDAY:--1224\r\nGENDER:F\r\n"); },
         {"Anna Lind 24-12 f", "Ben Ek 29-02 m", "Ida Holm 01-07 f"},
         1},
        {"a moved birthday",
         [&] { put("ben", "FN:Ben Ek\r\nBDAY:1980-03-01\r\nGENDER:M\r\n"); },
         {"Anna Lind 24-12 f", "Ben Ek 01-03 m", "Ida Holm 01-07 f"},
         1},
        {"a removed birthday",
         [&] { put("anna", "FN:Anna Lind\r\nGENDER:F\r\n"); },
         {"Ben Ek 01-03 m", "Ida Holm 01-07 f"},
         1},
        {"a deleted contact",
         [&] { ASSERT_EQ(m_Server->Delete("ben.vcf") / 100, 2); },
         {"Ida Holm 01-07 f"},
         1},
        {"a card of someone typed by hand",
         [&] {
             std::vector<tDataFile::tAdded> added;
             ASSERT_TRUE(m_Data.AddEntries({{6, 5, "fia holm", "f002", ""}}, added));
             put("fia", "FN:Fia Holm\r\nBDAY:--0605\r\nGENDER:F\r\n");
         },
         {"Ida Holm 01-07 f", "fia holm 05-06 f"},
         1},
        {"someone removed in Zembrola stays out",
         [&] {
             tDataFile::tEntry ida = m_Data.ReadEntries(7, 1).at(0);
             ASSERT_TRUE(m_Data.DeleteEntry(ida));
         },
         {"fia holm 05-06 f"},
         1},
        {"and stays out when the card changes",
         [&] { put("ida", "FN:Ida Holm\r\nBDAY:--0701\r\nTEL:123\r\nGENDER:F\r\n"); },
         {"fia holm 05-06 f"},
         1},
        {"a token the server forgot",
         [&] {
             tBookLinks links;
             ASSERT_TRUE(links.Load(kLinks));
             links.m_Books[0].m_SyncToken = "http://example.com/forgotten/1";
             ASSERT_EQ(links.Save(kLinks), tFileFault::None);
             put("gus", "FN:Gus Berg\r\nBDAY:--0909\r\nGENDER:M\r\n");
         },
         {"Gus Berg 09-09 m", "fia holm 05-06 f"},
         1},
    };
    for (const tStep& step : steps) {
        SCOPED_TRACE(step.m_What);
        step.m_Do();
        const tBookSync::tResult result = Sync();
        EXPECT_EQ(result.m_Failed, 0) << (result.m_Problems.empty() ? "" : result.m_Problems[0]);
        EXPECT_EQ(People(), step.m_People);
        EXPECT_EQ(result.m_Waiting, step.m_Waiting);
    }
    // A second sync with nothing changed changes nothing.
    const std::string before = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    EXPECT_TRUE(Sync().m_Changes.empty());
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"), before);
}

TEST_P(BookSyncTest, AFailedSyncChangesNothing) {
    ASSERT_EQ(
        m_Server->Put("anna.vcf", Card("anna", "FN:Anna\r\nBDAY:--0101\r\nGENDER:F\r\n")) / 100, 2);
    tBookLinks links;
    ASSERT_TRUE(links.Load(kLinks));
    if (GetParam() == tDavServer::kRadicale)
        std::ofstream(links.m_Books[0].m_PasswordFile.toStdString()) << "wrong";
    else
        links.m_Books[0].m_Url = m_Server->Root().resolved(QUrl("/nobody/nothing/")).toString();
    ASSERT_EQ(links.Save(kLinks), tFileFault::None);
    const std::string data = TestSupport::ReadFile("Cal_Data/DataFile.txt");
    const tBookSync::tResult result = Sync();
    EXPECT_EQ(result.m_Failed, 1);
    ASSERT_EQ(result.m_Problems.size(), 1u);
    EXPECT_EQ(TestSupport::ReadFile("Cal_Data/DataFile.txt"), data);
    ASSERT_TRUE(links.Load(kLinks));
    EXPECT_FALSE(links.m_Books[0].m_Problem.isEmpty());
    EXPECT_TRUE(links.m_Books[0].m_Contacts.empty());
}

INSTANTIATE_TEST_SUITE_P(Servers, BookSyncTest,
                         testing::Values(tDavServer::kRadicale, tDavServer::kXandikos),
                         [](const auto& info) {
                             return info.param == tDavServer::kRadicale ? "Radicale" : "Xandikos";
                         });

} // namespace
