// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/toggle_button.h"

#include "platform/named_colours.h"
#include "platform/rounding.h"
#include "widgets/accessible_faces.h"
#include "widgets/keyboard_cues.h"
#include "widgets/ring.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <atomic>

namespace {

constexpr QColor kHighlight = Colours::kWhite;
constexpr QColor kShadow = Colours::kGrey;
constexpr QColor kDisabledText = Colours::kGrey;

// Groups given to new buttons: nonzero, distinct, and far above the small numbers a screen
// might choose for a group of its own.
int NextDefaultGroup() {
    static std::atomic<int> next{1 << 30};
    return next.fetch_add(1);
}

// The key that carries a Russian letter on the standard Russian keyboard, as a Latin layout names
// it; 0 for a letter that is not Russian.
int LatinKeyOf(QChar letter) {
    static const QString russian = QStringLiteral("ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ");
    static const int latin[] = {Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_R, Qt::Key_T,
                                Qt::Key_Y, Qt::Key_U, Qt::Key_I, Qt::Key_O, Qt::Key_P,
                                Qt::Key_BracketLeft, Qt::Key_BracketRight, Qt::Key_A, Qt::Key_S,
                                Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_H, Qt::Key_J, Qt::Key_K,
                                Qt::Key_L, Qt::Key_Semicolon, Qt::Key_Apostrophe, Qt::Key_Z,
                                Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_B, Qt::Key_N, Qt::Key_M,
                                Qt::Key_Comma, Qt::Key_Period};
    const qsizetype at = russian.indexOf(letter.toUpper());
    return at < 0 ? 0 : latin[at];
}

void DrawPoints(QPainter& painter, const QList<QPoint>& points, const QColor& color) {
    painter.setPen(QPen(color, 1));
    painter.drawPoints(points.constData(), int(points.size()));
}

} // namespace

TabcToggleBtn::TabcToggleBtn(QWidget* parent) : QWidget(parent) {
    m_groupIndex = NextDefaultGroup();
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setFocusPolicy(Qt::TabFocus);
    InstallAccessibleFaces();
    connect(&KeyboardCues::Instance(), &KeyboardCues::Changed, this, [this] {
        if (m_shortcutLetter >= 0 || hasFocus())
            update();
    });
    RebuildDownTile();
    resize(sizeHint());
}

void TabcToggleBtn::SetCaption(const QString& caption) {
    // "&&" stands for an "&" of the caption; "&" before a letter marks the shortcut letter.
    QString shown;
    int letter = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != QLatin1Char('&') && letter < 0)
                letter = int(shown.size());
        }
        shown += caption[i];
    }
    if (m_caption == shown && m_shortcutLetter == letter)
        return;
    m_caption = shown;
    m_shortcutLetter = letter;
    m_shortcut = letter < 0 ? QKeySequence() : QKeySequence::mnemonic(caption);
    GrabShortcut();
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    update();
}

void TabcToggleBtn::SetShortcutContext(Qt::ShortcutContext context) {
    if (m_shortcutContext == context)
        return;
    m_shortcutContext = context;
    GrabShortcut();
}

void TabcToggleBtn::GrabShortcut() {
    for (int* id : {&m_shortcutId, &m_latinShortcutId}) {
        if (*id != 0)
            releaseShortcut(*id);
        *id = 0;
    }
    if (m_shortcut.isEmpty())
        return;
    m_shortcutId = grabShortcut(m_shortcut, m_shortcutContext);
    if (const int latin = LatinKeyOf(m_caption.at(m_shortcutLetter)); latin != 0)
        m_latinShortcutId = grabShortcut(QKeySequence(Qt::ALT | Qt::Key(latin)), m_shortcutContext);
}

void TabcToggleBtn::Press() {
    if (!isEnabled())
        return;
    SetDown(!m_down);
    // SetDown leaves the look alone when it changes nothing (a down button that may not rise).
    SetLook(RestingLook());
    Q_EMIT Click();
}

bool TabcToggleBtn::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == m_shortcutId || shortcut->shortcutId() == m_latinShortcutId) {
            if (isEnabled() && isVisible())
                Press();
            return true;
        }
    }
    return QWidget::event(event);
}

void TabcToggleBtn::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        if (event->isAutoRepeat() || m_pressing) {
            event->accept();
            return;
        }
        event->accept();
        Press();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TabcToggleBtn::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TabcToggleBtn::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
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
    Press();
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
    if (!KeyboardCues::Instance().Shown())
        return;
    painter.setPen(look == Look::Disabled ? kDisabledText : FontColor());
    if (m_shortcutLetter >= 0) {
        // The shortcut letter underlined one pixel below the caption's base line.
        const int left = x + metrics.horizontalAdvance(m_caption.left(m_shortcutLetter));
        const int width = metrics.horizontalAdvance(m_caption.at(m_shortcutLetter));
        painter.drawLine(left, y + 1, left + width - 1, y + 1);
    }
    if (hasFocus()) {
        // The dotted frame of the focus, inside the bevels.
        QPen dotted(FontColor(), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setClipping(false);
        painter.drawRect(all.adjusted(3, 3, -4, -4));
    }
}
