#pragma once

#include <QString>
#include <functional>

class QWidget;

// The file-open dialog. Tests install a hook that returns the chosen path (or an empty text
// for a cancelled dialog) without showing a window.

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter,
                         const QString& initialFolder);

using FileDialogHook =
    std::function<QString(const QString& title, const QString& filter, const QString& folder)>;
void SetFileDialogHook(FileDialogHook hook);
