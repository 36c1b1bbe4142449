// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control test screen.

#include "questions/question_bank.h"
#include "tests/control_session.h"
#include "tests/question_screen.h"
#include "tests/result_report.h"
#include "tests/test_settings.h"

#include <QPointer>
#include <memory>

class QFrame;
class QLineEdit;
class QPushButton;
class DesktopCover;
class ExamInputGuard;
class KeeperClient;
struct KeeperAnswer;
struct KeeperStart;

class TForm6 : public QuestionScreen {
    Q_OBJECT
public:
    explicit TForm6(ScreenShell& shell, QWidget* parent = nullptr);
    ~TForm6() override;

    static constexpr int kClientWidth = 775;
    static constexpr int kClientHeight = 534;
    static constexpr int kRows = kMaxOptions;

    // Modes of the answer button.
    static constexpr ControlAnswerMode kModeStart = ControlAnswerMode::Start;
    static constexpr ControlAnswerMode kModeAnswer = ControlAnswerMode::Answer;
    static constexpr ControlAnswerMode kModeExit = ControlAnswerMode::Exit;
    static constexpr ControlAnswerMode kModeBack = ControlAnswerMode::Back;

    void FormActivate() override;
    /// The exam keeper that took the candidate's name for this test (the menu starts it); the
    /// keeper keeps the name until the test ends. Without one the screen starts its own.
    void HoldKeeper(std::unique_ptr<KeeperClient> keeper);

    /// The test on this screen: its state and its decisions.
    const ControlSession& Session() const { return m_session; }
    ExamInputGuard& InputGuard() const { return *m_guard; }
    ControlAnswerMode AnswerButtonMode() const { return m_session.AnswerButtonMode(); }
    /// True while the exam keeper holds the test (the result files may still be written).
    bool KeeperOpen() const { return m_keeper != nullptr; }
    /// The keeper's process (0 without one), for the tests that starve it of disk space.
    qint64 KeeperProcessId() const;
    /// The question on screen as the keeper gave it: its options in the rows' order, no points.
    const Question& ShownQuestion() const { return m_shownQuestion; }

    // The frame of the animated picture.
    QFrame* Panel2;

    // Bottom bar (beside the shared controls): the supervisor code.
    QLineEdit* Edit1;     // the supervisor code
    QPushButton* Button2; // checks the supervisor code

public Q_SLOTS:
    void Button1Click();
    void Button2Click();
    void Timer1Timer();
    void Timer4Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The parts of the screen, built in this order by the constructor.
    void SetUpWindow();
    void BuildQuestionArea();
    void BuildPicturePanel();
    void BuildBottomBar();
    void BuildAnswerButton();
    void BuildTimeLeftDisplay();
    void BuildSupervisorCodeEntry();
    void BuildTimers();
    void StackPanels();
    void ConnectAreaHooks();
    void ConnectSignals();

    void PlaceWindow() override;
    bool PreparationPending() const override;
    void PrepareNewTest();
    // The steps of PrepareNewTest; the last three return false when the test was refused.
    void ClearForNewTest();
    void TakeCandidate();
    bool StartKeeper(const QString& programFolder);
    bool QuestionFileReadable();
    bool RefuseForQuestionFile(const KeeperStart& start);
    void RefuseForSettings(const QString& message);
    bool StartControl(const SettingsReading& settings);
    void RefuseTest(const QString& message, ControlRefusal why);
    /// Asks the keeper for the next question and shows it; false when the test stopped.
    bool ShowNextQuestion();
    void CloseKeeper();
    void EnableBoxes(bool enabled);
    void UntickBoxes();
    void StartTest();
    void AnswerGiven();
    void NextQuestion();
    void EndOfTest();
    void AbortAfterWriteFailure(const KeeperAnswer& stop);
    void AskForSupervisorCode();
    void LeaveToMenu();
    void HandBackToMenu();
    void ExitProgram();
    void BoxChanged(int row) override;
    void StartCountdownUnlessVideo();

    ControlSession m_session;
    DesktopCover* m_cover;   // the desktop behind the running test
    ExamInputGuard* m_guard; // the keyboard and the pointer while the test runs
    std::unique_ptr<KeeperClient> m_keeper;
    Question m_shownQuestion;
    CandidateInfo m_candidate;
    bool m_leaving = false;        // closed by the program itself, not by the window system
    bool m_errorShown = false;     // the report's failure has been shown
    bool m_codeUnreadable = false; // the course's supervisor code could not be read
};

extern QPointer<TForm6> Form6;
