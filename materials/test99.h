// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Video fragment viewer.

#include "materials/video_viewer_core.h"
#include "platform/screen.h"
#include "shell/screen_shell.h"

#include <QPointer>
#include <QRect>
#include <array>
#include <cstdint>

class MediaPlayer;
class QFrame;
class QLabel;
class QTimer;
class QToolButton;

class TForm9 : public Screen {
    Q_OBJECT
public:
    explicit TForm9(ScreenShell& shell, QWidget* parent = nullptr);
    ~TForm9() override;

    static constexpr int kStripWidth = 497;
    static constexpr int kStripHeight = 34;

    QFrame* Panel5; // backdrop panel filling the viewer
    QLabel* Image3; // backdrop picture
    QFrame* Panel6; // display area of the fragment
    QLabel* Image2; // cover picture over the display area
    QLabel* Label1; // notice during a training test, three lines
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;                      // what keeps a fragment from being played
    QFrame* Panel1;                      // control strip
    QLabel* Image1;                      // strip picture
    QToolButton* SpeedButton1;           // "Выход"
    QToolButton* SpeedButton2;           // "Предыд."
    QToolButton* SpeedButton3;           // "Следующ."
    QToolButton* SpeedButton4;           // "Конец"
    QToolButton* SpeedButton5;           // "Начало"
    QToolButton* SpeedButton6;           // "Стоп"
    QToolButton* SpeedButton7;           // "СТАРТ"
    MediaPlayer* MediaPlayer1 = nullptr; // made when the viewer is first shown
    QTimer* Timer1;                      // start of play, one second after showing
    QTimer* Timer2;                      // notice lines, one a second

    std::uint8_t NoticeTicks = 0; // Timer2 ticks since the notice started
    QRect DisplayRect;            // the player's rectangle in the display area

    /// The six playback buttons, "СТАРТ" first.
    std::array<QToolButton*, 6> PlaybackButtons() const;
    /// Where the player stands for the frame buttons.
    const FragmentPosition& Position() const { return m_position; }
    /// True while a fragment is playing.
    bool Playing() const { return m_position.Playing(); }

public Q_SLOTS:
    /// Runs every time the viewer is shown: opens the fragment, or the notice during a training
    /// test, and takes the textbook and the start bar's buttons out of use.
    void FormShow();
    void Timer1Timer();
    void Timer2Timer();
    /// The end of playback (also of a playback that failed).
    void MediaPlayer1Notify();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ScreenShell& m_shell; // the program around the screen: the video hand-over, the start bar

    // Parts of the viewer, made in this order by the constructor.
    void SetUpWindow();
    void BuildDisplayArea();
    void BuildNotices();
    void BuildControlStrip();
    void BuildStripButtons();
    void BuildTimers();

    void CreatePlayer();
    void LayOut();
    bool OpenFragment();
    void StartPlaying();
    void ShowProblem(FragmentProblem problem);
    void SetPlaybackButtonsEnabled(bool enabled);
    void AttachDisplay(bool attached);
    void RaiseStrip();
    void HoldStill();
    void GiveBackTextbook();
    void ReturnToTextbook();
    bool Busy() const;

    FragmentPosition m_position;
    bool m_opened = false;          // a fragment is open in the player
    bool m_displayAttached = false; // the player draws into the display area
    bool m_opening = false;         // the player is opening the fragment
    bool m_freeAfterOpen = false;   // closed while opening: freed once the player is back
    bool m_leaving = false;
};

extern QPointer<TForm9> Form9;
