#pragma once

#include <QString>
#include <functional>

class QWidget;

// Message boxes with an OK button. Tests install a hook that records the text instead of
// showing a window; the hook runs in place of the box, so the caller goes on at once.

enum class MessageKind { Information, Warning, Error };

void ShowMessage(const QString& text, MessageKind kind = MessageKind::Information,
                 QWidget* parent = nullptr);

using MessageBoxHook = std::function<void(MessageKind, const QString&)>;
void SetMessageBoxHook(MessageBoxHook hook);
