// The address-book protocol against the real servers people run (Radicale, Xandikos), started
// on this computer: finding the books from what a user types, listing and fetching the cards,
// and following the changes a phone makes through the sync report.
#include "addressbooks/tBookDiscovery.h"
#include "addressbooks/tDavClient.h"
#include "addressbooks/tDavMultiStatus.h"
#include "tests/support/DavServer.h"
#include "tests/support/TestSupport.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using TestSupport::tDavServer;

namespace {

const QByteArray kSyncReport = R"(<?xml version="1.0" encoding="utf-8"?>
<d:sync-collection xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav">
<d:sync-token>%1</d:sync-token><d:sync-level>1</d:sync-level>
<d:prop><d:getetag/></d:prop></d:sync-collection>)";

const QByteArray kMultiget = R"(<?xml version="1.0" encoding="utf-8"?>
<c:addressbook-multiget xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav">
<d:prop><d:getetag/><c:address-data/></d:prop>%1</c:addressbook-multiget>)";

QByteArray Card(const char* uid, const char* name, const char* birthday) {
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + "\r\nFN:" + name + "\r\nN:;" +
           name + ";;;\r\nBDAY:" + birthday + "\r\nEND:VCARD\r\n";
}

// Runs the event loop until done has been called.
template <typename tAnswer, typename tStart>
tAnswer Wait(tStart start) {
    QEventLoop loop;
    std::optional<tAnswer> answer;
    start([&](const tAnswer& given) {
        answer = given;
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    if (!answer)
        loop.exec();
    return answer.value_or(tAnswer{});
}

class DavClientTest : public testing::TestWithParam<tDavServer::tKind> {
protected:
    void SetUp() override {
        m_Server = std::make_unique<tDavServer>(GetParam(), m_Scratch.Path());
        if (!m_Server->Problem().isEmpty())
            GTEST_SKIP() << m_Server->Problem().toStdString();
        m_Client.SetCredentials(m_Server->User(), m_Server->Password());
    }

    tDavMultiStatus Sync(const QString& token) {
        const auto reply = Wait<tDavClient::tReply>([&](auto done) {
            m_Client.Report(m_Server->Book(), "1",
                            QString::fromUtf8(kSyncReport).arg(token).toUtf8(), done);
        });
        EXPECT_EQ(reply.m_Status, 207) << reply.m_Body.toStdString();
        return tDavMultiStatus::Parse(reply.m_Body).value_or(tDavMultiStatus{});
    }

    TestSupport::tScratch m_Scratch;
    std::unique_ptr<tDavServer> m_Server;
    tDavClient m_Client;
};

TEST_P(DavClientTest, FindsTheBookFromWhatAUserTypes) {
    const struct {
        const char* m_What;
        QUrl m_Url;
    } rows[] = {
        {"the server", m_Server->Root()},
        {"the server without its slash", QUrl(m_Server->Root().toString().chopped(1))},
        {"the book itself", m_Server->Book()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_What);
        const auto found = Wait<tBookDiscovery::tFound>(
            [&](auto done) { tBookDiscovery::Find(m_Client, row.m_Url, done); });
        ASSERT_EQ(found.m_Books.size(), 1u) << found.m_Error.toStdString();
        EXPECT_EQ(found.m_Books[0].m_Url, m_Server->Book());
        EXPECT_TRUE(found.m_Books[0].m_SupportsSync);
    }
}

TEST_P(DavClientTest, AWrongPasswordOrPlainHttpToAnotherHostIsSaidAndNothingMore) {
    if (GetParam() == tDavServer::kRadicale) {
        m_Client.SetCredentials("anna", "wrong");
        const auto found = Wait<tBookDiscovery::tFound>(
            [&](auto done) { tBookDiscovery::Find(m_Client, m_Server->Root(), done); });
        EXPECT_TRUE(found.m_Books.empty());
        EXPECT_NE(found.m_Error.indexOf("password"), -1) << found.m_Error.toStdString();
    }
    m_Client.SetCredentials("anna", m_Server->Password());
    const auto reply = Wait<tDavClient::tReply>(
        [&](auto done) { m_Client.Propfind(QUrl("http://example.invalid/dav/"), "0", {}, done); });
    EXPECT_EQ(reply.m_Status, 0);
    EXPECT_NE(reply.m_Error.indexOf("https"), -1) << reply.m_Error.toStdString();
}

TEST_P(DavClientTest, FollowsWhatAPhoneChangesThroughTheSyncReport) {
    const tDavMultiStatus empty = Sync("");
    ASSERT_FALSE(empty.m_SyncToken.isEmpty());
    EXPECT_TRUE(empty.m_Resources.empty());

    ASSERT_EQ(m_Server->Put("anna.vcf", Card("anna-1", "Anna Berg", "--1224")), 201);
    ASSERT_EQ(m_Server->Put("ben.vcf", Card("ben-1", "Ben Ek", "1980-02-29")), 201);
    const tDavMultiStatus added = Sync(empty.m_SyncToken);
    ASSERT_EQ(added.m_Resources.size(), 2u);
    for (const auto& resource : added.m_Resources)
        EXPECT_FALSE(resource.m_ETag.isEmpty()) << resource.m_Href.toStdString();

    // What changed, fetched in one request.
    QByteArray hrefs;
    for (const auto& resource : added.m_Resources)
        hrefs += "<d:href>" + resource.m_Href.toUtf8() + "</d:href>";
    const auto fetched = Wait<tDavClient::tReply>([&](auto done) {
        m_Client.Report(m_Server->Book(), "1", QString::fromUtf8(kMultiget).arg(hrefs).toUtf8(),
                        done);
    });
    ASSERT_EQ(fetched.m_Status, 207);
    const auto cards = tDavMultiStatus::Parse(fetched.m_Body);
    ASSERT_TRUE(cards);
    ASSERT_EQ(cards->m_Resources.size(), 2u);
    QString both;
    for (const auto& card : cards->m_Resources)
        both += card.m_AddressData;
    EXPECT_NE(both.indexOf("FN:Anna Berg"), -1);
    EXPECT_NE(both.indexOf("BDAY:1980-02-29"), -1);

    // A deletion shows as a resource that is gone; nothing else changed.
    ASSERT_EQ(m_Server->Delete("ben.vcf") / 100, 2);
    const tDavMultiStatus deleted = Sync(added.m_SyncToken);
    ASSERT_EQ(deleted.m_Resources.size(), 1u);
    EXPECT_EQ(deleted.m_Resources[0].m_Status, 404);
    EXPECT_TRUE(deleted.m_Resources[0].m_Href.endsWith("ben.vcf"));
}

TEST_P(DavClientTest, AStaleTokenIsRefused) {
    const auto reply = Wait<tDavClient::tReply>([&](auto done) {
        m_Client.Report(
            m_Server->Book(), "1",
            QString::fromUtf8(kSyncReport).arg("http://radicale.org/ns/sync/0000deadbeef").toUtf8(),
            done);
    });
    // Radicale says 403 (valid-sync-token), Xandikos 500: either way no changes come, and the
    // sync falls back to comparing every card's ETag.
    EXPECT_TRUE(reply.m_Status == 403 || reply.m_Status == 500 || reply.m_Status == 400)
        << reply.m_Status;
}

INSTANTIATE_TEST_SUITE_P(Servers, DavClientTest,
                         testing::Values(tDavServer::kRadicale, tDavServer::kXandikos),
                         [](const auto& info) {
                             return info.param == tDavServer::kRadicale ? "Radicale" : "Xandikos";
                         });

// Replies as servers write them: prefixes of their own, properties not found in a propstat of
// their own, deleted members, a token; and bytes that are no reply.
TEST(DavMultiStatusTest, ReadsWhatServersWrite) {
    const auto reply = tDavMultiStatus::Parse(R"(<?xml version="1.0"?>
<x:multistatus xmlns:x="DAV:" xmlns:card="urn:ietf:params:xml:ns:carddav">
 <x:response><x:href>/books/a.vcf</x:href>
  <x:propstat><x:prop><x:getetag>"1"</x:getetag><card:address-data>BEGIN:VCARD
END:VCARD
</card:address-data></x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat>
  <x:propstat><x:prop><x:displayname/></x:prop><x:status>HTTP/1.1 404 Not Found</x:status></x:propstat>
 </x:response>
 <x:response><x:href>/books/b.vcf</x:href><x:status>HTTP/1.1 404 Not Found</x:status></x:response>
 <x:response><x:href>/books/</x:href><x:propstat><x:prop>
  <x:resourcetype><x:collection/><card:addressbook/></x:resourcetype>
  <x:current-user-principal><x:href>/p/anna/</x:href></x:current-user-principal>
  <card:addressbook-home-set><x:href> /home/anna/ </x:href></card:addressbook-home-set>
  <x:supported-report-set><x:supported-report><x:report><x:sync-collection/></x:report>
  </x:supported-report></x:supported-report-set>
 </x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat></x:response>
 <x:sync-token>http://example.com/sync/7</x:sync-token>
</x:multistatus>)");
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->m_Resources.size(), 3u);
    EXPECT_EQ(reply->m_Resources[0].m_ETag, "\"1\"");
    EXPECT_EQ(reply->m_Resources[0].m_AddressData, "BEGIN:VCARD\nEND:VCARD\n");
    EXPECT_EQ(reply->m_Resources[0].m_Status, 200);
    EXPECT_EQ(reply->m_Resources[1].m_Status, 404);
    EXPECT_TRUE(reply->m_Resources[2].m_IsAddressBook);
    EXPECT_TRUE(reply->m_Resources[2].m_SupportsSync);
    EXPECT_EQ(reply->m_Resources[2].m_PrincipalHref, "/p/anna/");
    EXPECT_EQ(reply->m_Resources[2].m_AddressBookHomeHref, "/home/anna/");
    EXPECT_EQ(reply->m_SyncToken, "http://example.com/sync/7");

    for (const char* bad :
         {"", "<html><body>Login</body></html>", "<d:multistatus xmlns:d=\"DAV:\">",
          "<multistatus xmlns=\"DAV:\"><response><href>/a</href>"})
        EXPECT_FALSE(tDavMultiStatus::Parse(bad)) << bad;
}

} // namespace
