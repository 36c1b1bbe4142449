// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <memory>

class QTimer;
class QWidget;

/// Takes and gives back the keyboard and the pointer for the whole display. The real one asks the
/// window system (on X11 an active grab of both); tests put in one that records.
class InputGrab {
public:
    virtual ~InputGrab() = default;
    /// Grabs the keyboard and the pointer for window; false when the window system refused (a
    /// grab of another client, a window not yet on the display).
    virtual bool Grab(QWindow* window) = 0;
    /// Gives back what Grab() took for window.
    virtual void Release(QWindow* window) = 0;
};

/// The grab of the window system, through Qt. Where the platform has no such grab (offscreen,
/// minimal) it grabs nothing and says it did.
std::unique_ptr<InputGrab> MakeWindowSystemGrab();

/// Holds the keyboard and the pointer for a screen while an exam runs on it, so that no key chord
/// and no click reaches another program or the window manager's own bindings and menus.
///
/// The rules:
/// - nothing is held before Hold() and after Let go (LetGo(), or the screen destroyed);
/// - while held, the grab is on the screen's window, and on the program's own modal window (a
///   message box of the test) while one is open, so that it gets the keys and the clicks; when
///   that window closes, the grab is taken again for the screen;
/// - a grab the window system refuses is tried again at the next tick of the retry timer, which
///   runs while the grab is held and also takes it back if something of the program let it go
///   (a popup's own grab ends with a release).
class ExamInputGuard : public QObject {
    Q_OBJECT
public:
    /// Watches screen, which owns the guard.
    explicit ExamInputGuard(QWidget* screen, std::unique_ptr<InputGrab> grab = nullptr);
    ~ExamInputGuard() override;

    /// From now on the keyboard and the pointer stay with the screen.
    void Hold();
    /// Gives everything back.
    void LetGo();

    bool Holding() const { return m_holding; }
    /// The window the grab is on now, or null.
    QWindow* Grabbed() const { return m_grabbed; }
    /// The window the grab belongs on now: the open modal window of the program, else the
    /// screen's; null when nothing is to be held.
    QWindow* Target() const;

    /// Replaces the grab of the window system for every guard that holds from now on, unless it
    /// was given one (tests).
    static void SetGrabFactoryForTesting(std::function<std::unique_ptr<InputGrab>()> factory);

public Q_SLOTS:
    /// The retry timer's tick: takes the grab where it belongs if it is not there.
    void RetryTimerTimer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Puts the grab where it belongs; force also renews a grab already there.
    void Update(bool force);
    void ReleaseGrab();

    QWidget* m_screen;
    std::unique_ptr<InputGrab> m_grab;
    QTimer* m_retry;
    QPointer<QWindow> m_grabbed;
    bool m_holding = false;
    bool m_updatePending = false;
};
