#include "addressbooks/tBookDiscovery.h"

#include "addressbooks/tDavMultiStatus.h"

#include <memory>

namespace {

const QByteArray kWhatIsIt =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
    "<d:resourcetype/><d:displayname/><d:current-user-principal/><c:addressbook-home-set/>"
    "<d:supported-report-set/></d:prop></d:propfind>";

QString Why(const tDavClient::tReply& reply) {
    if (!reply.m_Error.isEmpty())
        return reply.m_Error;
    return QStringLiteral("the server answered %1 at %2")
        .arg(reply.m_Status)
        .arg(reply.m_Url.toString());
}

tBookDiscovery::tBook BookOf(const QUrl& base, const tDavMultiStatus::tResource& resource) {
    tBookDiscovery::tBook book;
    book.m_Url = base.resolved(QUrl(resource.m_Href));
    book.m_Name = resource.m_DisplayName;
    if (book.m_Name.isEmpty()) {
        QString path = book.m_Url.path();
        while (path.endsWith('/'))
            path.chop(1);
        book.m_Name = path.mid(path.lastIndexOf('/') + 1);
    }
    book.m_SupportsSync = resource.m_SupportsSync;
    return book;
}

// The address books in the home collection.
void ListHome(tDavClient& client, const QUrl& home, tBookDiscovery::tDone done) {
    client.Propfind(home, "1", kWhatIsIt, [home, done](const tDavClient::tReply& reply) {
        const auto status = tDavMultiStatus::Parse(reply.m_Body);
        if (reply.m_Status != 207 || !status) {
            done({{}, Why(reply), reply.m_Untrusted});
            return;
        }
        tBookDiscovery::tFound found;
        for (const auto& resource : status->m_Resources)
            if (resource.m_IsAddressBook && resource.m_Status / 100 == 2)
                found.m_Books.push_back(BookOf(reply.m_Url, resource));
        if (found.m_Books.empty())
            found.m_Error = QStringLiteral("no address book at %1").arg(home.toString());
        done(found);
    });
}

// What the resource at url is; then its books.  wellKnownTried: the server root was asked.
void Explore(tDavClient& client, const QUrl& url, bool wellKnownTried, int steps,
             tBookDiscovery::tDone done) {
    if (steps > 4) {
        done({{}, QStringLiteral("the server's principal and home lead nowhere"), {}});
        return;
    }
    client.Propfind(
        url, "0", kWhatIsIt,
        [&client, url, wellKnownTried, steps, done](const tDavClient::tReply& reply) {
            const auto status = tDavMultiStatus::Parse(reply.m_Body);
            if (reply.m_Status != 207 || !status || status->m_Resources.empty()) {
                // A server's root often knows nothing of DAV: its well-known address does.
                if (!wellKnownTried && reply.m_Error.isEmpty() && reply.m_Status != 401) {
                    QUrl known = url;
                    known.setPath(QStringLiteral("/.well-known/carddav"));
                    Explore(client, known, true, steps + 1, done);
                    return;
                }
                done({{}, Why(reply), reply.m_Untrusted});
                return;
            }
            const tDavMultiStatus::tResource& resource = status->m_Resources.front();
            if (resource.m_IsAddressBook) {
                done({{BookOf(reply.m_Url, resource)}, {}, {}});
                return;
            }
            if (!resource.m_AddressBookHomeHref.isEmpty()) {
                ListHome(client, reply.m_Url.resolved(QUrl(resource.m_AddressBookHomeHref)), done);
                return;
            }
            if (!resource.m_PrincipalHref.isEmpty()) {
                const QUrl principal = reply.m_Url.resolved(QUrl(resource.m_PrincipalHref));
                if (principal != reply.m_Url) {
                    Explore(client, principal, true, steps + 1, done);
                    return;
                }
            }
            if (!wellKnownTried) {
                QUrl known = url;
                known.setPath(QStringLiteral("/.well-known/carddav"));
                Explore(client, known, true, steps + 1, done);
                return;
            }
            // A collection that is neither: perhaps the home itself.
            ListHome(client, reply.m_Url, done);
        });
}

} // namespace

void tBookDiscovery::Find(tDavClient& client, const QUrl& url, tDone done) {
    Explore(client, url, false, 0, std::move(done));
}
