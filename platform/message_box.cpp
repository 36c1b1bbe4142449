#include "platform/message_box.h"

#include <QMessageBox>

namespace {
MessageBoxHook g_hook;
// The program's name on every message box. No application display name is set: the window system
// would append it to every screen's title.
const QString kMessageTitle = QStringLiteral("Тестирование");
} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    g_hook = std::move(hook);
}

void ShowMessage(const QString& text, MessageKind kind, QWidget* parent) {
    if (g_hook) {
        g_hook(kind, text);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(kMessageTitle);
    box.setText(text);
    box.setIcon(kind == MessageKind::Error     ? QMessageBox::Critical
                : kind == MessageKind::Warning ? QMessageBox::Warning
                                               : QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
    // The program's screens stay on top; the box must stand above them.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}
