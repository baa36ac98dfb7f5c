#include "tests/support/SecretStore.h"

#include "tests/support/StopProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

namespace TestSupport {

tSecretStore::tSecretStore(const std::string& folder) {
    const QString bus = QStandardPaths::findExecutable("dbus-daemon");
    const QString keyring = QStandardPaths::findExecutable("gnome-keyring-daemon");
    if (bus.isEmpty() || keyring.isEmpty()) {
        m_Problem = QStringLiteral("dbus-daemon or gnome-keyring is not installed");
        return;
    }
    const QString root = QString::fromStdString(folder);
    QDir().mkpath(root + "/home/.local/share");
    // The keyring's sockets go here: a short path, as a socket's path has at most 107 bytes.
    if (!m_Run.isValid()) {
        m_Problem = QStringLiteral("no folder for the keyring's sockets");
        return;
    }
    m_Bus.start(bus, {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!m_Bus.waitForStarted(5000) || !m_Bus.waitForReadyRead(10000)) {
        m_Problem = QStringLiteral("dbus-daemon did not start");
        return;
    }
    const QString address = QString::fromLatin1(m_Bus.readLine()).trimmed();
    m_Environment = QProcessEnvironment::systemEnvironment();
    m_Environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
    m_Environment.insert("HOME", root + "/home");
    m_Environment.insert("XDG_DATA_HOME", root + "/home/.local/share");
    m_Environment.insert("XDG_RUNTIME_DIR", m_Run.path());
    // The desktop the store belongs to: qtkeychain asks the Secret Service there.
    m_Environment.insert("XDG_CURRENT_DESKTOP", "GNOME");
    m_Keyring.setProcessEnvironment(m_Environment);
    m_Keyring.setProcessChannelMode(QProcess::MergedChannels);
    m_Keyring.setStandardOutputFile(root + "/keyring.log");
    // A new login keyring, made and unlocked with the password given on stdin.
    m_Keyring.start(keyring, {"--foreground", "--unlock", "--components=secrets"});
    if (!m_Keyring.waitForStarted(5000)) {
        m_Problem = QStringLiteral("gnome-keyring-daemon did not start");
        return;
    }
    m_Keyring.write("unlock");
    m_Keyring.waitForBytesWritten(5000); // no event loop runs here to send it
    m_Keyring.closeWriteChannel();
    // Up when its name is on the bus.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QProcess ask;
        ask.setProcessEnvironment(m_Environment);
        ask.start("dbus-send", {"--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                                "string:org.freedesktop.secrets"});
        ask.waitForFinished(5000);
        if (ask.readAllStandardOutput().contains("boolean true"))
            break;
        if (waited.elapsed() > 15000 || m_Keyring.state() != QProcess::Running) {
            QFile log(root + "/keyring.log");
            log.open(QIODevice::ReadOnly);
            m_Problem = QStringLiteral("gnome-keyring-daemon took no name on the bus: ") +
                        QString::fromUtf8(log.readAll());
            return;
        }
        QThread::msleep(50);
    }
}

tSecretStore::~tSecretStore() {
    StopProcess(m_Keyring);
    StopProcess(m_Bus);
}

} // namespace TestSupport
