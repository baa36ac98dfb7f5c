#include "resources/Resources.h"

#include <QFile>
#include <QStringList>

// Made by Qt's resource compiler from zembrola.qrc.  In a static library nothing refers to it,
// so it is registered by hand before the first use.
int qInitResources_zembrola();

namespace {

void RegisterResources() {
    static const int registered = qInitResources_zembrola();
    (void)registered;
}

// A resource compiled in with the program: ":/menu101.txt" and so on.
QStringList ResourceLines(const QString& name) {
    RegisterResources();
    QFile file(":/" + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

const QIcon* LoadIcon(unsigned id) {
    if (id != IDR_TRAY)
        return nullptr;
    static const QIcon icon = [] {
        RegisterResources();
        QIcon i;
        // The Windows icon carries the 32 x 32 picture with 16 colours; the others are smooth.
        i.addFile(":/zembrola.ico", QSize(32, 32));
        for (int size : {16, 22, 24, 48, 64, 128, 256})
            i.addFile(QString(":/icons/zembrola-%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return &icon;
}

// The menu resource: its popup's title on the first line, then "text command" per item.
const tMenuResource* LoadMenu(unsigned id) {
    if (id != IDR_TRAY)
        return nullptr;
    static const tMenuResource menu = [] {
        tMenuResource loaded;
        const QStringList lines = ResourceLines("menu101.txt");
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i == 0) {
                loaded.m_PopupTitle = lines[i].trimmed().toStdString();
                continue;
            }
            const QStringList parts = lines[i].split(' ', Qt::SkipEmptyParts);
            if (parts.size() == 2)
                loaded.m_Items.push_back({parts[0].toStdString(), parts[1].toUInt(nullptr, 0)});
        }
        return loaded;
    }();
    return menu.m_Items.empty() ? nullptr : &menu;
}

std::string LoadString(unsigned id) {
    if (id != IDR_TRAY)
        return "";
    const QStringList lines = ResourceLines("string101.txt");
    return lines.isEmpty() ? "" : lines.front().trimmed().toStdString();
}
