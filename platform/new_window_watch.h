// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>
#include <functional>

/// Tells when a window of another program appears on the display or changes its place in the
/// stack (on X11: a child of a root window, a window manager's frame included, mapped or
/// configured), and when the window manager makes another window active or shows another desktop
/// (the root window's _NET_ACTIVE_WINDOW and _NET_CURRENT_DESKTOP). Elsewhere it never tells.
class NewWindowWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    /// appeared runs from the event loop, after the window system's event, once for every burst.
    NewWindowWatch(std::function<void()> appeared, QObject* parent);
    ~NewWindowWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> m_appeared;
    QList<quint32> m_roots;
    QList<quint32> m_oldMasks;
    quint32 m_activeAtom = 0;
    quint32 m_desktopAtom = 0;
    bool m_pending = false;
};
