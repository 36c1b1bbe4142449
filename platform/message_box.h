// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Message boxes with an OK button. Tests install a hook that records the text instead of
// showing a window; the hook runs in place of the box, so the caller goes on at once.

enum class MessageKind { Information, Warning, Error };

/// Shows the box above every screen and returns when it is closed. `parent` is the screen that
/// asks: it gets the keyboard back afterwards, but never owns the box.
void ShowMessage(const QString& text, MessageKind kind = MessageKind::Information,
                 QWidget* parent = nullptr);

using MessageBoxHook = std::function<void(MessageKind, const QString&)>;
void SetMessageBoxHook(MessageBoxHook hook);
