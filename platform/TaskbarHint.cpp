#include "platform/TaskbarHint.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

std::vector<xcb_atom_t> States(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, window, Atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 32);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<xcb_atom_t> states;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        states.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return states;
}

// The way a client changes the state of a mapped window: a message to the root window.
void AskForState(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t state) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(connection, "_NET_WM_STATE");
    message.data.data32[0] = 1; // add
    message.data.data32[1] = state;
    message.data.data32[3] = 1; // from an application
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

void CheckAbove(const QPointer<QWidget>& window) {
    xcb_connection_t* connection = Connection();
    if (!connection || !window || !window->isVisible())
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t above = Atom(connection, "_NET_WM_STATE_ABOVE");
    const std::vector<xcb_atom_t> states = States(connection, id);
    bool hasAbove = false;
    for (xcb_atom_t state : states)
        hasAbove = hasAbove || state == above;
    if (hasAbove)
        return;
    AskForState(connection, id, above);
}

} // namespace

void HideFromTaskbar(QWidget* window) {
    xcb_connection_t* connection = Connection();
    if (!connection || !window || window->isVisible())
        return; // other platforms honour the tool window flag; a mapped window keeps its state
    const xcb_window_t id = static_cast<xcb_window_t>(window->winId());
    // Qt merges the states it sets itself with the ones already on the unmapped window; a
    // window that stays on top says so itself as well.
    std::vector<xcb_atom_t> states = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                      Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (window->windowFlags() & Qt::WindowStaysOnTopHint)
        states.push_back(Atom(connection, "_NET_WM_STATE_ABOVE"));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

void KeepAbove(QWidget* window) {
    if (!Connection() || !window)
        return;
    const QPointer<QWidget> guard(window);
    for (int after : {50, 250, 1000, 3000})
        QTimer::singleShot(after, window, [guard] { CheckAbove(guard); });
}
