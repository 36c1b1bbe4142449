// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/toggle_button.h"

#include "platform/rounding.h"
#include "widgets/ring.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <atomic>

namespace {

const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDisabledText(0x80, 0x80, 0x80);

// Groups given to new buttons: nonzero, distinct, and far above the small numbers a screen
// might choose for a group of its own.
int NextDefaultGroup() {
    static std::atomic<int> next{1 << 30};
    return next.fetch_add(1);
}

void DrawPoints(QPainter& painter, const QList<QPoint>& points, const QColor& color) {
    painter.setPen(QPen(color, 1));
    painter.drawPoints(points.constData(), int(points.size()));
}

} // namespace

TabcToggleBtn::TabcToggleBtn(QWidget* parent) : QWidget(parent) {
    m_groupIndex = NextDefaultGroup();
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    RebuildDownTile();
    resize(sizeHint());
}

void TabcToggleBtn::SetCaption(const QString& caption) {
    if (m_caption == caption)
        return;
    m_caption = caption;
    update();
}

void TabcToggleBtn::SetColor(const QColor& color) {
    if (m_color == color)
        return;
    m_color = color;
    RebuildDownTile();
    update();
}

QColor TabcToggleBtn::FontColor() const {
    return palette().color(QPalette::ButtonText);
}

void TabcToggleBtn::SetFontColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::ButtonText, color);
    setPalette(colours);
}

TabcToggleBtn::Look TabcToggleBtn::CurrentLook() const {
    return isEnabled() ? m_look : Look::Disabled;
}

TabcToggleBtn::Look TabcToggleBtn::RestingLook() const {
    if (m_down)
        return Look::Down;
    return m_hot ? Look::Hot : Look::Up;
}

void TabcToggleBtn::SetLook(Look look) {
    if (m_look == look)
        return;
    m_look = look;
    update();
}

void TabcToggleBtn::SetDown(bool down) {
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down || (m_down && !m_allowAllUp))
        return;
    m_down = down;
    SetLook(RestingLook());
    update();
    if (down)
        RaiseOthersInGroup();
}

void TabcToggleBtn::RaiseOthersInGroup() {
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    const auto siblings = parent->findChildren<TabcToggleBtn*>(Qt::FindDirectChildrenOnly);
    for (TabcToggleBtn* other : siblings) {
        if (other == this || other->m_groupIndex != m_groupIndex || !other->m_down)
            continue;
        // Raised by the group, whatever its own AllowAllUp says.
        other->m_down = false;
        other->SetLook(other->RestingLook());
        other->update();
    }
}

void TabcToggleBtn::RebuildDownTile() {
    // 8 x 8 chequer: the face colour, with white wherever row and column parity agree.
    QImage tile(8, 8, QImage::Format_RGB32);
    const QRgb face = m_color.rgb();
    const QRgb light = kHighlight.rgb();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, (x % 2) == (y % 2) ? light : face);
    }
    m_downTile = QPixmap::fromImage(tile);
}

void TabcToggleBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (!m_down)
        SetLook(Look::Pressed);
    m_pressing = true;
    m_pressedInside = true;
}

void TabcToggleBtn::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressing) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    m_pressedInside = rect().contains(event->position().toPoint());
    if (m_pressedInside)
        SetLook(Look::Pressed);
    else
        SetLook(m_down ? Look::Down : Look::Up);
}

void TabcToggleBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressing || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    m_pressing = false;
    m_pressedInside = rect().contains(event->position().toPoint());
    if (!m_pressedInside) {
        SetLook(RestingLook());
        return;
    }
    SetDown(!m_down);
    // SetDown leaves the look alone when it changes nothing (a down button that may not rise).
    SetLook(RestingLook());
    Q_EMIT Click();
}

bool TabcToggleBtn::HoverAllowed() const {
    // The application must be in the foreground, and no control may hold the mouse: neither
    // an explicit grab nor a drag with a button held down.
    return isEnabled() && QGuiApplication::applicationState() == Qt::ApplicationActive &&
           QWidget::mouseGrabber() == nullptr && QGuiApplication::mouseButtons() == Qt::NoButton;
}

void TabcToggleBtn::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (m_hot || !HoverAllowed())
        return;
    m_hot = true;
    if (!m_down)
        SetLook(Look::Hot);
    Q_EMIT MouseEnter();
}

void TabcToggleBtn::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hot = false;
    const bool held =
        QWidget::mouseGrabber() != nullptr || QGuiApplication::mouseButtons() != Qt::NoButton;
    if (!isEnabled() || held)
        return;
    if (!m_down)
        SetLook(Look::Up);
    Q_EMIT MouseLeave();
}

void TabcToggleBtn::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        m_pressing = false;
        if (isEnabled())
            m_look = (m_down && m_groupIndex != 0) ? Look::Down : Look::Up;
        update();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
}

void TabcToggleBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const Look look = CurrentLook();
    const bool sunken = look == Look::Pressed || look == Look::Down;
    const QRect all = rect();
    if (all.isEmpty())
        return;

    if (look == Look::Down)
        painter.fillRect(all, QBrush(m_downTile));
    else
        painter.fillRect(all, m_color);

    // Outer edge.
    const RingPixels edge = RingOutline(all, 0);
    DrawPoints(painter, edge.first, Qt::black);
    DrawPoints(painter, edge.second, Qt::black);

    const QRect inner = all.adjusted(1, 1, -1, -1);
    if (sunken) {
        // One shadow line along the inner top and left edges.
        if (!inner.isEmpty()) {
            painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), kShadow);
            painter.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), kShadow);
        }
    } else {
        // Two nested raised bevels.
        for (const QRect& ring : {inner, inner.adjusted(1, 1, -1, -1)}) {
            const RingPixels bevel = RingOutline(ring, 0);
            DrawPoints(painter, bevel.first, kHighlight);
            DrawPoints(painter, bevel.second, kShadow);
        }
    }

    if (m_caption.isEmpty())
        return;
    // One line, centred inside the outer edge; sunken looks move it one pixel right and down.
    const QFontMetrics metrics(font());
    painter.setFont(font());
    int x = inner.left() + CentredOffset(inner.width(), metrics.horizontalAdvance(m_caption));
    int y = inner.top() + CentredOffset(inner.height(), metrics.height()) + metrics.ascent();
    if (sunken) {
        ++x;
        ++y;
    }
    painter.setClipRect(inner);
    if (look == Look::Disabled) {
        painter.setPen(kHighlight);
        painter.drawText(QPoint(x + 1, y + 1), m_caption);
        painter.setPen(kDisabledText);
        painter.drawText(QPoint(x, y), m_caption);
    } else {
        painter.setPen(FontColor());
        painter.drawText(QPoint(x, y), m_caption);
    }
}
