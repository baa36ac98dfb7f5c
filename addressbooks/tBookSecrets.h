// A book's password, kept where the user's other passwords are: in the desktop's secret store
// (the Secret Service of GNOME Keyring or KWallet), or in a file of the user's that nobody
// else can read.  Never in the data folder, never in a log.
#pragma once

#include "addressbooks/tBookLinks.h"

#include <QString>

#include <functional>
#include <optional>

class tBookSecrets {
public:
    // password: none when it cannot be had, and why says why.
    using tRead = std::function<void(const std::optional<QString>& password, const QString& why)>;
    // why: empty when the password was stored.
    using tStored = std::function<void(const QString& why)>;

    // The password a sync of the book sends: none needed when it names no user, else its
    // file's, else the secret store's.  done is called once, on the event loop.
    static void Read(const tBookLinks::tBook& book, tRead done);
    // Keeps the password of user at url in the secret store.
    static void Store(const QString& url, const QString& user, const QString& password,
                      tStored done);
    // Forgets it, when the book is removed; nothing is said when there was none.
    static void Forget(const QString& url, const QString& user, std::function<void()> done = {});

    // The password file's first line, when the file is the user's and readable by them alone.
    static std::optional<QString> ReadFile(const QString& path, QString* why);
};
