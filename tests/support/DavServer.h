// A real address-book server for the tests, started on 127.0.0.1 at a free port in a folder of
// its own and stopped by its process id: Radicale (with a user and password) or Xandikos (no
// authentication).  Also the "phone": plain HTTP requests that put and delete cards.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QUrl>

#include <string>

namespace TestSupport {

class tDavServer {
public:
    enum tKind { kRadicale, kXandikos };

    // tls: Radicale behind https, with a certificate of its own that no authority vouches for.
    tDavServer(tKind kind, const std::string& folder, bool tls = false);
    ~tDavServer();

    // Empty when the server runs and answers; else why not (a missing package: skip).
    const QString& Problem() const { return m_Problem; }
    const char* Name() const { return m_Kind == kRadicale ? "Radicale" : "Xandikos"; }
    QUrl Root() const;
    QUrl Book() const; // the user's address book, made at the start
    QString User() const { return m_Kind == kRadicale ? QStringLiteral("anna") : QString(); }
    QString Password() const {
        return m_Kind == kRadicale ? QStringLiteral("h0rse-staple") : QString();
    }
    // The SHA-256 fingerprint of the certificate, as openssl prints it; empty without tls.
    const QString& Fingerprint() const { return m_Fingerprint; }

    // The server stopped at once (SIGKILL), as a crash or a power cut would; started again
    // on the same port and folder, true when it answers.
    void Kill();
    bool Restart();

    // The phone: a card put at Book() + name, or deleted; the HTTP status.
    int Put(const QString& name, const QByteArray& card);
    int Delete(const QString& name);
    // Any request, for the tests' own needs; depth: the Depth header, if any.
    int Request(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                const QByteArray& contentType, QByteArray* answer = nullptr,
                const QByteArray& depth = {});

private:
    bool WaitUntilUp();

    tKind m_Kind;
    QString m_Program;
    QStringList m_Arguments;
    int m_Port = 0;
    bool m_Tls = false;
    QString m_Fingerprint;
    QProcess m_Process;
    QString m_Problem;
};

} // namespace TestSupport
