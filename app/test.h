// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Main screen: full-screen background, splash picture with progress bar; holds ShellState.

#include "platform/screen.h"
#include "shell/shell_state.h"

#include <QPointer>

class QLabel;
class QFrame;
class QProgressBar;
class QTimer;
class TabcBackground;

class TForm1 : public Screen {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    ShellState Shell;

    TabcBackground* abcBackground1;
    QLabel* Image1;
    QFrame* Panel1;
    QProgressBar* ProgressBar2;
    QTimer* Timer1;

    void FormActivate() override;
    void FormDeactivate() override;

    /// A click on the bare background: the main screen comes in front of the screens with its
    /// splash picture; a second click gives the front back to the screen it covered.
    void BackgroundClick();

public Q_SLOTS:
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_inFront = false;
    QPointer<Screen> m_covered; // the screen the background click covered
};

extern QPointer<TForm1> Form1;

/// The shared state record of the running program (on the main screen).
ShellState& Shell();
