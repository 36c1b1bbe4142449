// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QFile;
class QFileDevice;

// Opening the program's output files so that nothing but a plain file inside the given folder is
// ever written: the folder is opened without following a symbolic link, the file is opened inside
// that opened folder without following one either and without waiting on a pipe, and the opened
// file itself (not its name a second time) is checked to be a regular file with no other name,
// before a byte is written or anything is cut off. Also the forcing of written data to the disk
// and the operating system's reason for a failure, in Russian where the program knows it.

enum class WriteMode {
    Append,  // written at the end; created when missing
    Replace, // emptied once the checks passed; created when missing
};

/// Empty when `folder` is an existing folder that is not a symbolic link; otherwise the reason
/// ("нет папки <folder>" when it is missing).
QString CheckOutputFolder(const QString& folder);

/// Empty when folder/fileName could be opened by OpenRegularFileForWriting as things stand: the
/// folder passes CheckOutputFolder and the name is free or a plain file. Opens nothing, so a
/// caller can check every file it will write before it touches any; the open checks again.
QString CheckOutputFile(const QString& folder, const QString& fileName);

/// Opens folder/fileName for writing into *file (which must not be open). `fileName` is one name
/// without separators. Refused, with the reason returned, when the folder fails
/// CheckOutputFolder, or the file exists as anything but a regular file (a symbolic link, a
/// folder, a pipe, a device) or has another name too (a hard link can lead anywhere on the
/// same disk). Returns an empty string when the file is open.
QString OpenRegularFileForWriting(const QString& folder, const QString& fileName, WriteMode mode,
                                  QFile* file);

/// Hands what was written to `file` to the operating system and waits until it is on the disk
/// (fdatasync, or FlushFileBuffers on Windows). Empty on success, else the reason.
QString SyncToDisk(QFileDevice* file);
/// The same for several files at once: each is flushed here, then all are forced to the disk in
/// parallel, so that the file system can put them into one journal commit. One reason per file,
/// empty for the files that reached the disk.
QStringList SyncToDisk(const QList<QFileDevice*>& files);

/// The operating system's reason for the error code `code` (errno, or GetLastError on Windows):
/// Russian for the failures a lab meets (a full disk, a lost server, missing rights...), else
/// the system's own text with its code. Never empty and never "Unknown error".
QString SystemErrorText(int code);
