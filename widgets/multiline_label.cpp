// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/multiline_label.h"

TabcMultilineLabel::TabcMultilineLabel(QWidget* parent) : QLabel(parent) {
    // The lines are shown as they are written, never read as markup.
    setTextFormat(Qt::PlainText);
}

void TabcMultilineLabel::SetLines(const QStringList& lines) {
    m_lines = lines;
    setText(lines.join(QLatin1Char('\n')));
}

void TabcMultilineLabel::SetTransparent(bool transparent) {
    setAutoFillBackground(!transparent);
    update();
}

void TabcMultilineLabel::SetColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}
