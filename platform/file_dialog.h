// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;
class QWidget;

// The file-open dialog. Tests install a hook that returns the chosen path (or an empty text
// for a cancelled dialog) without showing a window.

/// Runs the file-open dialog in initialFolder and returns the chosen path, or an empty text when
/// it was cancelled. Only a file of that folder can be chosen (see FolderFileDialog). With
/// `names`, the dialog lists those names instead of reading the folder (a folder the user may
/// not read, whose files another program hands over).
QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter,
                         const QString& initialFolder, const QStringList* names = nullptr);

using FileDialogHook =
    std::function<QString(const QString& title, const QString& filter, const QString& folder)>;
void SetFileDialogHook(FileDialogHook hook);

/// A file-open dialog confined to one folder. It lists the regular files of the folder that
/// match the filter (no folders, no symbolic links, no special files) and leads nowhere else:
/// it has no side bar, history, look-in list or parent button, and a typed name is a name in the
/// folder, never a path. Nothing in it changes a file: no delete, rename, new folder or drag and
/// drop. A typed name of a file that does not exist is returned as it is, for the caller to say so.
class FolderFileDialog : public QDialog {
    Q_OBJECT
public:
    /// filter: a description followed by its patterns in brackets, "Текстовые файлы (*.txt)".
    FolderFileDialog(QWidget* parent, const QString& title, const QString& filter,
                     const QString& folder);

    /// Lists `names` instead of the folder's files; a typed name is then never looked up on the
    /// disk, and the caller reads it through whatever handed over the names.
    void ShowNames(const QStringList& names);

    /// The chosen file after the dialog was accepted, else an empty text.
    QString SelectedPath() const { return m_selected; }

    /// The notice shown when a typed name leads out of the folder or is no regular file.
    static const QString kOutsideNotice;

public Q_SLOTS:
    void accept() override;

private:
    /// The captions of the dialog's rows, placed by LayOut().
    struct Captions {
        QLabel* folder = nullptr;
        QLabel* name = nullptr;
        QLabel* type = nullptr;
    };
    QLabel* BuildFolderLabel();
    void BuildFileList();
    void BuildNameAndType(const QString& filter, Captions& captions);
    void BuildButtonsAndNotice();
    void LayOut(const Captions& captions);
    void ConnectControls();
    void ListFiles();
    /// The path of name in the folder when it may be opened; else an empty text.
    QString PathInFolder(const QString& name) const;

    QString m_folder;
    QStringList m_patterns;
    QString m_selected;
    bool m_namesGiven = false;
    QLabel* m_folderLabel;
    QListView* m_fileList;
    QStringListModel* m_files;
    QLineEdit* m_fileName;
    QComboBox* m_fileType;
    QLabel* m_notice;
    QPushButton* m_open;
    QPushButton* m_cancel;
};
