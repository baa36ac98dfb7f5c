// The desktop's notification service (org.freedesktop.Notifications on the session bus): a
// second way for an alarm to reach the user, where no window may keep itself above the others
// (Wayland) or the user looked away.  Without the service nothing happens.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    struct tNotice {
        std::string m_Summary;
        std::string m_Body;
        std::string m_ImagePath;  // a picture file, or empty
        std::string m_OkLabel;    // the label of the "ok" action
        std::string m_LaterLabel; // the label of the "later" action, or empty for none
    };

    DesktopNotifier();

    // Shows the notice in place of the one shown before (no sound: the program plays its own).
    void Show(const tNotice& notice);
    // Takes the notice shown away.
    void Close();
    // The same, waiting a moment for the service: the program is about to end, and a notice
    // left behind would offer actions nobody answers.
    void CloseNow();

    // The user chose the notice itself, or its "ok" or "later" action.
    std::function<void()> m_OnDefault;
    std::function<void()> m_OnOk;
    std::function<void()> m_OnLater;

    // Tests see the notices instead of the desktop; Close is shown as an empty notice.
    using tHandler = std::function<void(const tNotice& notice)>;
    static tHandler SetHandler(tHandler handler);
    // What the service does when the user chooses an action.
    void OnActionInvoked(uint id, const QString& action);

private Q_SLOTS:
    void ActionInvoked(uint id, const QString& action) { OnActionInvoked(id, action); }
    void NotificationClosed(uint id, uint reason);

private:
    uint m_Id = 0;         // the notice shown, 0 when none
    uint m_Generation = 0; // so that a late answer to an old Show is dropped
};
