// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop_cover.h"

#include "platform/named_colours.h"
#include "platform/new_window_watch.h"
#include "platform/screen.h"
#include "platform/window_manager.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {
constexpr QColor kCoverColour = Colours::kNavy;
}

DesktopCover::DesktopCover(QWidget* screen) : QObject(screen), m_screen(screen) {
    setObjectName(QStringLiteral("DesktopCover"));
    // A window of its own (no parent): a parent would be kept above its child.
    // Above the windows of other programs, as the screen is.
    m_cover = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint |
                                       Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint);
    m_cover->setObjectName(QStringLiteral("DesktopCoverWindow"));
    m_cover->setWindowTitle(QStringLiteral("Тестирование"));
    m_cover->setAttribute(Qt::WA_ShowWithoutActivating, true);
    m_cover->setContextMenuPolicy(Qt::NoContextMenu);
    QPalette palette = m_cover->palette();
    palette.setColor(QPalette::Window, kCoverColour);
    m_cover->setPalette(palette);
    m_cover->setAutoFillBackground(true);
    m_cover->installEventFilter(this);
    m_screen->installEventFilter(this);
}

DesktopCover::~DesktopCover() {
    delete m_cover.data();
}

void DesktopCover::CoverDesktop() {
    if (!m_covering)
        m_desktop = WindowManager::CurrentDesktop();
    m_covering = true;
    // A window of another program that appears meanwhile (started earlier with a delay, or by
    // the desktop) ends below the cover at once.
    if (m_watch == nullptr)
        m_watch = new NewWindowWatch([this] { StayInFront(); }, this);
    if (m_screen->isVisible())
        ShowCover();
}

void DesktopCover::ShowFullScreen() {
    // As QWidget::showFullScreen(), without the request for the focus the cover never takes.
    m_cover->setWindowState(
        (m_cover->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
        Qt::WindowFullScreen);
    m_cover->show();
}

void DesktopCover::ShowCover() {
    QScreen* display = m_screen->screen() ? m_screen->screen() : QGuiApplication::primaryScreen();
    if (display != nullptr)
        m_cover->setGeometry(display->geometry());
    ShowFullScreen();
    // The screen's window is a transient of the cover, so that a window manager that raises the
    // cover (a click on it) keeps the screen above it.
    m_cover->winId();
    if (QWindow* window = m_screen->windowHandle())
        window->setTransientParent(m_cover->windowHandle());
    KeepOnEveryDesktop();
    m_screen->raise();
}

void DesktopCover::KeepOnEveryDesktop() {
    // A switch of desktops (a pager's request, a script's) would unmap them, and the grab of the
    // keyboard with them.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = widget->windowType();
        if (widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip)
            WindowManager::KeepOnAllDesktops(widget->windowHandle());
    }
}

void DesktopCover::StayInFront() {
    if (!m_covering || !m_screen->isVisible())
        return;
    KeepOnEveryDesktop(); // a message box of the test opened since
    if (m_desktop && WindowManager::CurrentDesktop() != m_desktop)
        WindowManager::ShowDesktop(*m_desktop);
    m_cover->raise();
    m_screen->raise();
    Screen::RaiseKeptInFront(); // an open message box of the test above all
    // A window manager keeps an active full-screen window above every other (openbox), where no
    // raise reaches it: the test takes the activation back, and the window its full screen.
    if (const quint32 other = WindowManager::OthersActiveWindow()) {
        WindowManager::DropFullScreen(other);
        QWidget* modal = QApplication::activeModalWidget();
        WindowManager::Activate(
            (modal != nullptr && modal->isVisible() ? modal : m_screen)->windowHandle());
    }
}

bool DesktopCover::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_screen && event->type() == QEvent::Hide && !event->spontaneous()) {
        // Hidden by the program: the test is over. (A spontaneous hide is a minimisation by the
        // window system, which Restore() undoes.)
        m_covering = false;
        m_desktop.reset();
        m_cover->hide();
        delete m_watch.data();
    }
    if ((watched == m_screen || watched == m_cover) && event->type() == QEvent::WindowStateChange &&
        (static_cast<QWidget*>(watched)->windowState() & Qt::WindowMinimized) &&
        !m_restorePending) {
        // Not inside the window system's own change of state: right after it.
        m_restorePending = true;
        QMetaObject::invokeMethod(this, &DesktopCover::Restore, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void DesktopCover::Restore() {
    m_restorePending = false;
    if (!m_screen->isVisible())
        return;
    if (m_covering)
        ShowCover();
    m_screen->setWindowState(m_screen->windowState() & ~Qt::WindowMinimized);
    m_screen->show();
    m_screen->raise();
    m_screen->activateWindow();
}
