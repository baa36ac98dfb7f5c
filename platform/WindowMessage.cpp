#include "platform/WindowMessage.h"

#include <QCoreApplication>

QEvent::Type tWindowMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

LRESULT SendMessage(QObject* window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window)
        return 0;
    tWindowMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(window, &event);
    return event.m_Result;
}

void PostMessage(QObject* window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window)
        QCoreApplication::postEvent(window, new tWindowMessageEvent(message, wParam, lParam));
}
