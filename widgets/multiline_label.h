// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QStringList>

// TabcMultilineLabel: a label whose text is a list of lines, joined by line breaks.
class TabcMultilineLabel : public QLabel {
    Q_OBJECT
public:
    explicit TabcMultilineLabel(QWidget* parent = nullptr);
    QStringList Lines() const { return m_lines; }
    void SetLines(const QStringList& lines);

    /// A transparent label (the default) lets its parent show through; an opaque one fills its
    /// area with Color.
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool transparent);
    QColor Color() const { return palette().color(QPalette::Window); }
    void SetColor(const QColor& color);

private:
    QStringList m_lines;
};
