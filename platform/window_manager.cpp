// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window_manager.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>

namespace WindowManager {

xcb_connection_t* X11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

quint32 Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

} // namespace WindowManager

namespace {

using WindowManager::Atom;
using WindowManager::X11Connection;

xcb_window_t Root(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The first 32-bit value of a property, if the window has it.
std::optional<quint32> Cardinal(xcb_connection_t* connection, xcb_window_t window,
                                const char* property, xcb_atom_t type) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, Atom(connection, property), type, 0, 1),
        nullptr);
    std::optional<quint32> value;
    if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        value = *static_cast<const quint32*>(xcb_get_property_value(reply));
    free(reply);
    return value;
}

// A request to the window manager: a client message about window, sent to the root window as
// the desktop hints ask.
void Ask(xcb_connection_t* connection, xcb_window_t window, const char* request,
         std::initializer_list<quint32> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(connection, request);
    int i = 0;
    for (const quint32 value : data)
        message.data.data32[i++] = value;
    xcb_send_event(connection, 0, Root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

// What the desktop hints say of the source of a request: a pager's (or the user's own).
constexpr quint32 kPagerSource = 2;
constexpr quint32 kAllDesktops = 0xFFFFFFFF;
constexpr quint32 kAddState = 1;
constexpr quint32 kRemoveState = 0;

} // namespace

namespace WindowManager {

quint32 OthersActiveWindow() {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr)
        return 0;
    const std::optional<quint32> active =
        Cardinal(connection, Root(connection), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
    if (!active || *active == XCB_WINDOW_NONE)
        return 0;
    for (QWindow* own : QGuiApplication::allWindows()) {
        if (own->handle() != nullptr && own->isVisible() && own->winId() == *active)
            return 0;
    }
    return *active;
}

void Activate(QWindow* window) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window == nullptr || window->handle() == nullptr)
        return;
    Ask(connection, static_cast<xcb_window_t>(window->winId()), "_NET_ACTIVE_WINDOW",
        {kPagerSource, XCB_CURRENT_TIME, XCB_WINDOW_NONE});
}

void DropFullScreen(quint32 window) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window == XCB_WINDOW_NONE)
        return;
    Ask(connection, window, "_NET_WM_STATE",
        {kRemoveState, Atom(connection, "_NET_WM_STATE_FULLSCREEN"), 0, kPagerSource});
}

void KeepOnAllDesktops(QWindow* window) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window == nullptr)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (Cardinal(connection, id, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL) == kAllDesktops)
        return;
    // The property for a window not yet mapped, the request for one the window manager manages.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &kAllDesktops);
    Ask(connection, id, "_NET_WM_DESKTOP", {kAllDesktops, kPagerSource});
    Ask(connection, id, "_NET_WM_STATE",
        {kAddState, Atom(connection, "_NET_WM_STATE_STICKY"), 0, kPagerSource});
}

std::optional<quint32> CurrentDesktop() {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr)
        return std::nullopt;
    return Cardinal(connection, Root(connection), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL);
}

void ShowDesktop(quint32 desktop) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr)
        return;
    Ask(connection, Root(connection), "_NET_CURRENT_DESKTOP", {desktop, XCB_CURRENT_TIME});
}

} // namespace WindowManager
