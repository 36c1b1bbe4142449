#include "platform/screen.h"

#include "platform/display.h"
#include "platform/rounding.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {
bool g_modalLoops = true;
// The screen most recently asked to come to the front.
QPointer<Screen> g_lastShown;
// Time the window system gets to map a newly shown window before its activation is asked again.
constexpr int kActivationRetryMs = 150;
} // namespace

void Screen::SetModalLoopsEnabled(bool enabled) {
    g_modalLoops = enabled;
}

Screen::Screen(QWidget* parent) : QWidget(parent, Qt::Window) {}

void Screen::ShowScreen() {
    show();
    raise();
    activateWindow();
    // A window that is not mapped yet cannot take the focus, and without a window manager
    // nobody activates it later: ask again once it stands on the display, unless another
    // screen has been brought to the front since.
    g_lastShown = this;
    QTimer::singleShot(kActivationRetryMs, this, [this] {
        if (g_lastShown == this && isVisible() && !isActiveWindow()) {
            raise();
            activateWindow();
        }
    });
}

void Screen::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    ShowScreen();
    if (!g_modalLoops)
        return;
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
    setWindowModality(Qt::NonModal);
}

void Screen::SetClientSize(int width, int height) {
    resize(width, height);
}

void Screen::CentreOnDisplay(std::optional<int> lowDisplayTop) {
    // The frame the window system adds counts as part of the window.
    const QSize display = DisplaySize();
    const QRect frame = frameGeometry();
    const int windowWidth = std::max(frame.width(), width());
    const int windowHeight = std::max(frame.height(), height());
    const int top = lowDisplayTop && display.height() <= 623
                        ? *lowDisplayTop
                        : CentredOffset(display.height(), windowHeight);
    move(CentredOffset(display.width(), windowWidth), top);
}

bool Screen::FocusStaysWithScreen(const QWidget* screen) {
    const QWidget* next = QApplication::activeWindow();
    if (next == nullptr)
        return true; // another application
    for (const QWidget* w = next; w != nullptr; w = w->parentWidget()) {
        if (w == screen)
            return next != screen;
    }
    return false;
}

bool Screen::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_skipNextActivation) {
        m_skipNextActivation = false;
    } else if (event->type() == QEvent::WindowActivate && !m_inActivate) {
        m_inActivate = true;
        FormActivate();
        m_inActivate = false;
    } else if (event->type() == QEvent::WindowDeactivate) {
        m_skipNextActivation = m_skipOnReturn && FocusStaysWithScreen(this);
        FormDeactivate();
    }
    return QWidget::event(event);
}

void Screen::hideEvent(QHideEvent* event) {
    m_skipNextActivation = false;
    if (m_modalLoop != nullptr)
        m_modalLoop->quit();
    if (!g_modalLoops)
        setWindowModality(Qt::NonModal);
    QWidget::hideEvent(event);
}
