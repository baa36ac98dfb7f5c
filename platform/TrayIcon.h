// The notification area: Shell_NotifyIcon on the desktop's system tray.
#pragma once

#include <QIcon>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QWidget;

constexpr unsigned NIM_ADD = 0;
constexpr unsigned NIM_MODIFY = 1;
constexpr unsigned NIM_DELETE = 2;
constexpr unsigned NIF_MESSAGE = 1;
constexpr unsigned NIF_ICON = 2;
constexpr unsigned NIF_TIP = 4;

struct NOTIFYICONDATA {
    uint32_t cbSize = 0;
    QWidget* hWnd = nullptr;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    const QIcon* hIcon = nullptr;
    char szTip[128] = {};
};

// Adds, changes or removes the icon; true when the tray accepted the call.  Mouse events on
// the icon reach hWnd as uCallbackMessage with the icon's identifier and a mouse message.
bool Shell_NotifyIcon(unsigned operation, NOTIFYICONDATA* data);

// Trays that draw the icon's menu themselves (StatusNotifierItem hosts: KDE Plasma, GNOME's
// AppIndicator extension) take it from the icon: each item reaches the window as WM_COMMAND
// with its command.  Those hosts also report a single activation, which the window gets as a
// double click.  False where the tray leaves the menu to the program (an XEmbed tray); items
// is asked for the menu's texts and commands only where it is needed.
using tMenuItems = std::vector<std::pair<std::string, unsigned>>;
bool SetNotifyIconMenu(QWidget* window, uint32_t id, const std::function<tMenuItems()>& items);

using tNotifyIconHandler = std::function<bool(unsigned operation, const NOTIFYICONDATA& data)>;
tNotifyIconHandler SetNotifyIconHandler(tNotifyIconHandler handler);
