// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Between the plain texts of a question file and the HTML of Moodle question texts.

/// What an HTML text holds for a question file: its paragraphs as plain text and the files it
/// shows or links to.
struct HtmlContent {
    QStringList paragraphs; // block elements and <br> separate paragraphs; blanks collapsed
    QStringList images;     // src of every <img>
    QStringList links;      // href of every <a>, src of every <video>/<source>/<embed>
    QString Text() const { return paragraphs.join(u' '); }
};

/// Reads HTML as a browser would show its text: tags dropped, character references decoded
/// (every named reference of HTML, the old ones without ";" too, and references by number), runs
/// of white space collapsed to one blank; "&nbsp;" gives a blank that is never collapsed. A line
/// break or tab written by its name or number is white space, other control characters are
/// dropped. Superscripts and
/// subscripts read "10^3", "H_2O" ("10^(-3)"), a table row by row: "A | B; C | D".
HtmlContent ParseHtml(const QString& html);

/// The text as HTML that ParseHtml reads back to the same text: special characters escaped, and
/// every blank that a browser would collapse or drop written as "&nbsp;".
QString EscapedForHtml(const QString& text);

/// "@@PLUGINFILE@@/name" (percent-encoded) for a file embedded in the text, and back; the
/// reverse gives an empty text for anything else.
QString PluginFileUrl(const QString& fileName);
QString PluginFileName(const QString& url);
