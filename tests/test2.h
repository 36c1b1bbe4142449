#pragma once

// Training test screen.

#include "questions/question_bank.h"
#include "tests/question_screen.h"
#include "tests/training_core.h"

#include <QPointer>
#include <array>

class QFrame;
class QLabel;
class QToolButton;

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

    TrainingAnswerMode AnswerButtonMode() const { return m_answerMode; }

    /// True between the time-up message and the end of the test.
    bool TimeIsUp() const { return m_timeUp; }
    bool Paused() const { return m_paused; }
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

    // State of the test.
    int TrainingQuestionCount = 0;
    int TrainingTimeLimit = 0;
    int AskedCount = 0;                          // number of the question on screen within the test
    TrainingClock Clock;                         // TimeLeft and ElapsedTicks
    int QuestionScore = 0;                       // points of the current ticks
    int TotalScore = 0;                          // points of the answered questions
    std::array<bool, kTrainingRows> Ticked{};    // as last reported by the boxes' handlers
    std::array<bool, kTrainingRows> BoxesLive{}; // 0: a change of the box is not reported
    int OkDelaySkip = 0;                         // the next Timer4 tick leaves Button1 disabled
    int ResetOnActivate = 1;  // 1: the next activation prepares a new test; 2: it changes nothing
    int ReloadOnActivate = 1; // 1: that activation loads the question file; 2: it skips it once

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
    void showEvent(QShowEvent* event) override;

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

    void PlaceWindow();
    void PrepareNewTest();
    void LoadTest();
    void RefuseTest(const QString& message);
    void SetAnswerButtonMode(TrainingAnswerMode mode) { m_answerMode = mode; }
    void StartTest();
    void AnswerGiven();
    void LeaveTest();
    void HandBackToMenu();
    void ScoreAnswer();
    void ClearTicksQuietly();
    void SetBoxesLive(bool live);
    void LockStartBar();
    void StopVideoNotice();
    void BoxChanged(int row) override;
    void ShowVerdict();
    void TimeUp();
    void ShowResult();
    void SetClockLook(const QColor& colour, int pixelSize, const QString& text);

    TrainingAnswerMode m_answerMode = TrainingAnswerMode::Start;
    bool m_timeUp = false;
    bool m_paused = false;
    bool m_leaving = false;
};

extern QPointer<TForm2> Form2;
