#include "platform/Menu.h"

#include "platform/WindowMessage.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace {
tMenuHandler g_Handler;
}

void TrackPopupMenu(QMenu* menu, QPoint at, QWidget* owner) {
    unsigned command = 0;
    if (g_Handler) {
        command = g_Handler(menu, at);
    } else {
        QPointer<QWidget> guard(owner);
        if (QAction* chosen = menu->exec(at))
            command = chosen->data().toUInt();
        if (!guard)
            return;
    }
    if (command != 0)
        SendMessage(owner, WM_COMMAND, command, 0);
}

QPoint GetCursorPos() {
    return QCursor::pos();
}

void SetForegroundWindow(QWidget* window) {
    if (window) {
        window->raise();
        window->activateWindow();
    }
}

tMenuHandler SetMenuHandler(tMenuHandler handler) {
    tMenuHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
