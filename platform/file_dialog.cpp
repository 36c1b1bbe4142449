// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringListModel>

namespace {
FileDialogHook g_hook;

/// The patterns in the brackets at the end of a filter, "*.txt" of "Текстовые файлы (*.txt)".
QStringList FilterPatterns(const QString& filter) {
    static const QRegularExpression brackets(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = brackets.match(filter);
    const QStringList patterns = match.hasMatch()
                                     ? match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)
                                     : QStringList();
    return patterns.isEmpty() ? QStringList{QStringLiteral("*")} : patterns;
}
} // namespace

const QString FolderFileDialog::kOutsideNotice =
    QStringLiteral("Открыть можно только файл из этой папки.");

void SetFileDialogHook(FileDialogHook hook) {
    g_hook = std::move(hook);
}

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter,
                         const QString& initialFolder, const QStringList* names) {
    if (g_hook)
        return g_hook(title, filter, initialFolder);
    FolderFileDialog dialog(parent, title, filter, initialFolder);
    if (names)
        dialog.ShowNames(*names);
    return dialog.exec() == QDialog::Accepted ? dialog.SelectedPath() : QString();
}

FolderFileDialog::FolderFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& folder)
    : QDialog(parent), m_folder(QDir::cleanPath(folder)), m_patterns(FilterPatterns(filter)) {
    setObjectName(QStringLiteral("FolderFileDialog"));
    // The screens of the program stay on top; the dialog must stand above them.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(title);

    // Made in the order of the keyboard's Tab.
    Captions captions;
    captions.folder = BuildFolderLabel();
    BuildFileList();
    BuildNameAndType(filter, captions);
    BuildButtonsAndNotice();
    LayOut(captions);
    ConnectControls();

    ListFiles();
    m_fileName->setFocus();
}

QLabel* FolderFileDialog::BuildFolderLabel() {
    auto* caption = new QLabel(QStringLiteral("Папка:"), this);
    m_folderLabel = new QLabel(QDir::toNativeSeparators(m_folder), this);
    m_folderLabel->setObjectName(QStringLiteral("folderLabel"));
    m_folderLabel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_folderLabel->setTextInteractionFlags(Qt::NoTextInteraction);
    return caption;
}

void FolderFileDialog::BuildFileList() {
    // The list only shows names: no editing, no dragging, no menu.
    m_files = new QStringListModel(this);
    m_fileList = new QListView(this);
    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_fileList->setModel(m_files);
    m_fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_fileList->setDragEnabled(false);
    m_fileList->setAcceptDrops(false);
    m_fileList->setContextMenuPolicy(Qt::NoContextMenu);
    m_fileList->setViewMode(QListView::ListMode);
    m_fileList->setFlow(QListView::TopToBottom);
    m_fileList->setWrapping(true);
    m_fileList->setResizeMode(QListView::Adjust);
}

void FolderFileDialog::BuildNameAndType(const QString& filter, Captions& captions) {
    captions.name = new QLabel(QStringLiteral("Имя файла:"), this);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(QStringLiteral("fileNameEdit"));
    captions.name->setBuddy(m_fileName);
    captions.type = new QLabel(QStringLiteral("Тип файлов:"), this);
    m_fileType = new QComboBox(this);
    m_fileType->setObjectName(QStringLiteral("fileTypeCombo"));
    m_fileType->addItem(filter);
    captions.type->setBuddy(m_fileType);
}

void FolderFileDialog::BuildButtonsAndNotice() {
    m_open = new QPushButton(QStringLiteral("Открыть"), this);
    m_open->setObjectName(QStringLiteral("openButton"));
    m_open->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("noticeLabel"));
    QPalette noticePalette = m_notice->palette();
    noticePalette.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
    m_notice->setPalette(noticePalette);
    m_notice->hide();
}

void FolderFileDialog::LayOut(const Captions& captions) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(captions.folder, 0, 0);
    grid->addWidget(m_folderLabel, 0, 1, 1, 2);
    grid->addWidget(m_fileList, 1, 0, 1, 3);
    grid->addWidget(captions.name, 2, 0);
    grid->addWidget(m_fileName, 2, 1);
    grid->addWidget(m_open, 2, 2);
    grid->addWidget(captions.type, 3, 0);
    grid->addWidget(m_fileType, 3, 1);
    grid->addWidget(m_cancel, 3, 2);
    grid->addWidget(m_notice, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    resize(560, 340);
}

void FolderFileDialog::ConnectControls() {
    connect(m_open, &QPushButton::clicked, this, &FolderFileDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &FolderFileDialog::reject);
    connect(m_fileList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_fileName->setText(current.data().toString());
            });
    connect(m_fileList, &QListView::activated, this, [this](const QModelIndex& index) {
        m_fileName->setText(index.data().toString());
        accept();
    });
    connect(m_fileName, &QLineEdit::textEdited, m_notice, &QLabel::hide);
}

void FolderFileDialog::ListFiles() {
    // Regular files only: QDir::Files without QDir::System leaves out FIFOs, sockets and devices,
    // QDir::NoSymLinks every link (and, on Windows, every shortcut).
    const QDir folder(m_folder);
    m_files->setStringList(folder.entryList(m_patterns, QDir::Files | QDir::NoSymLinks,
                                            QDir::Name | QDir::IgnoreCase | QDir::LocaleAware));
}

void FolderFileDialog::ShowNames(const QStringList& names) {
    m_namesGiven = true;
    QStringList shown = names;
    shown.sort(Qt::CaseInsensitive);
    m_files->setStringList(shown);
}

QString FolderFileDialog::PathInFolder(const QString& name) const {
    // A name, never a path: no separator (either kind, so that the Windows build refuses them
    // too), no drive, no "." or "..".
    static const QRegularExpression pathSigns(QStringLiteral("[/\\\\:]"));
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(pathSigns))
        return QString();
    const QString path = QDir(m_folder).filePath(name);
    if (m_namesGiven)
        return path; // the names' owner reads it, and refuses what is no file of the folder
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return path; // nothing of that name: the caller says that no file was chosen
    if (info.isSymLink() || !info.isFile())
        return QString();
    // The file stands in the folder itself, however the folder was reached.
    const QString canonicalFolder = QFileInfo(m_folder).canonicalFilePath();
    if (canonicalFolder.isEmpty() ||
        QFileInfo(info.canonicalFilePath()).absolutePath() != canonicalFolder)
        return QString();
    return path;
}

void FolderFileDialog::accept() {
    const QString name = m_fileName->text();
    if (name.isEmpty())
        return;
    const QString path = PathInFolder(name);
    if (path.isEmpty()) {
        m_notice->setText(kOutsideNotice);
        m_notice->show();
        m_fileName->selectAll();
        m_fileName->setFocus();
        return;
    }
    m_selected = path;
    QDialog::accept();
}
