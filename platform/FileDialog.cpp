#include "platform/FileDialog.h"

#include "platform/Gdi.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {

tFileDialogHandler g_Handler;

// "Image files (*.DIB, *.BMP)|*.DIB;*.BMP|All files (*.*)|*.*||" becomes Qt's
// "Image files (*.DIB *.BMP *.dib *.bmp);;All files (*)".
QString QtFilter(const char* filter) {
    const QStringList parts = QString::fromLatin1(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        label.truncate(label.indexOf('(') < 0 ? label.size() : label.indexOf('('));
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';'))
            patterns << (pattern == "*.*" ? "*" : pattern) << pattern.toLower();
        patterns.removeDuplicates();
        filters << label.trimmed() + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

} // namespace

std::optional<std::string> GetOpenFileName(const char* filter) {
    if (g_Handler)
        return g_Handler(filter);
    // The first time in the user's home (the program works in a hidden data folder), later
    // where the user chose last.
    static QString folder = QDir::homePath();
    const QString chosen =
        QFileDialog::getOpenFileName(nullptr, QString(), folder, QtFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    folder = QFileInfo(chosen).absolutePath();
    return chosen.toLocal8Bit().toStdString();
}

std::optional<std::string> GetSaveFileName(const char* filter, const std::string& suggested) {
    if (g_Handler)
        return g_Handler(filter);
    const QString chosen = QFileDialog::getSaveFileName(
        nullptr, QString(), QString::fromLocal8Bit(suggested.c_str()), QtFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.toLocal8Bit().toStdString();
}

tFileDialogHandler SetFileDialogHandler(tFileDialogHandler handler) {
    tFileDialogHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
