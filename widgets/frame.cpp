// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/frame.h"

#include "widgets/ring.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TabcFrame::TabcFrame(QWidget* parent) : QWidget(parent) {
    const QPalette& colours = palette();
    m_highlight = colours.color(QPalette::Light);
    m_shadow = colours.color(QPalette::Dark);
    m_color = colours.color(QPalette::Button);
    resize(sizeHint());
}

void TabcFrame::SetBevelOuter(Bevel bevel) {
    if (m_bevelOuter == bevel)
        return;
    m_bevelOuter = bevel;
    update();
}

void TabcFrame::SetBevelInner(Bevel bevel) {
    if (m_bevelInner == bevel)
        return;
    m_bevelInner = bevel;
    update();
}

void TabcFrame::SetBevelWidth(int width) {
    width = std::max(width, 0);
    if (m_bevelWidth == width)
        return;
    m_bevelWidth = width;
    update();
}

void TabcFrame::SetBorderWidth(int width) {
    width = std::max(width, 0);
    if (m_borderWidth == width)
        return;
    m_borderWidth = width;
    update();
}

void TabcFrame::SetBorderStyle(BorderStyle style) {
    if (m_borderStyle == style)
        return;
    m_borderStyle = style;
    update();
}

void TabcFrame::SetColorHighlight(const QColor& color) {
    if (m_highlight == color)
        return;
    m_highlight = color;
    update();
}

void TabcFrame::SetColorShadow(const QColor& color) {
    if (m_shadow == color)
        return;
    m_shadow = color;
    update();
}

void TabcFrame::SetColor(const QColor& color) {
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void TabcFrame::SetCornerWidth(int width) {
    m_cornerWidth = std::min({std::max(width, 0), height() / 2, QWidget::width() / 2});
    update();
}

int TabcFrame::CornerWidth() const {
    // The stored value under the rule for the current size: a hidden widget is resized without
    // a resize event, and gets the event only when it is shown.
    return std::min({m_cornerWidth, height() / 2, width() / 2});
}

void TabcFrame::ApplyCornerWidth() {
    const int corner = CornerWidth();
    if (corner == m_cornerWidth)
        return;
    m_cornerWidth = corner;
    update();
}

void TabcFrame::resizeEvent(QResizeEvent* event) {
    ApplyCornerWidth();
    QWidget::resizeEvent(event);
}

QList<TabcFrame::Ring> TabcFrame::Rings() const {
    QList<Ring> rings;
    const int corner = CornerWidth();
    // Right and bottom are the last pixel column and row; every ring moves one pixel inwards.
    QRect box(QPoint(0, 0), QPoint(width() - 1, height() - 1));
    auto addRing = [&](const QColor& first, const QColor& second) {
        if (box.width() <= 0 || box.height() <= 0)
            return;
        const int radius = std::min({corner, box.width() / 2, box.height() / 2});
        rings.append(Ring{box, first, second, radius});
        box.adjust(1, 1, -1, -1);
    };
    auto addBevel = [&](Bevel bevel) {
        if (bevel == Bevel::None)
            return;
        const bool lowered = bevel == Bevel::Lowered;
        for (int i = 0; i < m_bevelWidth; ++i)
            addRing(lowered ? m_shadow : m_highlight, lowered ? m_highlight : m_shadow);
    };

    if (m_borderStyle == BorderStyle::Single)
        addRing(Qt::black, Qt::black);
    addBevel(m_bevelOuter);
    for (int i = 0; i < m_borderWidth; ++i)
        addRing(m_color, m_color);
    addBevel(m_bevelInner);
    return rings;
}

void TabcFrame::paintEvent(QPaintEvent*) {
    // Only the rings are drawn; the inside stays as the parent painted it.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Ring& ring : Rings()) {
        const RingPixels pixels = RingOutline(ring.rect, ring.radius);
        painter.setPen(QPen(ring.first, 1));
        painter.drawPoints(pixels.first.constData(), int(pixels.first.size()));
        painter.setPen(QPen(ring.second, 1));
        painter.drawPoints(pixels.second.constData(), int(pixels.second.size()));
    }
}

void TabcFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressing = true;
    event->accept();
}

void TabcFrame::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressing && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressing = false;
    event->accept();
    if (click)
        Q_EMIT Click();
}
