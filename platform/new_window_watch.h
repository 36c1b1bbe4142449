// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>
#include <functional>

/// Tells when a window of another program appears on the display or changes its place in the
/// stack (on X11: a child of a root window, a window manager's frame included, mapped or
/// configured). Elsewhere it never tells.
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
    bool m_pending = false;
};
