// The icon in the notification area, its tip, and its small menu (Show, Hide, Exit) in the
// current language.  Mouse events on the icon reach the notification window as a message.
#pragma once

#include "platform/TrayIcon.h"
#include "platform/WindowMessage.h"

#include <QObject>
#include <string>

class tTrayIcon : public QObject {
public:
    explicit tTrayIcon(unsigned id);
    ~tTrayIcon() override;

    void SetNotificationWnd(QWidget* window, unsigned message);
    // The icon of that resource with the tip; 0 removes the icon.
    bool SetIcon(unsigned resourceId, const char* tip);
    // The icon and the tip of that resource; 0 removes the icon.
    bool SetIcon(unsigned resourceId);
    // Adds, changes or removes the icon; true when the tray accepted the call.
    bool SetIcon(const QIcon* icon, const char* tip);
    // wParam: the icon's identifier; lParam: the mouse message.  1 when it acted.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

    bool IsShown() const { return m_Data.hIcon != nullptr; }

    NOTIFYICONDATA m_Data;
};
