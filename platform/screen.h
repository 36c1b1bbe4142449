// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

// Base of every screen of the program: a top-level window whose activation and deactivation
// reach the screen as FormActivate() and FormDeactivate(), as the screens' own handlers expect.
// Tests call the handlers directly; the real program gets them from the window system.
class Screen : public QWidget {
    Q_OBJECT
public:
    explicit Screen(QWidget* parent = nullptr);

    /// Runs every time the screen becomes the active window.
    virtual void FormActivate() {}
    /// Runs every time another window becomes active.
    virtual void FormDeactivate() {}

    /// Shows the screen, raises it and asks for activation. An open message box (or another
    /// modal window) stays above it and keeps the keyboard; the screens kept in front (the start
    /// bar) stay above it too.
    void ShowScreen();
    /// Shows the screen modally and returns when it is hidden or closed. Under test the modal
    /// loop is skipped (see SetModalLoopsEnabled) and the call returns at once.
    void ShowModal();
    bool IsModalShowing() const { return m_modalLoop != nullptr; }

    /// Sets the size of the client area (the window without the border the screen draws).
    void SetClientSize(int width, int height);
    /// Moves the window so that it is centred on the display, rounding halves to even. With
    /// lowDisplayTop, a display 623 pixels high or less puts the window at that top instead.
    void CentreOnDisplay(std::optional<int> lowDisplayTop = std::nullopt);

    static void SetModalLoopsEnabled(bool enabled);

    /// True when a screen that is being deactivated loses the focus to a window that is no screen
    /// (a message box, a dialog) or to another application: coming back from there is no new
    /// activation.
    static bool FocusStaysWithScreen(const QWidget* screen);

    /// True once the screen has been closed for good and waits to be freed.
    bool IsClosing() const;

    /// Raises the screens kept in front and then the open modal window, if any, above them.
    static void RaiseKeptInFront();
    /// The screen that was active before the active one (the last one to lose the activation).
    static Screen* LastDeactivated();
    /// The screen most recently brought to the front by ShowScreen().
    static Screen* LastShown();

protected:
    /// With this set, a return from a window of the screen's own or from another application
    /// does not run FormActivate() again (the screen keeps what it shows).
    void SetActivationSkippedOnReturn(bool skipped) { m_skipOnReturn = skipped; }
    /// A screen kept in front stands above every other screen (the window system may not
    /// honour the always-on-top hint, and without a window manager nobody does).
    void SetKeptInFront(bool kept) { m_keptInFront = kept; }

    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    /// Brings back a screen the window system minimised.
    void RestoreMinimised();

    class QEventLoop* m_modalLoop = nullptr;
    bool m_inActivate = false;
    bool m_skipOnReturn = false;
    bool m_skipNextActivation = false;
    bool m_keptInFront = false;
    bool m_closing = false;
    bool m_restorePending = false;
};

/// Re-creates a screen that freed itself on close: when flag is 1 (or the screen is gone), makes a
/// new instance from args, stores it in the global reference and clears the flag.
template <typename Form, typename Pointer, typename... Args>
void RecreateIfFreed(int& flag, Pointer& global, Args&&... args) {
    if (flag == 1 || !global) {
        global = new Form(std::forward<Args>(args)...);
        flag = 0;
    }
}

/// The control of row 1..N of a screen, its row controls given in row order; null for any other
/// row. The rows' controls keep the program's names, whose numbers need not follow the rows.
template <typename T> T* RowControl(int row, std::initializer_list<T*> rows) {
    return row >= 1 && row <= int(rows.size()) ? rows.begin()[row - 1] : nullptr;
}

/// Sets the object name of a control (its name in the program) and returns it.
template <typename T> T* Named(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
