// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Start bar: the small always-on-top strip with "Тестирование...", "О программе...", "Выход".

#include "platform/screen.h"

#include <QPointer>

class QFrame;
class TabcBackground;
class TabcToggleBtn;

class QCloseEvent;

class TForm5 : public Screen {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    static constexpr int kClientWidth = 385;
    static constexpr int kClientHeight = 27;
    static constexpr int kBorder = 2;

    QFrame* Panel1;
    TabcBackground* abcBackground1;
    TabcToggleBtn* abcToggleBtn1; // "Тестирование..."
    TabcToggleBtn* abcToggleBtn2; // "О программе..."
    TabcToggleBtn* abcToggleBtn3; // "Учебник..." (never visible)
    TabcToggleBtn* abcToggleBtn4; // "Выход"

    void FormActivate() override;

    /// Left edge by the halving rule: half the display width - 50 (- 150 on low displays).
    static int PlacementLeft(QSize display);

    // Operations of the other screens on the start bar.
    void PutDown(TabcToggleBtn* button);
    void Raise(TabcToggleBtn* button);
    /// Tells the window system that the start bar belongs above the main screen (a window manager
    /// keeps it there even while the full-screen main screen is the active window).
    void StandAbove(QWidget* mainScreen);
    /// Enables or disables "Тестирование...", "О программе..." and "Учебник..." together.
    void SetTestButtonsEnabled(bool enabled);

public Q_SLOTS:
    void abcToggleBtn1Click();
    void abcToggleBtn2Click();
    void abcToggleBtn3Click();
    void abcToggleBtn4Click();
    void ButtonMouseEnter();
    void ButtonMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Place();
};

extern QPointer<TForm5> Form5;
