#include "tray/tTrayIcon.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "platform/Menu.h"
#include "resources/Resources.h"
#include "support/tLanguageString.h"

#include <QAction>
#include <QMenu>
#include <cstdio>

tTrayIcon::tTrayIcon(unsigned id) {
    m_Data = NOTIFYICONDATA();
    m_Data.cbSize = 88;
    m_Data.uID = id;
}

tTrayIcon::~tTrayIcon() {
    SetIcon(0u);
}

void tTrayIcon::SetNotificationWnd(QWidget* window, unsigned message) {
    m_Data.hWnd = window;
    m_Data.uCallbackMessage = message;
}

bool tTrayIcon::SetIcon(unsigned resourceId, const char* tip) {
    return SetIcon(resourceId ? LoadIcon(resourceId) : nullptr, tip);
}

bool tTrayIcon::SetIcon(unsigned resourceId) {
    if (resourceId != 0)
        std::snprintf(m_Data.szTip, sizeof m_Data.szTip, "%s", LoadString(resourceId).c_str());
    return SetIcon(resourceId ? LoadIcon(resourceId) : nullptr, nullptr);
}

bool tTrayIcon::SetIcon(const QIcon* icon, const char* tip) {
    m_Data.uFlags = 0;
    unsigned operation = NIM_DELETE;
    if (icon) {
        operation = m_Data.hIcon ? NIM_MODIFY : NIM_ADD;
        m_Data.hIcon = icon;
        m_Data.uFlags = NIF_ICON;
    } else if (!m_Data.hIcon) {
        return true; // nothing to remove
    }
    if (tip)
        std::snprintf(m_Data.szTip, sizeof m_Data.szTip, "%s", tip); // cut to 127 characters
    if (m_Data.szTip[0] != '\0')
        m_Data.uFlags |= NIF_TIP;
    if (m_Data.uCallbackMessage != 0 && m_Data.hWnd)
        m_Data.uFlags |= NIF_MESSAGE;
    const bool accepted = Shell_NotifyIcon(operation, &m_Data);
    if (operation == NIM_DELETE || !accepted)
        m_Data.hIcon = nullptr; // the next call adds again
    if (operation == NIM_ADD && accepted) {
        // For trays that draw the menu themselves, in the current language.
        SetNotifyIconMenu(m_Data.hWnd, m_Data.uID, [this] {
            tMenuItems items;
            if (const tMenuResource* resource = LoadMenu(m_Data.uID))
                for (const tMenuResourceItem& item : resource->m_Items)
                    items.emplace_back(g_LanguageString.GetString(item.m_Text.c_str()),
                                       item.m_Command);
            return items;
        });
    }
    return accepted;
}

LRESULT tTrayIcon::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_Data.uID)
        return 0;
    if (lParam != WM_RBUTTONUP && lParam != WM_LBUTTONDBLCLK)
        return 0;
    const tMenuResource* resource = LoadMenu(m_Data.uID);
    if (!resource || resource->m_Items.empty())
        return 0;
    // Built afresh and in the current language at every click.
    QMenu menu;
    for (const tMenuResourceItem& item : resource->m_Items) {
        QAction* action =
            menu.addAction(ToQString(g_LanguageString.GetString(item.m_Text.c_str())));
        action->setData(item.m_Command);
    }
    if (lParam == WM_RBUTTONUP) {
        menu.setDefaultAction(menu.actions().first());
        const QPoint at = GetCursorPos();
        SetForegroundWindow(m_Data.hWnd);
        TrackPopupMenu(&menu, at, m_Data.hWnd);
    } else {
        SendMessage(m_Data.hWnd, WM_COMMAND, resource->m_Items.front().m_Command, 0);
    }
    return 1;
}
