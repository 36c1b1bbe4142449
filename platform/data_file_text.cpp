// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/data_file_text.h"

namespace {

QStringView Markers(DataFileText kind) {
    return kind == DataFileText::Question ? QStringView(u".\\") : QStringView(u",.");
}

} // namespace

bool DataFileTextNeedsWrapping(QStringView text, DataFileText kind) {
    return !text.isEmpty() && Markers(kind).contains(text.front());
}

QString DataFileTextLine(const QString& text, DataFileText kind) {
    if (!DataFileTextNeedsWrapping(text, kind))
        return text;
    return QLatin1Char('.') + text + QLatin1Char('.');
}

std::optional<QString> UnwrapDataFileTextLine(QStringView line, DataFileText kind) {
    if (line.size() < 3 || line.front() != u'.' || line.back() != u'.' ||
        !DataFileTextNeedsWrapping(line.mid(1), kind))
        return std::nullopt;
    return line.mid(1, line.size() - 2).toString();
}
