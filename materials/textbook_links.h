// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// How the textbook reads the address of a page it is about to open.
//
// A link whose last part reads "<any text>$<video file>=<page>" starts a video fragment: the
// fragment is "\images\$<video file>" below the program folder and the viewer returns to
// "\html\<page>" afterwards. The address is scanned from its end exactly as the textbook always
// has: an "=" in the last part names the return page even without a "$"; a "$" without an "="
// takes the video file name to the end of the address.

struct AddressInterpretation {
    /// ProgramFolder, or ProgramFolder + "\html\" + page when the last part has an "=".
    QString pagePath;
    /// Set when the last part has an "=": the page to return to after the video.
    std::optional<QString> returnPage;
    /// Set when the last part has a "$": ProgramFolder + "\images\" + the video part.
    std::optional<QString> videoFile;
};

AddressInterpretation InterpretAddress(const QString& address, const QString& programFolder);

/// The address of a page as text: the local path for a file ("/" separators, "#fragment" kept),
/// the full address for anything else.
QString AddressText(const QUrl& url);

/// The page an address text names: a local path ("\" or "/" separators, optionally with a
/// "#fragment") or a full address with a scheme.
QUrl AddressUrl(const QString& address);

/// True when url names a page inside folder: a local file below it once "..", symbolic links and
/// (on Windows) the case of letters are resolved. The folder itself and folders below it are no
/// pages; a file that does not exist is inside when its place is.
bool PageInsideFolder(const QUrl& url, const QString& folder);
