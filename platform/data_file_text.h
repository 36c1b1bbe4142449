// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Question texts in the data file of a control test. The data file gives a whole line to the
// question text and to each option text, and its reader takes a line whose first character is
// a marker of the block being read as the end of that block: "." and "\" after the question
// text, "," and "." after an option. A text that begins with one of its block's markers is
// therefore written wrapped in dots, "." + text + ".", and the reader takes such a line back
// as the text between the dots:
//
//   option  ",5 км"                ->  ".,5 км."
//   option  "...все перечисленное " ->  "....все перечисленное ."
//   question text "\фон "          ->  ".\фон ."
//
// Every other text is written unchanged. A wrapped line begins with "." followed by a marker of
// its block and ends with "."; files written before texts were wrapped never hold such a line
// where a text or a marker is read: their marker lines are the single characters "." and ","
// or a picture line "\name", and every text taken from a question file ends with the blank
// that joins its lines. Those files therefore read exactly as before.

/// Which line of a question record the text fills.
enum class DataFileText { Question, Option };

/// True when the text begins with a marker of its block and is written wrapped.
bool DataFileTextNeedsWrapping(QStringView text, DataFileText kind);

/// The line the data file holds for the text.
QString DataFileTextLine(const QString& text, DataFileText kind);

/// The text a wrapped line holds; nothing when the line is not a wrapped text of the block.
std::optional<QString> UnwrapDataFileTextLine(QStringView line, DataFileText kind);
