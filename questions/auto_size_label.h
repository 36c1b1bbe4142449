// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QString>
#include <QStringList>

// Breaks a text into lines no wider than a width, the way the question and option labels do:
// lines break at blanks; a single word wider than the width stays whole on its own line (and so
// widens the label); "\r\n", "\r" and "\n" each start a new line. The blanks at which a line
// breaks are dropped; blanks at the very end of the text stay on the last line and count in its
// width.
struct WrappedText {
    QStringList Lines;
    int Width = 0;  // width of the longest line
    int Height = 0; // number of lines times the line height (one line for an empty text)
};

WrappedText WrapText(const QString& text, int maxWidth, const QFont& font);

// A label that sizes itself whenever its text is set: it keeps its left and top, breaks the text
// at its current width, then takes the longest line's width and the lines' height. To give it
// a maximum width, empty the text, set the width, then set the text. Setting the width alone
// does not break the text again. An emptied label keeps its width and is one line high. Only the
// lines the display can show are broken (a label is at most a display high and one line more): a
// text of megabytes costs no more than those, and text() keeps it whole.
class AutoSizeLabel : public QLabel {
    Q_OBJECT
public:
    explicit AutoSizeLabel(QWidget* parent = nullptr);

    /// Sets the text and sizes the label to it (hides QLabel::setText on purpose).
    void setText(const QString& text);
    void SetText(const QString& text) { setText(text); }
    /// Sets the width and keeps the text's present line breaks.
    void SetWidth(int width);

    /// The lines as broken when the text was last set.
    const QStringList& Lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Relayout();
    WrappedText WrapVisible(int maxWidth) const;

    QStringList m_lines;
    QString m_wrappedText; // the text m_lines were broken from
};
