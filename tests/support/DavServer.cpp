#include "tests/support/DavServer.h"

#include "tests/support/StopProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslError>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <optional>

#include <fstream>

namespace TestSupport {

namespace {

// A port nobody listens on now: the kernel's choice for a socket bound to port 0.
int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

// Runs a program to its end; its output, or none when it failed.
std::optional<QByteArray> Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace

tDavServer::tDavServer(tKind kind, const std::string& folder, bool tls) : m_Kind(kind), m_Tls(tls) {
    const QString program =
        QStandardPaths::findExecutable(kind == kRadicale ? "radicale" : "xandikos");
    if (program.isEmpty()) {
        m_Problem = QStringLiteral("%1 is not installed").arg(Name());
        return;
    }
    m_Port = FreePort();
    const QString root = QString::fromStdString(folder);
    QStringList arguments;
    if (kind == kRadicale) {
        std::ofstream(folder + "/users") << "anna:" << Password().toStdString() << "\n";
        arguments << "--server-hosts" << QStringLiteral("127.0.0.1:%1").arg(m_Port)
                  << "--storage-filesystem-folder" << root + "/store"
                  << "--auth-type"
                  << "htpasswd"
                  << "--auth-htpasswd-filename" << root + "/users"
                  << "--auth-htpasswd-encryption"
                  << "plain";
        if (tls) {
            const QString key = root + "/key.pem", certificate = root + "/certificate.pem";
            const std::optional<QByteArray> fingerprint =
                Run("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", certificate})
                    ? Run("openssl",
                          {"x509", "-in", certificate, "-noout", "-fingerprint", "-sha256"})
                    : std::nullopt;
            if (!fingerprint) {
                m_Problem = QStringLiteral("openssl made no certificate");
                return;
            }
            // "sha256 Fingerprint=AB:CD:…"
            m_Fingerprint = QString::fromLatin1(*fingerprint).section('=', 1).trimmed();
            arguments << "--server-ssl"
                      << "True"
                      << "--server-certificate" << certificate << "--server-key" << key;
        }
    } else {
        arguments << "-d" << root + "/store"
                  << "--defaults"
                  << "-l"
                  << "127.0.0.1"
                  << "-p" << QString::number(m_Port) << "--current-user-principal"
                  << "/user/";
    }
    m_Process.setProcessChannelMode(QProcess::MergedChannels);
    m_Process.setStandardOutputFile(root + "/server.log");
    m_Program = program;
    m_Arguments = arguments;
    m_Process.start(program, arguments);
    if (!WaitUntilUp())
        return;
    if (kind == kRadicale) {
        const int made = Request(
            "MKCOL", Book(),
            "<?xml version=\"1.0\"?><mkcol xmlns=\"DAV:\" "
            "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><set><prop><resourcetype><collection/>"
            "<C:addressbook/></resourcetype><displayname>Contacts</displayname></prop></set>"
            "</mkcol>",
            "application/xml");
        if (made != 201)
            m_Problem = QStringLiteral("Radicale made no address book (%1)").arg(made);
    }
}

bool tDavServer::WaitUntilUp() {
    if (!m_Process.waitForStarted(5000)) {
        m_Problem = QStringLiteral("%1 did not start").arg(Name());
        return false;
    }
    // Up when it answers.
    QElapsedTimer waited;
    waited.start();
    while (Request("PROPFIND", Root(), {}, "application/xml") == 0) {
        if (waited.elapsed() > 15000 || m_Process.state() != QProcess::Running) {
            m_Problem = QStringLiteral("%1 did not answer on port %2").arg(Name()).arg(m_Port);
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

void tDavServer::Kill() {
    m_Process.kill();
    m_Process.waitForFinished(5000);
}

bool tDavServer::Restart() {
    m_Process.start(m_Program, m_Arguments);
    return WaitUntilUp();
}

tDavServer::~tDavServer() {
    StopProcess(m_Process);
}

QUrl tDavServer::Root() const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(m_Tls ? "https" : "http").arg(m_Port));
}

QUrl tDavServer::Book() const {
    return Root().resolved(QUrl(m_Kind == kRadicale
                                    ? QStringLiteral("/anna/contacts/")
                                    : QStringLiteral("/user/contacts/addressbook/")));
}

int tDavServer::Put(const QString& name, const QByteArray& card) {
    return Request("PUT", Book().resolved(QUrl(name)), card, "text/vcard; charset=utf-8");
}

int tDavServer::Delete(const QString& name) {
    return Request("DELETE", Book().resolved(QUrl(name)), {}, {});
}

int tDavServer::Request(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                        const QByteArray& contentType, QByteArray* answer,
                        const QByteArray& depth) {
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    if (!contentType.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    if (!User().isEmpty())
        request.setRawHeader("Authorization",
                             "Basic " + (User() + ':' + Password()).toUtf8().toBase64());
    if (!depth.isEmpty())
        request.setRawHeader("Depth", depth);
    request.setTransferTimeout(120000); // a whole book at once takes a while
    QNetworkReply* reply = network.sendCustomRequest(request, verb, body);
    // The phone was told to trust the server's certificate.
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [reply](const QList<QSslError>& errors) { reply->ignoreSslErrors(errors); });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    if (answer)
        *answer = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    return status;
}

} // namespace TestSupport
