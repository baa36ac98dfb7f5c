#include "platform/TrayIcon.h"

#include "platform/Gdi.h"
#include "platform/WindowMessage.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <map>
#include <memory>

namespace {

tNotifyIconHandler g_Handler;

struct tShown {
    std::unique_ptr<QSystemTrayIcon> m_Icon;
    QPointer<QWidget> m_Window;
    uint32_t m_Message = 0;
};
std::map<std::pair<QWidget*, uint32_t>, tShown> g_Icons;

// The tray's activation reasons as the mouse messages a Windows tray sends.
UINT MouseMessage(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONUP;
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
                                             MouseMessage(reason));
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

tNotifyIconHandler SetNotifyIconHandler(tNotifyIconHandler handler) {
    tNotifyIconHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}
