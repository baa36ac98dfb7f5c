#include "platform/Shell.h"

#include "platform/CurrentDirectory.h"
#include "platform/OrEmpty.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
tShellHandler g_Handler;
}

bool ShellExecute(QWidget*, const char*, const char* file) {
    const std::string name = OrEmpty(file);
    if (g_Handler)
        return g_Handler(name);
    const QFileInfo info(QString::fromLocal8Bit(NativePath(name)));
    return info.isFile() && HasOpener(info.absoluteFilePath()) &&
           QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

bool HasOpener(const QString& file) {
    // The opener starts detached, and says nothing when there is no program for the file:
    // ask the desktop's list of programs first.
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    if (xdgMime.isEmpty())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    QStringList types{type.name()};
    types += type.aliases();
    for (const QString& name : types) {
        QProcess query;
        query.start(xdgMime, {"query", "default", name});
        if (query.waitForFinished(3000) && query.exitCode() == 0 &&
            !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

tShellHandler SetShellHandler(tShellHandler handler) {
    tShellHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
