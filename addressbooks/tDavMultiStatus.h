// A WebDAV multi-status reply (RFC 4918, 207): what a server says about each resource a
// PROPFIND or REPORT asked about, with the CardDAV (RFC 6352) and sync (RFC 6578) properties
// the address-book sync reads.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class tDavMultiStatus {
public:
    struct tResource {
        QString m_Href;     // as the server wrote it (a path, or a whole URL)
        int m_Status = 200; // the resource's own status (404: gone, in a sync report)
        QString m_ETag;     // getetag
        bool m_IsAddressBook = false;
        bool m_IsCollection = false;
        QString m_DisplayName;
        QString m_AddressData;         // the card (addressbook-multiget, sync-collection)
        QString m_PrincipalHref;       // current-user-principal
        QString m_AddressBookHomeHref; // addressbook-home-set
        QString m_SyncToken;           // a collection's own sync-token property
        bool m_SupportsSync = false;   // supported-report-set names sync-collection
    };

    std::vector<tResource> m_Resources;
    QString m_SyncToken; // a sync-collection reply's new token

    // None when the bytes are no multi-status document (malformed XML, another root).
    static std::optional<tDavMultiStatus> Parse(const QByteArray& body);
};
