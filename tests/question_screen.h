// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the training and the control screens have in common: a question area with its question
// file, the tick boxes of the five rows and the steps of a video question.

#include "platform/screen.h"
#include "questions/answer_points.h"
#include "questions/question_area.h"
#include "questions/question_bank.h"
#include "shell/screen_shell.h"

class QCheckBox;
class QFrame;
class QLabel;
class QMovie;
class QProgressBar;
class QRect;
class QPushButton;
class QTimer;
class AutoSizeLabel;
class Announcement;

class QuestionScreen : public Screen {
    Q_OBJECT
public:
    explicit QuestionScreen(ScreenShell& shell, QWidget* parent = nullptr);

    /// The question area (question text, pictures, option rows, video presentation).
    QuestionArea* Area() const { return m_area; }
    const QuestionBank& Bank() const { return m_bank; }
    /// The tick box of row (display position) 1..5.
    QCheckBox* Box(int row) const;
    /// The points of the options in rows 1..5 of the question on screen.
    PositionPoints ShownPoints() const;

    // Controls of the question area, named as the program names them.
    AutoSizeLabel* Label5 = nullptr;
    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr,
              *CheckBox4 = nullptr, *CheckBox6 = nullptr;

    // Bottom bar, made by each screen.
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr; // "OK" / "Следующий вопрос" (training: "Выход..." too)
    QLabel* Label8 = nullptr; // "Осталось:"
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label7 = nullptr; // seconds left, or "Время истекло!"

    // The animated picture of the opening and result displays.
    QLabel* Image2 = nullptr;
    QMovie* Animation = nullptr;

    QTimer* Timer1 = nullptr; // training: the clock; control: the countdown of each question
    QTimer* Timer4 = nullptr; // answer-button delay, 700 ms

public Q_SLOTS:
    // A box of row 1..5 changed (CheckBox6 is row 5).
    void CheckBox1Click() { BoxChanged(1); }
    void CheckBox2Click() { BoxChanged(2); }
    void CheckBox3Click() { BoxChanged(3); }
    void CheckBox4Click() { BoxChanged(4); }
    void CheckBox6Click() { BoxChanged(5); }
    // The steps of a video question, run by the question area's timers and player.
    void Timer2Timer() { m_area->Timer2Timer(); }
    void MediaPlayer1Notify() { m_area->MediaPlayer1Notify(); }
    void Timer3Timer() { m_area->Timer3Timer(); }

protected:
    /// Makes the question area on the screen in config's places, reading m_bank, and takes its
    /// controls' names.
    void MakeQuestionArea(QuestionAreaConfig config);
    /// What the screen does when the box of row 1..5 changes.
    virtual void BoxChanged(int row) = 0;
    /// Connects the boxes' changes to CheckBox1Click() .. CheckBox6Click().
    void ConnectBoxes();

    /// Placed by PlaceWindow(). Normally the activation that follows the showing prepares a
    /// pending test; should the window system not activate the screen (focus-stealing
    /// prevention), it is prepared all the same.
    void showEvent(QShowEvent* event) override;
    /// Return and Enter press the answer button (which Tab skips) wherever the focus is, except
    /// in an entry field, which has its own use for them.
    void keyPressEvent(QKeyEvent* event) override;
    /// Places the window by the screen's rule (on showing and on every activation).
    virtual void PlaceWindow() = 0;
    /// True while the next activation is to prepare a new test.
    virtual bool PreparationPending() const = 0;
    /// Says text to a screen reader (the verdict, the end of the time, the result).
    void Announce(const QString& text);
    /// Hands a screen reader the question just shown: a reader follows the keyboard, which is
    /// on a tick box, and would not read the question text by itself.
    void AnnounceQuestion();
    /// What was said last (empty before the first announcement).
    QString LastAnnounced() const;
    // The bottom bar both screens carry, built in this order; the places are each screen's own.
    /// Panel1, `height` high along the bottom of the client area.
    void MakeBottomBar(int height);
    /// Button1, "OK", at `place` in the bottom bar.
    void MakeAnswerButton(const QRect& place);
    /// "Осталось:" (Label8) at labelPos, ProgressBar1 and the seconds left (Label7) at their
    /// places in the bottom bar, all hidden until the test starts.
    void MakeTimeLeftDisplay(QPoint labelPos, const QRect& barPlace, const QRect& clockPlace);
    /// The clock as it counts: the seconds left in blue, 14 points.
    void ShowClock(const QString& text);
    /// "Время истекло!" in red, 7 points.
    void ShowTimeUp();
    /// Stops the clock, the answer-button delay and the video question's timers.
    void StopTimers();
    /// Ends a close that frees the screen: recreateFlag (the screen's Recreate...Screen flag of
    /// ShellState) is set, so that the screen that opens it next makes a new one.
    void FreeOnClose(QCloseEvent* event, int& recreateFlag);

    /// The program around the screen: the main screen, the menu, the start bar, the textbook.
    ScreenShell& m_shell;
    QuestionArea* m_area = nullptr;
    QuestionBank m_bank;

private:
    Announcement* m_announcement = nullptr;
};
