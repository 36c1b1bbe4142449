// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <optional>

class QWidget;
class NewWindowWatch;

/// Keeps a screen in front of the desktop. Once CoverDesktop() is called, a plain window over the
/// whole display stands behind the screen for as long as the screen is shown, so that nothing
/// around it can be reached: not the desktop with its menus and icons, not another program. The
/// cover has no controls and no text and never takes the focus.
///
/// The screen stays in front: it is made a transient window of the cover, which window managers
/// keep above its parent. A screen that is minimised (a window manager may offer the button
/// although the screen asks for none) is restored and raised at once, its cover with it. Both stay
/// on top, and a window of another program that appears while the desktop is covered is put
/// below the cover at once. When the window manager makes another program's window active (a
/// full-screen window it keeps above all), the screen (or its open message box) takes the
/// activation back. The cover, the screen and its message boxes stand on every desktop, and a
/// switch to another desktop is undone.
class DesktopCover : public QObject {
    Q_OBJECT
public:
    /// Watches screen, which owns the object.
    explicit DesktopCover(QWidget* screen);
    ~DesktopCover() override;

    /// Shows the cover behind the screen until the screen is hidden.
    void CoverDesktop();
    /// The cover window (hidden while the desktop is not covered).
    QWidget* Cover() const { return m_cover; }
    /// Puts the cover above every other window and the screen (and an open message box) above
    /// it, activates the screen (or the box) if another program's window is active and asks for
    /// the covered desktop back; runs whenever a window of another program appears, another
    /// window is activated or another desktop shown while the desktop is covered.
    void StayInFront();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCover();
    void ShowFullScreen();
    /// Puts the program's windows on view on every desktop.
    void KeepOnEveryDesktop();
    /// Brings back a minimised screen and its cover: the cover over the display, the screen in
    /// front.
    void Restore();

    QWidget* m_screen;
    QPointer<QWidget> m_cover;
    QPointer<NewWindowWatch> m_watch; // while covering
    std::optional<quint32> m_desktop; // the desktop shown when the cover came
    bool m_covering = false;
    bool m_restorePending = false;
};
