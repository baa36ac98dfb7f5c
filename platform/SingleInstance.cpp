#include "platform/SingleInstance.h"

#include "platform/CurrentDirectory.h"
#include "platform/FolderLock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <string>
#include <sys/stat.h>

bool ClaimSingleInstance(const char* name) {
    static bool claimed = false;
    if (claimed)
        return true;
    const std::string folder = FullPath("Cal_Data");
    struct stat info {};
    // Without a data folder there is nothing to share; the program says what is missing.
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return claimed = true;
    const std::string lock = std::string(".") + name + "-instance.lock";
    return claimed = FolderLock::HoldForever(folder, lock.c_str());
}

namespace {

// One socket per data folder, in the user's own runtime folder.
QString SocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    const QByteArray folder = QByteArray::fromStdString(FullPath("Cal_Data"));
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
    return runtime + "/zembrola-" + hash + ".socket";
}

} // namespace

void ListenForLaterStarts(std::function<void()> onLaterStart) {
    const QString path = SocketPath();
    if (path.isEmpty())
        return;
    static QLocalServer* server = nullptr;
    delete server;
    server = new QLocalServer(QCoreApplication::instance());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path); // left by an instance that died; we hold the lock
    if (!server->listen(path))
        return;
    QObject::connect(server, &QLocalServer::newConnection, server, [onLaterStart] {
        while (QLocalSocket* connection = server->nextPendingConnection()) {
            connection->deleteLater();
            onLaterStart();
        }
    });
}

void TellRunningInstance() {
    const QString path = SocketPath();
    if (path.isEmpty())
        return;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (socket.waitForConnected(2000)) {
        socket.write("show\n");
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
}
