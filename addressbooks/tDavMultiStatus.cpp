#include "addressbooks/tDavMultiStatus.h"

#include <QXmlStreamReader>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");

// "HTTP/1.1 404 Not Found" -> 404; 0 for anything else.
int StatusCode(const QString& line) {
    const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

bool Is(const QXmlStreamReader& xml, const QString& space, const char* name) {
    return xml.namespaceUri() == space && xml.name() == QLatin1String(name);
}

// The text of the first href inside the element the reader is on.
QString InnerHref(QXmlStreamReader& xml) {
    QString href;
    int level = 1; // inside the element
    while (level > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (href.isEmpty() && Is(xml, kDav, "href")) {
                href = xml.readElementText().trimmed();
                continue; // readElementText ends on the href's end
            }
            ++level;
        } else if (xml.isEndElement()) {
            --level;
        }
    }
    return href;
}

void ReadProp(QXmlStreamReader& xml, tDavMultiStatus::tResource& resource) {
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "getetag")) {
            resource.m_ETag = xml.readElementText().trimmed();
        } else if (Is(xml, kDav, "displayname")) {
            resource.m_DisplayName = xml.readElementText().trimmed();
        } else if (Is(xml, kDav, "sync-token")) {
            resource.m_SyncToken = xml.readElementText().trimmed();
        } else if (Is(xml, kCardDav, "address-data")) {
            resource.m_AddressData = xml.readElementText();
        } else if (Is(xml, kDav, "current-user-principal")) {
            resource.m_PrincipalHref = InnerHref(xml);
        } else if (Is(xml, kCardDav, "addressbook-home-set")) {
            resource.m_AddressBookHomeHref = InnerHref(xml);
        } else if (Is(xml, kDav, "resourcetype")) {
            while (xml.readNextStartElement()) {
                if (Is(xml, kCardDav, "addressbook"))
                    resource.m_IsAddressBook = true;
                else if (Is(xml, kDav, "collection"))
                    resource.m_IsCollection = true;
                xml.skipCurrentElement();
            }
        } else if (Is(xml, kDav, "supported-report-set")) {
            // Deep inside: supported-report / report / sync-collection.
            int level = 1;
            while (level > 0 && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()) {
                    if (Is(xml, kDav, "sync-collection"))
                        resource.m_SupportsSync = true;
                    ++level;
                } else if (xml.isEndElement()) {
                    --level;
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

void ReadResponse(QXmlStreamReader& xml, tDavMultiStatus::tResource& resource) {
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "href")) {
            resource.m_Href = xml.readElementText().trimmed();
        } else if (Is(xml, kDav, "status")) {
            resource.m_Status = StatusCode(xml.readElementText());
        } else if (Is(xml, kDav, "propstat")) {
            // Properties the server could not give come in a propstat of their own (404):
            // only the ones found count.
            tDavMultiStatus::tResource found;
            int status = 200;
            while (xml.readNextStartElement()) {
                if (Is(xml, kDav, "prop"))
                    ReadProp(xml, found);
                else if (Is(xml, kDav, "status"))
                    status = StatusCode(xml.readElementText());
                else
                    xml.skipCurrentElement();
            }
            if (status / 100 == 2) {
                const QString href = resource.m_Href;
                const int own = resource.m_Status;
                auto keep = [](QString& into, const QString& value) {
                    if (!value.isEmpty())
                        into = value;
                };
                keep(resource.m_ETag, found.m_ETag);
                keep(resource.m_DisplayName, found.m_DisplayName);
                keep(resource.m_AddressData, found.m_AddressData);
                keep(resource.m_PrincipalHref, found.m_PrincipalHref);
                keep(resource.m_AddressBookHomeHref, found.m_AddressBookHomeHref);
                keep(resource.m_SyncToken, found.m_SyncToken);
                resource.m_IsAddressBook = resource.m_IsAddressBook || found.m_IsAddressBook;
                resource.m_IsCollection = resource.m_IsCollection || found.m_IsCollection;
                resource.m_SupportsSync = resource.m_SupportsSync || found.m_SupportsSync;
                resource.m_Href = href;
                resource.m_Status = own;
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

std::optional<tDavMultiStatus> tDavMultiStatus::Parse(const QByteArray& body) {
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || !Is(xml, kDav, "multistatus"))
        return std::nullopt;
    tDavMultiStatus reply;
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "response")) {
            tResource resource;
            ReadResponse(xml, resource);
            if (!resource.m_Href.isEmpty())
                reply.m_Resources.push_back(std::move(resource));
        } else if (Is(xml, kDav, "sync-token")) {
            reply.m_SyncToken = xml.readElementText().trimmed();
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return reply;
}
