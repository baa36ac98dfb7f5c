// Finds the address books behind what a user types: a server (through /.well-known/carddav,
// the user's principal and its address-book home, RFC 6764 and 6352) or one address book.
#pragma once

#include "addressbooks/tDavClient.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

class tBookDiscovery {
public:
    struct tBook {
        QUrl m_Url;
        QString m_Name; // displayname, or the last part of the path
        bool m_SupportsSync = false;
    };
    struct tFound {
        std::vector<tBook> m_Books;
        QString m_Error;     // why none were found
        QString m_Untrusted; // the fingerprint of a certificate refused as unknown
    };
    using tDone = std::function<void(const tFound&)>;

    // Asks the server and calls done once, on the event loop.
    static void Find(tDavClient& client, const QUrl& url, tDone done);
};
