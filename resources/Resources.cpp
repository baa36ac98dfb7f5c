#include "resources/Resources.h"

const QIcon* LoadIcon(unsigned id) {
    if (id != IDR_TRAY)
        return nullptr;
    static const QIcon icon = [] {
        QIcon i;
        // The Windows icon carries the 32 x 32 picture with 16 colours; the others are smooth.
        i.addFile(":/zembrola.ico", QSize(32, 32));
        for (int size : {16, 22, 24, 48, 64, 128, 256})
            i.addFile(QString(":/icons/zembrola-%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return &icon;
}

const tMenuResource* LoadMenu(unsigned id) {
    static const tMenuResource tray = {"Tray",
                                       {{"Show", 0x8007}, {"Hide", 0x8009}, {"Exit", 0x8008}}};
    return id == IDR_TRAY ? &tray : nullptr;
}

std::string LoadString(unsigned id) {
    return id == IDR_TRAY ? "Zembrola" : "";
}
