#pragma once

#include <QWidget>
#include <functional>
#include <optional>

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

    /// Shows the screen, raises it and asks for activation.
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

    /// True when a screen that is being deactivated loses the focus to a window of its own (a
    /// dialog it opened) or to another application: coming back from there is no new activation.
    static bool FocusStaysWithScreen(const QWidget* screen);

protected:
    /// With this set, a return from a window of the screen's own or from another application
    /// does not run FormActivate() again (the screen keeps what it shows).
    void SetActivationSkippedOnReturn(bool skipped) { m_skipOnReturn = skipped; }

    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    class QEventLoop* m_modalLoop = nullptr;
    bool m_inActivate = false;
    bool m_skipOnReturn = false;
    bool m_skipNextActivation = false;
};

/// Sets the object name of a control (its name in the program) and returns it.
template <typename T> T* Named(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
