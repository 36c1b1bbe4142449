// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/screen.h"

#include "platform/display.h"
#include "platform/rounding.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QEventLoop>
#include <QHideEvent>
#include <QPointer>
#include <QTimer>

namespace {
bool g_modalLoops = true;
// The screen most recently asked to come to the front.
QPointer<Screen> g_lastShown;
// The screen that lost the activation last.
QPointer<Screen> g_lastDeactivated;
// Time the window system gets to map a newly shown window before its activation is asked again.
constexpr int kActivationRetryMs = 150;
} // namespace

void Screen::SetModalLoopsEnabled(bool enabled) {
    g_modalLoops = enabled;
}

Screen::Screen(QWidget* parent) : QWidget(parent, Qt::Window) {}

namespace {
// The modal window (a message box, a screen shown modally) that must stay above `screen` and keep
// the keyboard, or null.
QWidget* ModalAbove(const QWidget* screen) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != screen && modal->isVisible() ? modal : nullptr;
}

void BringToFront(Screen* screen) {
    screen->raise();
    if (QWidget* modal = ModalAbove(screen))
        modal->activateWindow(); // the open box keeps the keyboard
    else if (!screen->testAttribute(Qt::WA_ShowWithoutActivating))
        screen->activateWindow();
    Screen::RaiseKeptInFront();
}
} // namespace

void Screen::ShowScreen() {
    show();
    BringToFront(this);
    // A window that is not mapped yet cannot take the focus, and without a window manager
    // nobody activates it later: ask again once it stands on the display, unless another
    // screen has been brought to the front since. An open message box is never covered.
    g_lastShown = this;
    QTimer::singleShot(kActivationRetryMs, this, [this] {
        if (g_lastShown == this && isVisible() && !isActiveWindow())
            BringToFront(this);
        else
            RaiseKeptInFront(); // a window manager may have stacked the screen after them
    });
}

void Screen::RaiseKeptInFront() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* screen = qobject_cast<Screen*>(widget);
        if (screen != nullptr && screen->m_keptInFront && screen->isVisible())
            screen->raise();
    }
    if (QWidget* modal = ModalAbove(nullptr))
        modal->raise();
}

Screen* Screen::LastDeactivated() {
    return g_lastDeactivated;
}

Screen* Screen::LastShown() {
    return g_lastShown;
}

bool Screen::IsClosing() const {
    return m_closing;
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
    // A message box, a dialog or a popup is no screen: whoever opened it, the screen it covered
    // comes back as it was. Only another screen of the program takes the activation away.
    return next != screen && qobject_cast<const Screen*>(next) == nullptr;
}

bool Screen::event(QEvent* event) {
    // A window manager raises the window it activates, also above the screens kept in front when
    // it keeps them in the same layer: they go back on top once it has done so.
    if (event->type() == QEvent::WindowActivate && !m_keptInFront)
        QTimer::singleShot(0, this, [] { RaiseKeptInFront(); });
    if (event->type() == QEvent::WindowActivate && (!isVisible() || IsClosing())) {
        // A late activation of a screen that is hidden or closing (and perhaps about to be
        // freed) prepares, starts and shows nothing.
        m_skipNextActivation = false;
    } else if (event->type() == QEvent::WindowActivate && m_skipNextActivation) {
        m_skipNextActivation = false;
    } else if (event->type() == QEvent::WindowActivate && !m_inActivate) {
        // Another screen now has the activation: a screen that lost it to a message box before
        // is activated anew when its turn comes.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* other = qobject_cast<Screen*>(widget); other != nullptr && other != this)
                other->m_skipNextActivation = false;
        }
        m_inActivate = true;
        FormActivate();
        m_inActivate = false;
    } else if (event->type() == QEvent::WindowDeactivate) {
        m_skipNextActivation = m_skipOnReturn && FocusStaysWithScreen(this);
        g_lastDeactivated = this;
        FormDeactivate();
    } else if (event->type() == QEvent::WindowStateChange &&
               (windowState() & Qt::WindowMinimized) && !m_restorePending) {
        // The screens offer no minimise button, but a window manager may minimise them anyway
        // (its own button, a key): the program would then wait behind a window nobody can bring
        // back. Right after the window system's change of state, the screen comes back.
        m_restorePending = true;
        QMetaObject::invokeMethod(this, &Screen::RestoreMinimised, Qt::QueuedConnection);
    }
    const bool handled = QWidget::event(event);
    // A screen that frees itself marks its accepted close (Qt drops the attribute once the
    // deletion is queued).
    if (event->type() == QEvent::Close && event->isAccepted() &&
        testAttribute(Qt::WA_DeleteOnClose))
        m_closing = true;
    return handled;
}

void Screen::RestoreMinimised() {
    m_restorePending = false;
    if (!(windowState() & Qt::WindowMinimized))
        return;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!isVisible() || IsClosing())
        return; // hidden by the program meanwhile: it stays hidden, no longer minimised
    show();
    BringToFront(this);
}

void Screen::hideEvent(QHideEvent* event) {
    m_skipNextActivation = false;
    // A screen shown modally ends its loop when the program hides it; minimised by the window
    // system it stays modal (it comes back by itself), or the program would stay blocked by a
    // window it no longer counts as modal.
    if (m_modalLoop != nullptr && !event->spontaneous())
        m_modalLoop->quit();
    if (!g_modalLoops)
        setWindowModality(Qt::NonModal);
    // Qt keeps a hidden window's backing store at full size; a screen hidden by the program gives
    // it back, and its next showing paints it whole again at its size. A window the window system
    // hid (minimised) keeps it.
    if (!event->spontaneous() && isWindow() && backingStore() != nullptr)
        backingStore()->resize(QSize(1, 1));
    QWidget::hideEvent(event);
}
