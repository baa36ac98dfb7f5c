// Window messages between our own windows: the tray's callback, menu commands and the deferred
// close travel as events carrying a message number and its two parameters.
#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_USER = 0x0400;

// Window styles the builders pass on.
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t ES_CENTER = 0x0001;
constexpr uint32_t ES_MULTILINE = 0x0004;

class tWindowMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();
    tWindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(EventType()), m_Message(message), m_WParam(wParam), m_LParam(lParam) {}

    UINT m_Message;
    WPARAM m_WParam;
    LPARAM m_LParam;
    LRESULT m_Result = 0;
};

// Delivers the message at once and returns the receiver's result.
LRESULT SendMessage(QObject* window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues the message; it is delivered when the event loop gets to it.
void PostMessage(QObject* window, UINT message, WPARAM wParam, LPARAM lParam);
