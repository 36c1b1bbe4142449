// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/auto_size_label.h"

#include "platform/display.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {

bool IsBlank(QChar c) {
    return c == u' ';
}

// Room for the ink of a last letter and for a blank more than the lines finally take: the width
// in which the text layout proposes each line.
qreal ProposalWidth(const QFont& font, int maxWidth) {
    const QFontMetricsF exact(font);
    const qreal slack =
        std::max<qreal>(0, -exact.minRightBearing()) + exact.horizontalAdvance(u' ') + 1;
    return std::max<qreal>(0, maxWidth + 0.5 + slack);
}

// One paragraph (a text without line breaks) broken at blanks into lines no wider than maxWidth:
// a line takes words while its width (with the blanks between its words, without those after
// them), rounded to whole pixels, stays within maxWidth; its first word is always taken.
//
// Qt's text layout runs once over the paragraph and proposes each line. It breaks where Unicode
// allows (also after a hyphen or a slash) and keeps the ink of a line's last letter inside the
// width, so its proposal is cut back to the blanks, made a little wider than maxWidth, and then
// settled by measuring the line (its width is needed anyway) and, when that is too wide or the
// next word would still fit, moving the end by one word. The blanks at a break belong to no
// line; blanks that end the paragraph stay on its last line.
class ParagraphWrapper {
public:
    ParagraphWrapper(const QString& text, int maxWidth, const QFontMetrics& metrics,
                     QStringList& lines, int& width)
        : m_text(text), m_length(int(text.size())), m_maxWidth(maxWidth), m_metrics(metrics),
          m_lines(lines), m_width(width) {}

    void Wrap(const QFont& font);

private:
    int SkipBlanks(int i) const;
    int WordEnd(int i) const;
    int PreviousWordEnd(int i) const;
    int SettleLine(QTextLine& line, int start);
    int CutBackToWord(int start, int proposed, int firstWordEnd) const;
    int LineWidth(QTextLine& line, int start, bool leadingBlanks, int to) const;
    int ShrinkToFit(QTextLine& line, int start, bool leadingBlanks, int firstWordEnd,
                    int& end) const;
    void TakeWordsThatFit(QTextLine& line, int start, bool leadingBlanks, int& end,
                          int& measured) const;
    void AddLine(int start, int end, int next, int measured);

    const QString& m_text;
    const int m_length;
    const int m_maxWidth;
    const QFontMetrics& m_metrics;
    QStringList& m_lines;
    int& m_width; // the widest line so far
};

void ParagraphWrapper::Wrap(const QFont& font) {
    if (m_length == 0) {
        m_lines << QString();
        return;
    }
    QTextLayout layout(m_text, font);
    layout.setCacheEnabled(false);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const qreal proposalWidth = ProposalWidth(font, m_maxWidth);

    layout.beginLayout();
    for (int start = 0; start < m_length;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(proposalWidth);
        start = SettleLine(line, start);
    }
    layout.endLayout();
}

int ParagraphWrapper::SkipBlanks(int i) const {
    while (i < m_length && IsBlank(m_text.at(i)))
        ++i;
    return i;
}

// The end of the blanks and the word that start at i.
int ParagraphWrapper::WordEnd(int i) const {
    i = SkipBlanks(i);
    while (i < m_length && !IsBlank(m_text.at(i)))
        ++i;
    return i;
}

// The end of the word before the one that ends at i.
int ParagraphWrapper::PreviousWordEnd(int i) const {
    while (i > 0 && !IsBlank(m_text.at(i - 1)))
        --i;
    while (i > 0 && IsBlank(m_text.at(i - 1)))
        --i;
    return i;
}

// Settles the line that begins at `start` from the layout's proposal in `line`, adds it to the
// lines and returns where the next line begins.
int ParagraphWrapper::SettleLine(QTextLine& line, int start) {
    const int proposed = line.textStart() + line.textLength();
    const int firstWordEnd = WordEnd(start);
    int end = CutBackToWord(start, proposed, firstWordEnd);
    // The width of the line up to a word's end: its advance as laid out (without the ink
    // of its last letter). A line that begins with blanks (only a paragraph's first) and a
    // last word followed by the paragraph's closing blanks (which the layout would count)
    // are measured as a text of their own.
    const bool leadingBlanks = IsBlank(m_text.at(start));
    int measured = ShrinkToFit(line, start, leadingBlanks, firstWordEnd, end);
    TakeWordsThatFit(line, start, leadingBlanks, end, measured);
    const int next = SkipBlanks(end);
    if (next != line.textStart() + line.textLength())
        line.setNumColumns(next - start);
    AddLine(start, end, next, measured);
    return next;
}

// The proposal cut back to the end of its last whole word.
int ParagraphWrapper::CutBackToWord(int start, int proposed, int firstWordEnd) const {
    int end = proposed;
    if (end < m_length && !IsBlank(m_text.at(end)))
        end = PreviousWordEnd(end);
    else
        while (end > start && IsBlank(m_text.at(end - 1)))
            --end;
    return std::max(end, firstWordEnd);
}

int ParagraphWrapper::LineWidth(QTextLine& line, int start, bool leadingBlanks, int to) const {
    if (!leadingBlanks && (to == m_length || SkipBlanks(to) < m_length)) {
        line.setNumColumns(to - start);
        const int laidOut = line.textStart() + line.textLength();
        if (laidOut >= to && SkipBlanks(to) >= laidOut)
            return qRound(line.horizontalAdvance());
    }
    return m_metrics.horizontalAdvance(m_text.mid(start, to - start));
}

// Moves `end` back by whole words while the line is too wide (never before its first word's
// end); returns the line's width.
int ParagraphWrapper::ShrinkToFit(QTextLine& line, int start, bool leadingBlanks, int firstWordEnd,
                                  int& end) const {
    int measured = LineWidth(line, start, leadingBlanks, end);
    while (end > firstWordEnd && measured > m_maxWidth) {
        end = PreviousWordEnd(end);
        measured = LineWidth(line, start, leadingBlanks, end);
    }
    return measured;
}

// Moves `end` on by whole words while the line stays within the width.
void ParagraphWrapper::TakeWordsThatFit(QTextLine& line, int start, bool leadingBlanks, int& end,
                                        int& measured) const {
    for (int more = WordEnd(end); more > end && more <= m_length;) {
        if (SkipBlanks(end) == m_length)
            break; // only blanks follow: they end the paragraph
        const int moreWidth = LineWidth(line, start, leadingBlanks, more);
        if (moreWidth > m_maxWidth)
            break;
        end = more;
        measured = moreWidth;
        more = WordEnd(end);
    }
}

void ParagraphWrapper::AddLine(int start, int end, int next, int measured) {
    if (next == m_length) {
        // The paragraph's last line keeps its closing blanks.
        m_lines << m_text.mid(start);
        m_width = std::max(m_width,
                           next == end ? measured : m_metrics.horizontalAdvance(m_text.mid(start)));
    } else {
        m_lines << m_text.mid(start, end - start);
        m_width = std::max(m_width, measured);
    }
}

void WrapParagraph(const QString& text, int maxWidth, const QFont& font,
                   const QFontMetrics& metrics, QStringList& lines, int& width) {
    ParagraphWrapper(text, maxWidth, metrics, lines, width).Wrap(font);
}

} // namespace

WrappedText WrapText(const QString& text, int maxWidth, const QFont& font) {
    WrappedText wrapped;
    const QFontMetrics metrics(font);
    if (text.isEmpty()) {
        wrapped.Height = metrics.height();
        return wrapped;
    }
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    for (const QString& paragraph : normalised.split(u'\n'))
        WrapParagraph(paragraph, maxWidth, font, metrics, wrapped.Lines, wrapped.Width);
    wrapped.Height = int(wrapped.Lines.size()) * metrics.height();
    return wrapped;
}

namespace {

// The most lines a label can show: as many as the display is high, and one more for a line
// cut by its edge.
int VisibleLines(const QFont& font) {
    return DisplaySize().height() / std::max(1, QFontMetrics(font).height()) + 2;
}

// The part of a text that the first maxLines lines of a label maxWidth wide can show. A word or
// a run of blanks longer than any screen is wide (every letter is a pixel wide at least) is cut
// there, and the text ends once it holds more letters than those lines take. A text of megabytes
// then costs no more to break and draw than the lines that are seen; a shorter one is its whole.
QString VisiblePart(const QString& text, int maxWidth, int maxLines) {
    const qsizetype width = std::max(maxWidth, 1);
    const qsizetype longest = 2 * width + 64;
    const qsizetype budget = qsizetype(maxLines) * (width + longest);
    if (text.size() <= std::min(budget, longest))
        return text;
    QString part;
    part.reserve(std::min(text.size(), budget));
    qsizetype run = 0;
    bool runOfBlanks = false;
    int breaks = 0;
    for (qsizetype i = 0; i < text.size() && part.size() < budget; ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r') {
            part += c;
            run = 0;
            const bool crBeforeLf = c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n';
            if (!crBeforeLf && ++breaks >= maxLines)
                break;
            continue;
        }
        const bool blank = IsBlank(c);
        if (blank != runOfBlanks) {
            run = 0;
            runOfBlanks = blank;
        }
        if (++run <= longest)
            part += c;
    }
    return part;
}

} // namespace

AutoSizeLabel::AutoSizeLabel(QWidget* parent) : QLabel(parent) {
    setWordWrap(false);
    Relayout();
}

void AutoSizeLabel::setText(const QString& text) {
    QLabel::setText(text);
    Relayout();
}

void AutoSizeLabel::SetWidth(int width) {
    resize(std::max(0, width), height());
}

WrappedText AutoSizeLabel::WrapVisible(int maxWidth) const {
    const int maxLines = VisibleLines(font());
    WrappedText wrapped = WrapText(VisiblePart(text(), maxWidth, maxLines), maxWidth, font());
    if (wrapped.Lines.size() > maxLines) {
        wrapped.Lines.resize(maxLines);
        wrapped.Height = maxLines * QFontMetrics(font()).height();
    }
    return wrapped;
}

void AutoSizeLabel::Relayout() {
    const WrappedText wrapped = WrapVisible(width());
    m_lines = wrapped.Lines;
    m_wrappedText = text();
    const int newWidth = text().isEmpty() ? width() : wrapped.Width;
    resize(newWidth, wrapped.Height);
    update();
}

void AutoSizeLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && !text().isEmpty()) {
        // A new font breaks the text again within the width it was given.
        const WrappedText wrapped = WrapVisible(width());
        m_lines = wrapped.Lines;
        m_wrappedText = text();
        resize(wrapped.Width, wrapped.Height);
        update();
    }
}

void AutoSizeLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetrics metrics = fontMetrics();
    // A text set through the base class has not been broken yet: break it for drawing.
    const QStringList lines = text() == m_wrappedText ? m_lines : WrapVisible(width()).Lines;
    // Only the lines in the area to paint: a very long text has thousands below the screen.
    const int lineHeight = std::max(1, metrics.height());
    const qsizetype first = std::max(0, event->rect().top() / lineHeight);
    const qsizetype last =
        std::min<qsizetype>(lines.size() - 1, event->rect().bottom() / lineHeight);
    for (qsizetype i = first; i <= last; ++i)
        painter.drawText(0, int(i) * lineHeight + metrics.ascent(), lines.at(i));
}
