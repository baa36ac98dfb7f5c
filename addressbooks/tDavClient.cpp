#include "addressbooks/tDavClient.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

#include <algorithm>
#include <memory>

namespace {

constexpr int kMostRedirects = 5;

bool IsLoopback(const QString& host) {
    if (host == QLatin1String("localhost"))
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

tDavClient::tDavClient(QObject* parent) : QObject(parent) {}

void tDavClient::SetCredentials(const QString& user, const QString& password) {
    m_User = user;
    m_Password = password;
}

void tDavClient::TrustFingerprint(const QString& fingerprint) {
    m_Trusted = fingerprint.trimmed().toUpper();
}

QString tDavClient::Fingerprint(const QSslCertificate& certificate) {
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

void tDavClient::Propfind(const QUrl& url, const QByteArray& depth, const QByteArray& body,
                          tDone done) {
    Send("PROPFIND", url, body, {{"Depth", depth}}, std::move(done));
}

void tDavClient::Report(const QUrl& url, const QByteArray& depth, const QByteArray& body,
                        tDone done) {
    Send("REPORT", url, body, {{"Depth", depth}}, std::move(done));
}

void tDavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                      const tHeaders& headers, tDone done) {
    Send(verb, url, body, headers, std::move(done), 0);
}

void tDavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                      const tHeaders& headers, tDone done, int redirects) {
    const bool credentials = !m_User.isEmpty() || !m_Password.isEmpty();
    if (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")) {
        done({url,
              0,
              {},
              {},
              QStringLiteral("%1 is no http or https address").arg(url.toString()),
              {}});
        return;
    }
    if (credentials && url.scheme() == QLatin1String("http") && !IsLoopback(url.host())) {
        done({url,
              0,
              {},
              {},
              QStringLiteral("the password is not sent to %1 without encryption (http): use "
                             "https")
                  .arg(url.host()),
              {}});
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    // Redirections are followed here, keeping the method: Qt would turn a PROPFIND into a GET.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    if (!body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          verb == "PUT" ? QByteArray("text/vcard; charset=utf-8")
                                        : QByteArray("application/xml; charset=utf-8"));
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    if (credentials)
        request.setRawHeader("Authorization",
                             "Basic " + (m_User + ':' + m_Password).toUtf8().toBase64());
    Q_EMIT Sending(verb, url);
    QNetworkReply* reply = m_Network.sendCustomRequest(request, verb, body);
    // The certificate refused, if it was: its fingerprint goes to the user with the refusal.
    auto untrusted = std::make_shared<QString>();
    connect(reply, &QNetworkReply::sslErrors, this,
            [this, reply, untrusted](const QList<QSslError>& errors) {
                const QSslCertificate peer = reply->sslConfiguration().peerCertificate();
                const QString fingerprint = Fingerprint(peer);
                // Only the very certificate the user confirmed, and only for what no authority
                // vouches for (or a name it was not made for, as a server of one's own often
                // is): an expired or revoked one still fails.
                const bool onlyUnvouched =
                    std::all_of(errors.begin(), errors.end(), [](const QSslError& error) {
                        return error.error() == QSslError::SelfSignedCertificate ||
                               error.error() == QSslError::SelfSignedCertificateInChain ||
                               error.error() == QSslError::UnableToGetLocalIssuerCertificate ||
                               error.error() == QSslError::UnableToVerifyFirstCertificate ||
                               error.error() == QSslError::CertificateUntrusted ||
                               error.error() == QSslError::HostNameMismatch;
                    });
                if (!m_Trusted.isEmpty() && fingerprint == m_Trusted && onlyUnvouched)
                    reply->ignoreSslErrors(errors);
                else
                    *untrusted = fingerprint;
            });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, verb, body, headers, done = std::move(done), redirects, untrusted] {
                reply->deleteLater();
                tReply answer;
                answer.m_Url = reply->url();
                answer.m_Status =
                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                answer.m_Body = reply->readAll();
                answer.m_ETag = reply->rawHeader("ETag");
                const QUrl target = reply->url().resolved(
                    reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
                if (answer.m_Status / 100 == 3 && target != reply->url() &&
                    !reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isNull()) {
                    if (redirects >= kMostRedirects) {
                        answer.m_Error = QStringLiteral("too many redirections");
                        done(answer);
                        return;
                    }
                    // Never from https to http: the password would go in the clear.
                    if (reply->url().scheme() == QLatin1String("https") &&
                        target.scheme() != QLatin1String("https")) {
                        answer.m_Error = QStringLiteral("redirected from https to %1: refused")
                                             .arg(target.toString());
                        done(answer);
                        return;
                    }
                    Send(verb, target, body, headers, done, redirects + 1);
                    return;
                }
                if (answer.m_Status == 0 && !untrusted->isEmpty()) {
                    answer.m_Untrusted = *untrusted;
                    answer.m_Error =
                        QStringLiteral("the certificate of %1 is not trusted (SHA-256 %2); if "
                                       "it is your server's, trust it with "
                                       "--trust-fingerprint %2")
                            .arg(reply->url().host(), *untrusted);
                } else if (answer.m_Status == 0)
                    answer.m_Error = reply->errorString();
                else if (answer.m_Status == 401)
                    answer.m_Error = QStringLiteral("the server refused the user name or password");
                done(answer);
            });
}
