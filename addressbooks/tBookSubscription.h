// Subscribing to address books and ending a subscription, the same from the window and from
// a terminal: the books found at what the user typed, their password kept in the secret
// store, and the links file changed under the data folder's lock.
#pragma once

#include "addressbooks/tBookDiscovery.h"
#include "addressbooks/tDavClient.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <string>
#include <vector>

class tBookSubscription {
public:
    struct tRequest {
        QUrl m_Url; // a server, or one book
        QString m_User;
        QString m_Password;
        bool m_StorePassword = false; // kept in the secret store (else it is in m_PasswordFile)
        QString m_PasswordFile;       // whole path
        QString m_Fingerprint;        // of a certificate the user trusts
        std::string m_Gender;         // "m", "f" or empty
        bool m_NewPeopleGoHere = false;
    };
    struct tResult {
        std::vector<tBookDiscovery::tBook> m_Books; // subscribed; none when it failed
        QString m_Error;
        QString m_Untrusted; // a certificate refused, by its fingerprint: the user may trust it
    };
    using tDone = std::function<void(const tResult&)>;

    // Calls done once, on the event loop.
    static void Subscribe(tDavClient& client, const std::string& linksPath, const tRequest& request,
                          tDone done);
    // Ends the subscription to the book at url and forgets its password; false when no such
    // book is subscribed or the links file could not be saved (why says which).
    static bool Unsubscribe(const std::string& linksPath, const QString& url, QString* why,
                            std::function<void()> forgotten = {});
};
