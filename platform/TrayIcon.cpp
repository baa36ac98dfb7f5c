#include "platform/TrayIcon.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "platform/WindowMessage.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <map>
#include <memory>

namespace {

tNotifyIconHandler g_Handler;

struct tShown {
    std::unique_ptr<QMenu> m_Menu; // made before the icon, so that it goes after it
    std::unique_ptr<QSystemTrayIcon> m_Icon;
    QPointer<QWidget> m_Window;
    uint32_t m_Message = 0;
};
std::map<std::pair<QWidget*, uint32_t>, tShown> g_Icons;

// Qt shows its icon as a StatusNotifierItem wherever a host watches for them.
bool IsStatusNotifierTray() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered("org.kde.StatusNotifierWatcher");
}

// The tray's activation reasons as the mouse messages a Windows tray sends.
UINT MouseMessage(QSystemTrayIcon::ActivationReason reason, bool statusNotifier) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Trigger:
        // A StatusNotifierItem host reports one activation (its click or double click).
        return statusNotifier ? WM_LBUTTONDBLCLK : WM_LBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONUP;
    default:
        return WM_MOUSEMOVE;
    }
}

} // namespace

bool Shell_NotifyIcon(unsigned operation, NOTIFYICONDATA* data) {
    if (!data)
        return false;
    if (g_Handler)
        return g_Handler(operation, *data);
    const auto key = std::make_pair(data->hWnd, data->uID);
    auto found = g_Icons.find(key);
    if (operation == NIM_DELETE) {
        if (found == g_Icons.end())
            return false;
        g_Icons.erase(found);
        return true;
    }
    if ((operation == NIM_ADD) != (found == g_Icons.end()) ||
        !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (operation == NIM_ADD) {
        tShown& shown = g_Icons[key];
        shown.m_Icon = std::make_unique<QSystemTrayIcon>();
        shown.m_Window = data->hWnd;
        const uint32_t id = data->uID;
        QObject::connect(shown.m_Icon.get(), &QSystemTrayIcon::activated,
                         [key, id](QSystemTrayIcon::ActivationReason reason) {
                             const auto icon = g_Icons.find(key);
                             if (icon != g_Icons.end() && icon->second.m_Message != 0)
                                 SendMessage(icon->second.m_Window, icon->second.m_Message, id,
                                             MouseMessage(reason, icon->second.m_Menu != nullptr));
                         });
        found = g_Icons.find(key);
    }
    tShown& shown = found->second;
    if ((data->uFlags & NIF_ICON) && data->hIcon)
        shown.m_Icon->setIcon(*data->hIcon);
    if (data->uFlags & NIF_TIP)
        shown.m_Icon->setToolTip(ToQString(data->szTip));
    shown.m_Message = (data->uFlags & NIF_MESSAGE) ? data->uCallbackMessage : 0;
    shown.m_Icon->show();
    return true;
}

bool SetNotifyIconMenu(QWidget* window, uint32_t id, const std::function<tMenuItems()>& items) {
    const auto found = g_Icons.find(std::make_pair(window, id));
    if (g_Handler || found == g_Icons.end() || !IsStatusNotifierTray())
        return false;
    tShown& shown = found->second;
    shown.m_Menu = std::make_unique<QMenu>();
    for (const auto& [text, command] : items())
        QObject::connect(shown.m_Menu->addAction(ToQString(text)), &QAction::triggered,
                         [window = shown.m_Window, command = command] {
                             if (window)
                                 SendMessage(window, WM_COMMAND, command, 0);
                         });
    shown.m_Icon->setContextMenu(shown.m_Menu.get());
    return true;
}

tNotifyIconHandler SetNotifyIconHandler(tNotifyIconHandler handler) {
    tNotifyIconHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
