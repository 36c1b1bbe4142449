#include "questions/auto_size_label.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {

bool IsBlank(QChar c) {
    return c == u' ';
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
void WrapParagraph(const QString& text, int maxWidth, const QFont& font,
                   const QFontMetrics& metrics, QStringList& lines, int& width) {
    const int length = int(text.size());
    if (length == 0) {
        lines << QString();
        return;
    }
    QTextLayout layout(text, font);
    layout.setCacheEnabled(false);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    // Room for the ink of a last letter and for a blank more than the lines finally take.
    const QFontMetricsF exact(font);
    const qreal slack =
        std::max<qreal>(0, -exact.minRightBearing()) + exact.horizontalAdvance(u' ') + 1;
    const qreal proposalWidth = std::max<qreal>(0, maxWidth + 0.5 + slack);

    auto skipBlanks = [&](int i) {
        while (i < length && IsBlank(text.at(i)))
            ++i;
        return i;
    };
    auto wordEnd = [&](int i) { // the end of the blanks and the word that start at i
        i = skipBlanks(i);
        while (i < length && !IsBlank(text.at(i)))
            ++i;
        return i;
    };
    auto previousWordEnd = [&](int i) { // the end of the word before the one that ends at i
        while (i > 0 && !IsBlank(text.at(i - 1)))
            --i;
        while (i > 0 && IsBlank(text.at(i - 1)))
            --i;
        return i;
    };

    layout.beginLayout();
    for (int start = 0; start < length;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(proposalWidth);
        const int proposed = line.textStart() + line.textLength();
        const int firstWordEnd = wordEnd(start);
        // The proposal cut back to the end of its last whole word.
        int end = proposed;
        if (end < length && !IsBlank(text.at(end)))
            end = previousWordEnd(end);
        else
            while (end > start && IsBlank(text.at(end - 1)))
                --end;
        end = std::max(end, firstWordEnd);
        // The width of the line up to a word's end: its advance as laid out (without the ink
        // of its last letter). A line that begins with blanks (only a paragraph's first) and a
        // last word followed by the paragraph's closing blanks (which the layout would count)
        // are measured as a text of their own.
        const bool leadingBlanks = IsBlank(text.at(start));
        auto lineWidth = [&](int to) {
            if (!leadingBlanks && (to == length || skipBlanks(to) < length)) {
                line.setNumColumns(to - start);
                const int laidOut = line.textStart() + line.textLength();
                if (laidOut >= to && skipBlanks(to) >= laidOut)
                    return qRound(line.horizontalAdvance());
            }
            return metrics.horizontalAdvance(text.mid(start, to - start));
        };
        int measured = lineWidth(end);
        while (end > firstWordEnd && measured > maxWidth) {
            end = previousWordEnd(end);
            measured = lineWidth(end);
        }
        for (int more = wordEnd(end); more > end && more <= length;) {
            if (skipBlanks(end) == length)
                break; // only blanks follow: they end the paragraph
            const int moreWidth = lineWidth(more);
            if (moreWidth > maxWidth)
                break;
            end = more;
            measured = moreWidth;
            more = wordEnd(end);
        }
        const int next = skipBlanks(end);
        if (next != line.textStart() + line.textLength())
            line.setNumColumns(next - start);
        if (next == length) {
            // The paragraph's last line keeps its closing blanks.
            lines << text.mid(start);
            width = std::max(width,
                             next == end ? measured : metrics.horizontalAdvance(text.mid(start)));
        } else {
            lines << text.mid(start, end - start);
            width = std::max(width, measured);
        }
        start = next;
    }
    layout.endLayout();
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

void AutoSizeLabel::Relayout() {
    const WrappedText wrapped = WrapText(text(), width(), font());
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
        const int lineWidth = width();
        const WrappedText wrapped = WrapText(text(), lineWidth, font());
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
    const QStringList lines =
        text() == m_wrappedText ? m_lines : WrapText(text(), width(), font()).Lines;
    // Only the lines in the area to paint: a very long text has thousands below the screen.
    const int lineHeight = std::max(1, metrics.height());
    const qsizetype first = std::max(0, event->rect().top() / lineHeight);
    const qsizetype last =
        std::min<qsizetype>(lines.size() - 1, event->rect().bottom() / lineHeight);
    for (qsizetype i = first; i <= last; ++i)
        painter.drawText(0, int(i) * lineHeight + metrics.ascent(), lines.at(i));
}
