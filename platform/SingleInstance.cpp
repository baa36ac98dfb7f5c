#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

bool ClaimSingleInstance(const char* name) {
    static std::unique_ptr<QLockFile> lock;
    if (lock)
        return true;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    auto candidate = std::make_unique<QLockFile>(folder + "/" + name + ".lock");
    candidate->setStaleLockTime(0); // a lock left by a crashed instance is taken over
    if (!candidate->tryLock(0))
        return false;
    lock = std::move(candidate);
    return true;
}
