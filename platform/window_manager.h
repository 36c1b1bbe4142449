// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <optional>

class QWindow;
struct xcb_connection_t;

/// What the program asks of, and reads from, the window manager of an X11 display through the
/// desktop hints (_NET_*). Elsewhere, and on a display without a window manager, every request
/// does nothing and every reading is empty.
namespace WindowManager {

/// The window the window manager made active, when it is not one of this program's visible
/// windows; 0 for none or one of this program's.
quint32 OthersActiveWindow();
/// Asks the window manager to activate window (give it the keyboard and raise it), as a pager
/// does: window managers refuse that to no one.
void Activate(QWindow* window);
/// Asks the window manager to take the full-screen state from another program's window.
void DropFullScreen(quint32 window);
/// Puts window on every desktop (the window manager keeps it mapped whichever desktop is shown),
/// before its mapping or after it.
void KeepOnAllDesktops(QWindow* window);
/// The desktop shown now; empty without a window manager that has desktops.
std::optional<quint32> CurrentDesktop();
/// Asks the window manager to show desktop.
void ShowDesktop(quint32 desktop);

/// The program's connection to its X11 display; null on any other platform.
xcb_connection_t* X11Connection();
/// The X11 atom of name (made if the server has none yet); 0 when it cannot be had.
quint32 Atom(xcb_connection_t* connection, const char* name);

} // namespace WindowManager
