#include "addressbooks/tBookSecrets.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QFile>
#include <qt6keychain/keychain.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kService = QStringLiteral("Zembrola address books");

QString KeyOf(const QString& url, const QString& user) {
    return user + '@' + url;
}

// Whether a secret store answers on the session bus (libsecret's own errors do not say so
// plainly: "Cannot autolaunch D-Bus", "not provided by any .service files").
bool StoreRuns() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QStringList names = bus.interface()->registeredServiceNames().value();
    const QDBusReply<QStringList> activatable = bus.interface()->call("ListActivatableNames");
    for (const char* store : {"org.freedesktop.secrets", "org.kde.kwalletd5", "org.kde.kwalletd6"})
        if (names.contains(store) || (activatable.isValid() && activatable.value().contains(store)))
            return true;
    return false;
}

QString WhyNot(const QKeychain::Job& job, const QString& url, const QString& user) {
    if (job.error() == QKeychain::NoBackendAvailable ||
        (job.error() == QKeychain::OtherError && !StoreRuns()))
        return QStringLiteral("no secret store runs (GNOME Keyring or KWallet): start one, or "
                              "keep the password in a file of yours with --password-file");
    switch (job.error()) {
    case QKeychain::EntryNotFound:
        return QStringLiteral("the secret store keeps no password for %1 at %2: subscribe again "
                              "with --password-stdin")
            .arg(user, url);
    case QKeychain::AccessDenied:
        return QStringLiteral("the secret store did not give the password (locked or refused)");
    default:
        return QStringLiteral("the secret store failed: %1").arg(job.errorString());
    }
}

} // namespace

void tBookSecrets::Read(const tBookLinks::tBook& book, tRead done) {
    if (!book.m_PasswordFile.isEmpty()) {
        QString why;
        const std::optional<QString> password = ReadFile(book.m_PasswordFile, &why);
        done(password, why);
        return;
    }
    if (book.m_User.isEmpty()) {
        done(QString(), QString());
        return;
    }
    // Made only now: the secret store is not asked while no book needs a password.
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(KeyOf(book.m_Url, book.m_User));
    QObject::connect(job, &QKeychain::Job::finished, job,
                     [url = book.m_Url, user = book.m_User, done](QKeychain::Job* finished) {
                         auto* read = static_cast<QKeychain::ReadPasswordJob*>(finished);
                         if (read->error() == QKeychain::NoError)
                             done(read->textData(), QString());
                         else
                             done(std::nullopt, WhyNot(*read, url, user));
                     });
    job->start();
}

void tBookSecrets::Store(const QString& url, const QString& user, const QString& password,
                         tStored done) {
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setKey(KeyOf(url, user));
    job->setTextData(password);
    QObject::connect(
        job, &QKeychain::Job::finished, job, [url, user, done](QKeychain::Job* finished) {
            done(finished->error() == QKeychain::NoError ? QString()
                                                         : WhyNot(*finished, url, user));
        });
    job->start();
}

void tBookSecrets::Forget(const QString& url, const QString& user, std::function<void()> done) {
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(KeyOf(url, user));
    QObject::connect(job, &QKeychain::Job::finished, job, [done](QKeychain::Job*) {
        if (done)
            done();
    });
    job->start();
}

std::optional<QString> tBookSecrets::ReadFile(const QString& path, QString* why) {
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (stat(name.constData(), &info) != 0) {
        *why = QStringLiteral("%1 cannot be read").arg(path);
        return std::nullopt;
    }
    if (info.st_uid != geteuid() || (info.st_mode & 077) != 0) {
        *why = QStringLiteral("%1 must be yours and readable by you alone (chmod 600)").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("%1 cannot be read").arg(path);
        return std::nullopt;
    }
    QString password = QString::fromUtf8(file.readLine(4096));
    while (password.endsWith('\n') || password.endsWith('\r'))
        password.chop(1);
    return password;
}
