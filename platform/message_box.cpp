#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageBoxHook g_hook;
}

void SetMessageBoxHook(MessageBoxHook hook) {
    g_hook = std::move(hook);
}

void ShowMessage(const QString& text, MessageKind kind, QWidget* parent) {
    if (g_hook) {
        g_hook(kind, text);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    box.setIcon(kind == MessageKind::Error     ? QMessageBox::Critical
                : kind == MessageKind::Warning ? QMessageBox::Warning
                                               : QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
    // The program's screens stay on top; the box must stand above them.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}
