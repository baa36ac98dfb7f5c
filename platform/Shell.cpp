#include "platform/Shell.h"

#include "platform/CurrentDirectory.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
tShellHandler g_Handler;
}

void ShellExecute(QWidget*, const char*, const char* file) {
    const std::string name = file ? file : "";
    if (g_Handler) {
        g_Handler(name);
        return;
    }
    // The result is not examined: a missing document or program is reported by nobody.
    QDesktopServices::openUrl(QUrl::fromLocalFile(
        QFileInfo(QString::fromLocal8Bit(NativePath(name))).absoluteFilePath()));
}

tShellHandler SetShellHandler(tShellHandler handler) {
    tShellHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
