#include "platform/Shell.h"

#include "platform/CurrentDirectory.h"
#include "platform/OrEmpty.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
tShellHandler g_Handler;
}

bool ShellExecute(QWidget*, const char*, const char* file) {
    const std::string name = OrEmpty(file);
    if (g_Handler)
        return g_Handler(name);
    const QFileInfo info(QString::fromLocal8Bit(NativePath(name)));
    return info.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

tShellHandler SetShellHandler(tShellHandler handler) {
    tShellHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
