// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace {
MessageBoxHook g_hook;
// The program's name on every message box. No application display name is set: the window system
// would append it to every screen's title.
const QString kMessageTitle = QStringLiteral("Тестирование");
// Time the window system gets to map the box before it is raised and activated once more.
constexpr int kRaiseAgainMs = 150;
} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    g_hook = std::move(hook);
}

void ShowMessage(const QString& text, MessageKind kind, QWidget* parent) {
    if (g_hook) {
        g_hook(kind, text);
        return;
    }
    // The box belongs to no screen: a screen that closes and frees itself while the box is open
    // (its deletion may run in the box's own event loop) must not take the box with it.
    const QPointer<QWidget> returnTo(parent != nullptr ? parent->window()
                                                       : QApplication::activeWindow());
    QMessageBox box;
    box.setWindowTitle(kMessageTitle);
    box.setText(text);
    box.setIcon(kind == MessageKind::Error     ? QMessageBox::Critical
                : kind == MessageKind::Warning ? QMessageBox::Warning
                                               : QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    // The program's screens stay on top; the box must stand above them and keep the keyboard,
    // also without a window manager and after a screen raised itself in the meantime.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto toFront = [&box] {
        box.raise();
        box.activateWindow();
    };
    QTimer::singleShot(0, &box, toFront);
    QTimer::singleShot(kRaiseAgainMs, &box, toFront);
    box.exec();
    // The keyboard goes back to the screen that asked, if it is still there to take it.
    if (returnTo && returnTo->isVisible() && QApplication::activeModalWidget() == nullptr)
        returnTo->activateWindow();
}
