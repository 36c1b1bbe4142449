// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Training test screen.

#include "questions/question_bank.h"
#include "tests/question_screen.h"
#include "tests/training_session.h"

#include <QPointer>
#include <memory>

class QFrame;
class QLabel;
class QToolButton;

class KeeperClient;

class TForm2 : public QuestionScreen {
    Q_OBJECT
public:
    explicit TForm2(ScreenShell& shell, QWidget* parent = nullptr);
    ~TForm2() override;

    static constexpr int kClientWidth = 782;
    static constexpr int kClientHeight = 536;

    // Modes of the answer button.
    static constexpr TrainingAnswerMode kModeStart = TrainingAnswerMode::Start;
    static constexpr TrainingAnswerMode kModeNext = TrainingAnswerMode::Next;
    static constexpr TrainingAnswerMode kModeLeave = TrainingAnswerMode::Leave;

    void FormActivate() override;

    /// The test on this screen: its state and its decisions.
    const TrainingSession& Session() const { return m_session; }
    /// The question on screen as the keeper gave it: its options in the rows' order, no points.
    const Question& ShownQuestion() const { return m_shownQuestion; }
    TrainingAnswerMode AnswerButtonMode() const { return m_session.AnswerButtonMode(); }
    bool Paused() const { return m_session.Paused(); }
    /// True while the clock may run: a question of a test under way is on screen, the time is not
    /// up, the test is not paused and no video fragment holds the clock.
    bool ClockMayRun() const;
    /// Starts the clock again after a visit elsewhere ("Тестирование..." on the start bar), but
    /// only when it may run.
    void ResumeClock();

    // Set by the menu when it opens the screen: the pause button works only when set.
    bool PauseAllowed = false;
    // Hand-over to the textbook: while HelpPageRequested is 1 the textbook opens HelpPage.
    int HelpPageRequested = 0;
    QString HelpPage;

    // Bottom bar (beside the shared controls): the pause button.
    QToolButton* SpeedButton1; // pause: "Стоп" / "Старт"

    // Feedback strip.
    QFrame* Panel2;
    QLabel* Label9;            // verdict
    QToolButton* SpeedButton2; // "П о м о щ ь..."

    // The frame of the animated picture.
    QFrame* Panel3;

public Q_SLOTS:
    void Button1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Timer1Timer();
    void Timer4Timer();
    void Panel2Click() {}
    void Panel2DblClick() {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The parts of the screen, built in this order by the constructor.
    void SetUpWindow();
    void BuildQuestionArea();
    void BuildBottomBar();
    void BuildAnswerButton();
    void BuildPauseButton();
    void BuildTimeLeftDisplay();
    void BuildFeedbackStrip();
    void BuildPicturePanel();
    void BuildTimers();
    void StackPanels();
    void ConnectAreaHooks();
    void ConnectSignals();

    void PlaceWindow() override;
    bool PreparationPending() const override;
    void PrepareNewTest();
    void LoadTest();
    void RefuseTest(const QString& message);
    void StartTest();
    void AnswerGiven();
    void LeaveTest();
    void HandBackToMenu();
    bool AnyBoxTicked() const;
    void ClearTicksQuietly();
    void LockStartBar();
    void StopVideoNotice();
    void BoxChanged(int row) override;
    void ShowVerdict();
    /// Asks the keeper for the next question and shows it; false when the keeper failed.
    bool ShowNextQuestion();
    /// The keeper failed during the test: the message, and "OK" leads back to the menu.
    void KeeperFailed(const QString& message);
    void CloseKeeper();
    void TimeUp();
    void ShowResult();

    TrainingSession m_session;
    /// The exam keeper: it loads the question file, draws, and judges the ticks.
    std::unique_ptr<KeeperClient> m_keeper;
    Question m_shownQuestion; // as the keeper gave it: no points
    Verdict m_verdict = Verdict::Hidden;
    bool m_leaving = false;
};

extern QPointer<TForm2> Form2;
