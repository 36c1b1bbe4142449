// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/background.h"

#include <QPainter>

TabcBackground::TabcBackground(QWidget* parent) : QWidget(parent) {
    // The gradient covers every pixel, so nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(sizeHint());
}

void TabcBackground::SetActive(bool active) {
    if (m_active == active)
        return;
    m_active = active;
    // An inactive background paints nothing and lets its parent show through.
    setAttribute(Qt::WA_OpaquePaintEvent, active);
    Changed();
}

void TabcBackground::SetColorFrom(const QColor& color) {
    if (m_from == color)
        return;
    m_from = color;
    Changed();
}

void TabcBackground::SetColorTo(const QColor& color) {
    if (m_to == color)
        return;
    m_to = color;
    Changed();
}

void TabcBackground::SetDrawDirection(DrawDirection direction) {
    if (m_direction == direction)
        return;
    m_direction = direction;
    Changed();
}

void TabcBackground::SetDrawSteps(int steps) {
    steps = ClampDrawSteps(steps);
    if (m_steps == steps)
        return;
    m_steps = steps;
    Changed();
}

void TabcBackground::SetDrawBuffered(bool buffered) {
    if (m_buffered == buffered)
        return;
    m_buffered = buffered;
    if (!buffered)
        m_buffer = QPixmap();
    Changed();
}

void TabcBackground::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_buffer = QPixmap();
    m_bufferValid = false;
}

void TabcBackground::Changed() {
    m_bufferValid = false;
    update();
}

void TabcBackground::resizeEvent(QResizeEvent* event) {
    // A new size shows as a buffer of the wrong size on the next paint, which re-renders it.
    QWidget::resizeEvent(event);
}

void TabcBackground::paintEvent(QPaintEvent*) {
    if (!m_active || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    if (!m_buffered) {
        Render(painter, rect());
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!m_bufferValid || m_buffer.size() != pixels) {
        m_buffer = QPixmap(pixels);
        m_buffer.setDevicePixelRatio(ratio);
        QPainter bufferPainter(&m_buffer);
        Render(bufferPainter, rect());
        m_bufferValid = true;
        ++m_renderCount;
    }
    painter.drawPixmap(0, 0, m_buffer);
}

void TabcBackground::Render(QPainter& painter, const QRect& rect) const {
    const bool diagonal =
        m_direction == DrawDirection::ddLRDiagonal || m_direction == DrawDirection::ddRLDiagonal;
    painter.setPen(Qt::NoPen);
    // With a single step the diagonal bands leave the top-left half uncovered; it shows the
    // starting colour. With more steps the bands cover this fill completely.
    if (diagonal)
        painter.fillRect(rect, m_from);
    for (const GradientBand& band : GradientBands(rect, m_from, m_to, m_steps, m_direction)) {
        if (diagonal) {
            painter.setBrush(band.color);
            painter.drawPolygon(band.shape);
        } else if (!band.rect.isEmpty()) {
            painter.fillRect(band.rect, band.color);
        }
    }
}
