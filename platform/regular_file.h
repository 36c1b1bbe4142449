// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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
    Keep,    // written from its start but not emptied, which the caller does (QFile::resize)
             // once its own checks passed; created when missing
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

/// Opens `path` for reading into *file (which must not be open) when it is a regular file: a
/// pipe, a device or a folder under the name is refused without waiting on it (a pipe without a
/// writer would block the open for ever). Returns an empty string when the file is open, else
/// the reason; `*notOpened` tells a name that could not be opened at all (missing, no rights)
/// from one that was opened and refused.
QString OpenRegularFileForReading(const QString& path, QFile* file, bool* notOpened = nullptr);

/// Empty while `file`, opened as folder/fileName, is still the file under that name: not
/// deleted, not replaced by another, its folder still in place. Otherwise the reason. Writing to
/// a file that lost its name goes nowhere anyone will look, so a writer asks before it writes.
QString CheckStillNamed(QFileDevice* file, const QString& folder, const QString& fileName);

/// The last `count` bytes (fewer in a shorter file) of an open file, read through its
/// descriptor without moving its position; empty when the file cannot be read back.
QByteArray LastBytes(QFileDevice* file, int count);

/// Hands what was written to `file` to the operating system and waits until it is on the disk
/// (fdatasync, or FlushFileBuffers on Windows). Empty on success, else the reason.
QString SyncToDisk(QFileDevice* file);
/// The same for several files at once: each is flushed here, then all are forced to the disk in
/// parallel, so that the file system can put them into one journal commit. One reason per file,
/// empty for the files that reached the disk.
QStringList SyncToDisk(const QList<QFileDevice*>& files);

/// Lets a test watch the forcing to the disk: the hook sees every file SyncToDisk is about to force
/// (once it has been flushed) and returns 0 to let it go to the disk, or an error code (errno)
/// that is reported as that file's failure in place of the forcing. No hook: every file is forced.
using DiskSyncHook = std::function<int(const QFileDevice& file)>;
void SetDiskSyncHookForTesting(DiskSyncHook hook);

/// The operating system's reason for the error code `code` (errno, or GetLastError on Windows):
/// Russian for the failures a lab meets (a full disk, a lost server, missing rights...), else
/// the system's own text with its code. Never empty and never "Unknown error".
QString SystemErrorText(int code);
