#include "questions/auto_size_label.h"

#include <QEvent>
#include <QPainter>

namespace {

// One paragraph (a text without line breaks) broken at blanks into lines no wider than maxWidth.
void WrapParagraph(const QString& text, int maxWidth, const QFontMetrics& metrics,
                   QStringList& lines) {
    const qsizetype length = text.size();
    if (length == 0) {
        lines << QString();
        return;
    }
    qsizetype start = 0;
    while (start < length) {
        // Take words while the line still fits; the first word of a line is always taken.
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
            end = length; // blanks that end the text stay on its last line
        lines << text.mid(start, end - start);
        start = next;
    }
}

} // namespace

WrappedText WrapText(const QString& text, int maxWidth, const QFontMetrics& metrics) {
    WrappedText wrapped;
    if (text.isEmpty()) {
        wrapped.Height = metrics.height();
        return wrapped;
    }
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    for (const QString& paragraph : normalised.split(u'\n'))
        WrapParagraph(paragraph, maxWidth, metrics, wrapped.Lines);
    for (const QString& line : wrapped.Lines)
        wrapped.Width = std::max(wrapped.Width, metrics.horizontalAdvance(line));
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
    const WrappedText wrapped = WrapText(text(), width(), fontMetrics());
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
        const WrappedText wrapped = WrapText(text(), lineWidth, fontMetrics());
        m_lines = wrapped.Lines;
        m_wrappedText = text();
        resize(wrapped.Width, wrapped.Height);
        update();
    }
}

void AutoSizeLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetrics metrics = fontMetrics();
    // A text set through the base class has not been broken yet: break it for drawing.
    const QStringList lines =
        text() == m_wrappedText ? m_lines : WrapText(text(), width(), metrics).Lines;
    int y = metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(0, y, line);
        y += metrics.height();
    }
}
