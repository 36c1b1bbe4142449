// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/new_window_watch.h"

#include "platform/window_manager.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

namespace {
using WindowManager::Atom;
using WindowManager::X11Connection;

// The window directly below a root that holds window: itself without a window manager, its frame
// under one.
xcb_window_t RootChildOf(xcb_connection_t* connection, xcb_window_t window) {
    for (int depth = 0; depth < 16 && window != XCB_WINDOW_NONE; ++depth) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        if (tree == nullptr)
            return XCB_WINDOW_NONE;
        const xcb_window_t parent = tree->parent;
        const xcb_window_t root = tree->root;
        free(tree);
        if (parent == root || parent == XCB_WINDOW_NONE)
            return window;
        window = parent;
    }
    return XCB_WINDOW_NONE;
}

// True when window (a child of a root) holds one of this program's windows.
bool OwnWindow(xcb_connection_t* connection, xcb_window_t window) {
    for (QWindow* own : QGuiApplication::allWindows()) {
        if (own->handle() == nullptr || !own->isVisible())
            continue;
        const auto id = static_cast<xcb_window_t>(own->winId());
        if (id == window || RootChildOf(connection, id) == window)
            return true;
    }
    return false;
}
} // namespace

NewWindowWatch::NewWindowWatch(std::function<void()> appeared, QObject* parent)
    : QObject(parent), m_appeared(std::move(appeared)) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr)
        return;
    m_activeAtom = Atom(connection, "_NET_ACTIVE_WINDOW");
    m_desktopAtom = Atom(connection, "_NET_CURRENT_DESKTOP");
    // Any client may hear of the root windows' children being mapped (only the redirection is the
    // window manager's) and of the roots' properties: add that to what this program already hears
    // from each root.
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem;
         xcb_screen_next(&screens)) {
        const xcb_window_t root = screens.data->root;
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, root), nullptr);
        const quint32 oldMask = attributes != nullptr ? attributes->your_event_mask : 0;
        free(attributes);
        const quint32 mask =
            oldMask | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        m_roots << root;
        m_oldMasks << oldMask;
    }
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

NewWindowWatch::~NewWindowWatch() {
    if (m_roots.isEmpty())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t* connection = X11Connection()) {
        for (qsizetype i = 0; i < m_roots.size(); ++i) {
            const quint32 mask = m_oldMasks[i];
            xcb_change_window_attributes(connection, m_roots[i], XCB_CW_EVENT_MASK, &mask);
        }
        xcb_flush(connection);
    }
}

bool NewWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7f;
    if (m_pending)
        return false;
    if (type == XCB_MAP_NOTIFY) {
        if (!m_roots.contains(static_cast<const xcb_map_notify_event_t*>(message)->event))
            return false;
    } else if (type == XCB_CONFIGURE_NOTIFY) {
        // Another program's window restacked (raised by itself or by a request to the window
        // manager); the program's own windows move when they are put back in front.
        const auto* configured = static_cast<const xcb_configure_notify_event_t*>(message);
        xcb_connection_t* connection = X11Connection();
        if (!m_roots.contains(configured->event) || connection == nullptr ||
            OwnWindow(connection, configured->window))
            return false;
    } else if (type == XCB_PROPERTY_NOTIFY) {
        // The window manager activated a window or showed another desktop.
        const auto* changed = static_cast<const xcb_property_notify_event_t*>(message);
        if (!m_roots.contains(changed->window) ||
            (changed->atom != m_activeAtom && changed->atom != m_desktopAtom))
            return false;
    } else {
        return false;
    }
    // Not inside the event dispatch: right after it.
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            m_appeared();
        },
        Qt::QueuedConnection);
    return false; // Qt handles the event as well
}
