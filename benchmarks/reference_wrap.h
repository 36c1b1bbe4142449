// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The labels' first line breaking, kept as the reference that the one-pass breaking of
// questions/auto_size_label.cpp is compared with (autotests/questionarea) and measured against
// (line_breaking_benchmark): it measures the growing line again for every word it adds.

#include <QFontMetrics>
#include <QString>
#include <QStringList>

inline void ReferenceParagraph(const QString& text, int maxWidth, const QFontMetrics& metrics,
                               QStringList& lines) {
    const qsizetype length = text.size();
    if (length == 0) {
        lines << QString();
        return;
    }
    qsizetype start = 0;
    while (start < length) {
        qsizetype end = start;
        qsizetype i = start;
        while (i < length) {
            qsizetype j = i;
            while (j < length && text.at(j) == u' ')
                ++j;
            while (j < length && text.at(j) != u' ')
                ++j;
            if (end != start && metrics.horizontalAdvance(text.mid(start, j - start)) > maxWidth)
                break;
            end = j;
            i = j;
        }
        qsizetype next = end;
        while (next < length && text.at(next) == u' ')
            ++next;
        if (next == length)
            end = length;
        lines << text.mid(start, end - start);
        start = next;
    }
}
