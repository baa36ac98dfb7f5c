#include "platform/DesktopNotifier.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";

DesktopNotifier::tHandler g_Handler;

} // namespace

DesktopNotifier::DesktopNotifier() {
    if (g_Handler)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, "ActionInvoked", this,
                SLOT(ActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, "NotificationClosed", this,
                SLOT(NotificationClosed(uint, uint)));
}

DesktopNotifier::tHandler DesktopNotifier::SetHandler(tHandler handler) {
    tHandler previous = std::move(g_Handler);
    g_Handler = std::move(handler);
    return previous;
}

void DesktopNotifier::Show(const tNotice& notice) {
    if (g_Handler) {
        g_Handler(notice);
        m_Id = 1; // what a service would have answered
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QVariantMap hints;
    hints["suppress-sound"] = true;
    // The installed menu entry: its name and icon stand for the program in the notice list.
    hints["desktop-entry"] = QString("org.zembrola.Zembrola");
    hints["category"] = QString("x-zembrola.birthday");
    if (!notice.m_ImagePath.empty())
        hints["image-path"] =
            QUrl::fromLocalFile(QString::fromLocal8Bit(notice.m_ImagePath)).toString();
    QStringList actions{"default", ToQString(notice.m_Summary), "ok", ToQString(notice.m_OkLabel)};
    if (!notice.m_LaterLabel.empty())
        actions << "later" << ToQString(notice.m_LaterLabel);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    call << QString("Zembrola") << m_Id << QString("zembrola") << ToQString(notice.m_Summary)
         << ToQString(notice.m_Body) << actions << hints
         << int(0); // stays until the user answers it
    // Asynchronous: a service that must first be started never holds up the alarm window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    const uint generation = ++m_Generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                finished->deleteLater();
                if (reply.isValid() && generation == m_Generation)
                    m_Id = reply.value();
            });
}

void DesktopNotifier::Close() {
    if (g_Handler) {
        g_Handler(tNotice{});
        m_Id = 0;
        return;
    }
    ++m_Generation;
    if (m_Id == 0)
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification");
    call << m_Id;
    QDBusConnection::sessionBus().asyncCall(call);
    m_Id = 0;
}

void DesktopNotifier::CloseNow() {
    if (g_Handler || m_Id == 0) {
        Close();
        return;
    }
    ++m_Generation;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification");
    call << m_Id;
    m_Id = 0;
    QDBusConnection::sessionBus().call(call, QDBus::Block, 1000);
}

void DesktopNotifier::OnActionInvoked(uint id, const QString& action) {
    if (id == 0 || id != m_Id)
        return; // another program's notice, or one of ours already answered
    // A server may keep a notice whose action was chosen (dunst does): the callbacks close it.
    if (action == "ok" || action == "later") {
        const std::function<void()>& chosen = action == "ok" ? m_OnOk : m_OnLater;
        if (chosen)
            chosen();
        else
            Close();
    } else if (action == "default" && m_OnDefault) {
        m_OnDefault();
    }
}

void DesktopNotifier::NotificationClosed(uint id, uint) {
    if (id == m_Id)
        m_Id = 0;
}
