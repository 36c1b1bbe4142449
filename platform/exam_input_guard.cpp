// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/exam_input_guard.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// How soon a refused grab is tried again, and a held one renewed.
constexpr int kRetryMs = 500;

std::function<std::unique_ptr<InputGrab>()> g_factory;

class WindowSystemGrab : public InputGrab {
public:
    bool Grab(QWindow* window) override {
        if (!m_grabbing)
            return true;
        const bool keyboard = window->setKeyboardGrabEnabled(true);
        const bool pointer = window->setMouseGrabEnabled(true);
        if (keyboard && pointer)
            return true;
        // Half a grab is no grab: the next try takes both.
        Release(window);
        return false;
    }
    void Release(QWindow* window) override {
        if (!m_grabbing || window == nullptr)
            return;
        window->setKeyboardGrabEnabled(false);
        window->setMouseGrabEnabled(false);
    }

private:
    // Only a window system with a display-wide grab is asked (X11); the offscreen and minimal
    // platforms have none to give.
    const bool m_grabbing = QGuiApplication::platformName() == QLatin1String("xcb");
};

} // namespace

std::unique_ptr<InputGrab> MakeWindowSystemGrab() {
    return std::make_unique<WindowSystemGrab>();
}

void ExamInputGuard::SetGrabFactoryForTesting(std::function<std::unique_ptr<InputGrab>()> factory) {
    g_factory = std::move(factory);
}

ExamInputGuard::ExamInputGuard(QWidget* screen, std::unique_ptr<InputGrab> grab)
    : QObject(screen), m_screen(screen), m_grab(std::move(grab)) {
    setObjectName(QStringLiteral("ExamInputGuard"));
    m_retry = new QTimer(this);
    m_retry->setObjectName(QStringLiteral("RetryTimer"));
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &ExamInputGuard::RetryTimerTimer);
}

ExamInputGuard::~ExamInputGuard() {
    LetGo();
}

void ExamInputGuard::Hold() {
    if (m_holding)
        return;
    m_holding = true;
    if (!m_grab)
        m_grab = g_factory ? g_factory() : MakeWindowSystemGrab();
    // Every window of the program that comes or goes may move the grab.
    qApp->installEventFilter(this);
    m_retry->start();
    Update(true);
}

void ExamInputGuard::LetGo() {
    if (!m_holding)
        return;
    m_holding = false;
    m_retry->stop();
    qApp->removeEventFilter(this);
    ReleaseGrab();
}

QWindow* ExamInputGuard::Target() const {
    if (!m_holding)
        return nullptr;
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* holder = modal != nullptr && modal->isVisible() ? modal : m_screen->window();
    if (!holder->isVisible())
        return nullptr;
    return holder->windowHandle();
}

void ExamInputGuard::ReleaseGrab() {
    if (m_grabbed)
        m_grab->Release(m_grabbed);
    m_grabbed = nullptr;
}

void ExamInputGuard::Update(bool force) {
    QWindow* target = Target();
    if (target == m_grabbed && !force)
        return;
    if (target != m_grabbed)
        ReleaseGrab();
    if (target == nullptr)
        return;
    if (m_grab->Grab(target)) {
        m_grabbed = target;
        return;
    }
    // Refused (a message box not yet on view, a grab of another client): the screen keeps what
    // it can meanwhile, and the retry timer tries again.
    m_grabbed = nullptr;
    QWindow* screen = m_screen->window()->windowHandle();
    if (screen != target && screen != nullptr && m_screen->window()->isVisible() &&
        m_grab->Grab(screen))
        m_grabbed = screen;
}

void ExamInputGuard::RetryTimerTimer() {
    if (m_holding)
        Update(true);
}

bool ExamInputGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() && !m_updatePending) {
        // After the change: the modal window is known to the application only then.
        m_updatePending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_updatePending = false;
                if (m_holding)
                    Update(true);
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
