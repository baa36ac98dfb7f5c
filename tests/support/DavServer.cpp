#include "tests/support/DavServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

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

} // namespace

tDavServer::tDavServer(tKind kind, const std::string& folder) : m_Kind(kind) {
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
        std::ofstream(folder + "/users") << "anna:secret\n";
        arguments << "--server-hosts" << QStringLiteral("127.0.0.1:%1").arg(m_Port)
                  << "--storage-filesystem-folder" << root + "/store"
                  << "--auth-type"
                  << "htpasswd"
                  << "--auth-htpasswd-filename" << root + "/users"
                  << "--auth-htpasswd-encryption"
                  << "plain";
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
    m_Process.start(program, arguments);
    if (!m_Process.waitForStarted(5000)) {
        m_Problem = QStringLiteral("%1 did not start").arg(Name());
        return;
    }
    // Up when it answers.
    QElapsedTimer waited;
    waited.start();
    while (Request("PROPFIND", Root(), {}, "application/xml") == 0) {
        if (waited.elapsed() > 15000 || m_Process.state() != QProcess::Running) {
            m_Problem = QStringLiteral("%1 did not answer on port %2").arg(Name()).arg(m_Port);
            return;
        }
        QThread::msleep(50);
    }
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

tDavServer::~tDavServer() {
    if (m_Process.state() == QProcess::NotRunning)
        return;
    m_Process.terminate();
    if (!m_Process.waitForFinished(5000)) {
        m_Process.kill();
        m_Process.waitForFinished(5000);
    }
}

QUrl tDavServer::Root() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_Port));
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
