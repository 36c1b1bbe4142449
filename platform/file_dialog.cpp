#include "platform/file_dialog.h"

#include <QFileDialog>

namespace {
FileDialogHook g_hook;
}

void SetFileDialogHook(FileDialogHook hook) {
    g_hook = std::move(hook);
}

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter,
                         const QString& initialFolder) {
    if (g_hook)
        return g_hook(title, filter, initialFolder);
    return QFileDialog::getOpenFileName(parent, title, initialFolder, filter);
}
