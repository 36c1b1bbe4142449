// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control test screen.

#include "questions/question_bank.h"
#include "tests/control_session.h"
#include "tests/question_screen.h"
#include "tests/result_lock.h"
#include "tests/result_report.h"

#include <QPointer>

class QFrame;
class QLineEdit;
class QPushButton;
class DesktopCover;

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
    /// The candidate's name, taken by the menu for this test; the result files keep it until
    /// they are closed.
    void HoldNameLock(std::unique_ptr<ResultNameLock> lock);

    /// The test on this screen: its state and its decisions.
    const ControlSession& Session() const { return m_session; }
    ControlAnswerMode AnswerButtonMode() const { return m_session.AnswerButtonMode(); }
    const ResultReport& Report() const { return m_report; }

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
    bool LoadQuestionFile(const QString& programFolder);
    bool ReadSettings();
    bool OpenResultFiles(const QString& programFolder);
    void RefuseTest(const QString& message, ControlRefusal why);
    bool ReportWritten();
    void EnableBoxes(bool enabled);
    void UntickBoxes();
    void StartTest();
    void AnswerGiven();
    void NextQuestion();
    void EndOfTest();
    void AbortAfterWriteFailure();
    void AskForSupervisorCode();
    void LeaveToMenu();
    void HandBackToMenu();
    void ExitProgram();
    void BoxChanged(int row) override;
    void SetClockLook(const QColor& colour, int pixelSize, bool bold, const QString& text);
    void StartCountdownUnlessVideo();

    ControlSession m_session;
    DesktopCover* m_cover; // the desktop behind the running test
    ResultReport m_report;
    CandidateInfo m_candidate;
    bool m_leaving = false;    // closed by the program itself, not by the window system
    bool m_errorShown = false; // the report's failure has been shown
};

extern QPointer<TForm6> Form6;
