// Requests to a WebDAV server (CardDAV, RFC 6352), one at a time or side by side, answered
// through callbacks on the event loop's thread: the window never waits for a server.
#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPair>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <functional>

class tDavClient : public QObject {
    Q_OBJECT
public:
    struct tReply {
        QUrl m_Url;       // the URL answered, after redirections
        int m_Status = 0; // the HTTP status; 0 when no answer came
        QByteArray m_Body;
        QByteArray m_ETag;
        QString m_Error; // why there is no usable answer, for the user
        // The SHA-256 fingerprint ("AB:12:…") of a certificate refused as unknown: what the user
        // is to compare with the server's before trusting it.
        QString m_Untrusted;
    };
    using tDone = std::function<void(const tReply&)>;
    using tHeaders = QList<QPair<QByteArray, QByteArray>>;

    explicit tDavClient(QObject* parent = nullptr);

    // Sent with every request from then on.  A password never goes over plain http to a host
    // other than this computer: such a request is refused before it is made.
    void SetCredentials(const QString& user, const QString& password);
    // A certificate the user confirmed by its SHA-256 fingerprint: taken even though no
    // authority vouches for it (a server of their own).  Empty: only verified certificates.
    void TrustFingerprint(const QString& fingerprint);
    static QString Fingerprint(const QSslCertificate& certificate);

    void Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
              const tHeaders& headers, tDone done);
    // depth: "0" or "1".
    void Propfind(const QUrl& url, const QByteArray& depth, const QByteArray& body, tDone done);
    void Report(const QUrl& url, const QByteArray& depth, const QByteArray& body, tDone done);

Q_SIGNALS:
    // A request goes out now (after the checks that may refuse it): for a display of progress.
    void Sending(const QByteArray& verb, const QUrl& url);

public:
    // The longest a request may wait for the server between two pieces of its answer.
    static constexpr int kTransferTimeoutMs = 30000;

private:
    void Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
              const tHeaders& headers, tDone done, int redirects);

    QNetworkAccessManager m_Network;
    QString m_User;
    QString m_Password;
    QString m_Trusted;
};
