#include "addressbooks/tBookSubscription.h"

#include "addressbooks/tBookLinks.h"
#include "addressbooks/tBookSecrets.h"

#include <memory>
#include <optional>

namespace {

// Keeps the password of each book found, one after another, then calls done with why not.
void StorePasswords(std::shared_ptr<std::vector<QString>> urls, size_t next, const QString& user,
                    const QString& password, std::function<void(const QString&)> done) {
    if (next >= urls->size()) {
        done(QString());
        return;
    }
    tBookSecrets::Store((*urls)[next], user, password, [=](const QString& why) {
        if (!why.isEmpty())
            done(why);
        else
            StorePasswords(urls, next + 1, user, password, done);
    });
}

} // namespace

void tBookSubscription::Subscribe(tDavClient& client, const std::string& linksPath,
                                  const tRequest& request, tDone done) {
    client.SetCredentials(request.m_User, request.m_Password);
    client.TrustFingerprint(request.m_Fingerprint);
    tBookDiscovery::Find(client, request.m_Url, [=](const tBookDiscovery::tFound& found) {
        if (found.m_Books.empty()) {
            done({{}, found.m_Error, found.m_Untrusted});
            return;
        }
        const auto save = [=](const QString& notStored) {
            // The password is kept before the book is: a book whose password is lost is no use.
            if (!notStored.isEmpty()) {
                done({{}, notStored, {}});
                return;
            }
            const tFileFault fault = tBookLinks::Change(linksPath, [&](tBookLinks& links) {
                for (const tBookDiscovery::tBook& book : found.m_Books) {
                    const QString address = book.m_Url.toString();
                    tBookLinks::tBook* kept = links.Find(address);
                    if (!kept) {
                        links.m_Books.push_back({});
                        kept = &links.m_Books.back();
                        kept->m_Url = address;
                    }
                    kept->m_Name = book.m_Name;
                    kept->m_User = request.m_User;
                    kept->m_PasswordFile =
                        request.m_StorePassword ? QString() : request.m_PasswordFile;
                    kept->m_Fingerprint = request.m_Fingerprint;
                    kept->m_Gender = request.m_Gender;
                }
                // One book takes the new people; the first found when a server offers several.
                if (request.m_NewPeopleGoHere) {
                    const QString chosen = found.m_Books.front().m_Url.toString();
                    for (tBookLinks::tBook& book : links.m_Books)
                        book.m_NewPeopleGoHere = book.m_Url == chosen;
                }
                return true;
            });
            if (fault != tFileFault::None)
                done(
                    {{},
                     QStringLiteral("%1 could not be saved").arg(QString::fromStdString(linksPath)),
                     {}});
            else
                done({found.m_Books, {}, {}});
        };
        if (!request.m_StorePassword || request.m_User.isEmpty()) {
            save(QString());
            return;
        }
        auto urls = std::make_shared<std::vector<QString>>();
        for (const tBookDiscovery::tBook& book : found.m_Books)
            urls->push_back(book.m_Url.toString());
        StorePasswords(urls, 0, request.m_User, request.m_Password, save);
    });
}

bool tBookSubscription::Unsubscribe(const std::string& linksPath, const QString& url, QString* why,
                                    std::function<void()> forgotten) {
    std::optional<tBookLinks::tBook> removed;
    const tFileFault fault = tBookLinks::Change(linksPath, [&](tBookLinks& links) {
        std::erase_if(links.m_Books, [&](const tBookLinks::tBook& book) {
            if (book.m_Url == url)
                removed = book;
            return book.m_Url == url;
        });
        return removed.has_value();
    });
    if (!removed || fault != tFileFault::None) {
        *why = removed
                   ? QStringLiteral("%1 could not be saved").arg(QString::fromStdString(linksPath))
                   : QString();
        return false;
    }
    if (removed->m_PasswordFile.isEmpty() && !removed->m_User.isEmpty())
        tBookSecrets::Forget(removed->m_Url, removed->m_User, forgotten);
    else if (forgotten)
        forgotten();
    return true;
}
