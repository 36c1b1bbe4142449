// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Control test screen.
#include "tests/test6.h"

#include "keeper/keeper_client.h"
#include "platform/colours.h"
#include "platform/desktop_cover.h"
#include "platform/display.h"
#include "platform/exam_input_guard.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/named_colours.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "questions/question_area.h"
#include "tests/supervisor_check.h"
#include "tests/test_settings.h"
#include "widgets/shown_movie.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

QPointer<TForm6> Form6;

namespace {

constexpr QColor kBackground = Colours::kTestBackground;
using Colours::kRed;

constexpr int kBottomBarHeight = 51;

QuestionAreaConfig ControlAreaConfig() {
    QuestionAreaConfig config;
    config.PictureFrameName = "Panel3";
    config.QuestionTextPos = QPoint(32, 0);
    config.NoticePos = QPoint(48, 0);
    config.PictureFrameLeft = 48;
    config.PanelAnchor = VideoPanelAnchor::AboveBottomBar;
    config.PanelAnchorMargin = 22;
    return config;
}

} // namespace

TForm6::TForm6(ScreenShell& shell, QWidget* parent) : QuestionScreen(shell, parent) {
    SetUpWindow();
    // The question area first, so that the bar and the picture panel stand in front of it.
    BuildQuestionArea();
    BuildPicturePanel();
    BuildBottomBar();
    BuildTimers();
    StackPanels();
    ConnectAreaHooks();
    ConnectSignals();
    // The course's own code, checked where its hash can be read.
    m_session.SetCodeCheck([this](const QString& code) {
        const SupervisorCheck verdict = CheckSupervisorCode(m_shell.ProgramFolder(), code);
        m_codeUnreadable = verdict == SupervisorCheck::Unreadable;
        return verdict == SupervisorCheck::Accepted;
    });
}

void TForm6::SetUpWindow() {
    setObjectName(QStringLiteral("Form6"));
    // Single fixed border with a title but no title-bar buttons, always on top.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Внимание!"));
    // A minimised screen comes back at once; once the test runs, a plain window covers the
    // desktop behind the screen.
    m_cover = new DesktopCover(this);
    // From "OK" until the supervisor code the keyboard and the pointer stay with the test.
    m_guard = new ExamInputGuard(this);
    setFont(PixelFont(QStringLiteral("Arial"), 11));
    SetFillColour(this, kBackground);
    setFixedSize(kClientWidth, kClientHeight);
}

void TForm6::BuildQuestionArea() {
    MakeQuestionArea(ControlAreaConfig());
}

// The animated picture of the opening and result displays.
void TForm6::BuildPicturePanel() {
    Panel2 = Named(new QFrame(this), "Panel2");
    Panel2->setGeometry(293, 162, 169, 185);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(1);
    Image2 = Named(new QLabel(Panel2), "Image2");
    Image2->setGeometry(Panel2->contentsRect());
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setAttribute(Qt::WA_TranslucentBackground);
    Animation = new QMovie(QStringLiteral(":/pictures/test_animation.gif"), QByteArray(), this);
    ShowMovieWhileVisible(Image2, Animation);
}

void TForm6::BuildBottomBar() {
    MakeBottomBar(kBottomBarHeight);
    BuildAnswerButton();
    BuildTimeLeftDisplay();
    BuildSupervisorCodeEntry();
}

void TForm6::BuildAnswerButton() {
    MakeAnswerButton(QRect(16, 10, 177, 31));
}

void TForm6::BuildTimeLeftDisplay() {
    MakeTimeLeftDisplay(QPoint(272, 15), QRect(336, 15, 313, 16),
                        QRect(656, 12, kClientWidth - 656 - 4, 24));
}

// The field and the button with which the supervisor ends the result display; hidden until then.
void TForm6::BuildSupervisorCodeEntry() {
    Edit1 = Named(new QLineEdit(Panel1), "Edit1");
    Edit1->setGeometry(221, 16, 39, 21);
    Edit1->setEchoMode(QLineEdit::Password);
    // No menu of its own: a popup would take the grab of the keyboard and give it back to nobody.
    Edit1->setContextMenuPolicy(Qt::NoContextMenu);
    // One "*" for each character typed, whatever the style's own mask.
    Edit1->setStyleSheet(QStringLiteral("QLineEdit#Edit1 { lineedit-password-character: 42; }"));
    Edit1->hide();

    // The code is the supervisor's: the button asks for it and never shows it.
    Button2 = Named(new QPushButton(QStringLiteral("Введите код"), Panel1), "Button2");
    Button2->setGeometry(24, 12, 177, 29);
    Button2->setCursor(Qt::PointingHandCursor);
    Button2->setFont(PixelFont(QStringLiteral("Arial"), 13));
    Button2->hide();
}

void TForm6::BuildTimers() {
    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    Timer4 = Named(new QTimer(this), "Timer4");
    Timer4->setInterval(700);
    Timer4->setTimerType(Qt::PreciseTimer); // a coarse timer may be 35 ms off
    Timer4->setSingleShot(true);
}

// Tells the question area where the bar is and puts the bar and the picture in front of it.
void TForm6::StackPanels() {
    m_area->SetBottomBar(Panel1);
    m_area->SetFeedbackStrip(nullptr); // the control screen says nothing during the test
    m_area->SetAnswerButton(Button1);
    Panel1->raise();
    Panel2->raise();
}

// Where the question area hands over to this screen.
void TForm6::ConnectAreaHooks() {
    QuestionAreaHooks& hooks = m_area->Hooks;
    hooks.SetTitle = [this] { setWindowTitle(ControlQuestionTitle(m_session.ShownCount())); };
    hooks.VideoNoticeStarted = [this] {
        // The countdown waits for the fragment; Button1 stays disabled until the question is
        // shown again after it.
        m_session.VideoNoticeStarted();
        Timer1->stop();
    };
    hooks.PlaybackStarting = [this] { Timer1->stop(); };
    hooks.RevealFinished = [this] {
        Timer1->start();
        Button1->setEnabled(true);
    };
}

void TForm6::ConnectSignals() {
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connect(Edit1, &QLineEdit::returnPressed, this, &TForm6::Button2Click);
    ConnectBoxes();
    connect(Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
    connect(Timer4, &QTimer::timeout, this, &TForm6::Timer4Timer);
}

TForm6::~TForm6() {
    Timer1->stop();
    Timer4->stop();
    CloseKeeper();
}

void TForm6::HoldKeeper(std::unique_ptr<KeeperClient> keeper) {
    m_keeper = std::move(keeper);
}

qint64 TForm6::KeeperProcessId() const {
    return m_keeper ? m_keeper->ProcessId() : 0;
}

void TForm6::CloseKeeper() {
    // The keeper leaves an unfinished test as it stands (the report keeps its block) and gives
    // the name free.
    if (m_keeper)
        m_keeper->Close();
    m_keeper.reset();
}

void TForm6::EnableBoxes(bool enabled) {
    for (int row = 1; row <= kRows; ++row)
        Box(row)->setEnabled(enabled);
}

void TForm6::UntickBoxes() {
    for (int row = 1; row <= kRows; ++row)
        Box(row)->setChecked(false);
}

// --- Activation --------------------------------------------------------------------------------

void TForm6::PlaceWindow() {
    SetClientSize(kClientWidth, kClientHeight);
    CentreOnDisplay(5); // top 5 on displays 623 pixels high or less
}

bool TForm6::PreparationPending() const {
    return m_session.NewTestPending();
}

void TForm6::FormActivate() {
    PlaceWindow();
    // Only a fresh screen prepares a test when it becomes active.
    if (m_session.OnActivation() == Activation::Keep)
        return;
    EnableBoxes(true);
    UntickBoxes();
    Button1->setText(QStringLiteral("OK"));
    Button1->setEnabled(true);
    Button1->show();
    Button2->hide();
    Edit1->hide();
    m_area->View.OptionPicturePending.fill(false);
    PrepareNewTest();
}

void TForm6::PrepareNewTest() {
    ClearForNewTest();
    const QString programFolder = m_shell.ProgramFolder();
    m_area->SetProgramFolder(programFolder);
    TakeCandidate();

    // The exam keeper loads the question file, draws, scores and writes the result files; the
    // screen shows what it returns. Everything that can refuse the test is settled before the
    // result files are touched, so a test that cannot run neither adds an empty block to the
    // report nor empties an earlier data file. Each step below returns false when it refused the
    // test (or when the screen was closed while its message was shown): nothing more is done then.
    if (!StartKeeper(programFolder))
        return;
    const SettingsReading settings = m_shell.ReadControlSettings(kMaxQuestions);
    if (!settings.ok) {
        if (!QuestionFileReadable())
            return;
        RefuseForSettings(settings.message);
        return;
    }
    if (!StartControl(settings))
        return;
    ProgressBar1->setRange(0, std::max(1, m_session.SecondsPerQuestion()));
    ProgressBar1->setValue(0);
}

void TForm6::ClearForNewTest() {
    ShowClock(QString());
    m_area->ClearQuestionArea();
}

// The registration the menu holds, written into the result files.
void TForm6::TakeCandidate() {
    m_candidate = m_shell.Candidate();
}

bool TForm6::StartKeeper(const QString& programFolder) {
    m_errorShown = false;
    if (m_keeper)
        return true;
    m_keeper = std::make_unique<KeeperClient>(programFolder);
    QString problem;
    if (m_keeper->Start(&problem))
        return true;
    m_keeper.reset();
    const QPointer<TForm6> self(this);
    m_errorShown = true;
    ShowMessage(problem, MessageKind::Error, this);
    if (self)
        RefuseTest(problem, ControlRefusal::Preparation);
    return false;
}

// A missing question file is said on the screen; a damaged one also gets the message box that
// names the file and the line. "OK" ends the program then.
bool TForm6::RefuseForQuestionFile(const KeeperStart& start) {
    if (start.refusal != QLatin1String("missing") && start.refusal != QLatin1String("questions"))
        return false;
    const QPointer<TForm6> self(this);
    if (start.refusal != QLatin1String("missing")) {
        ShowMessage(start.message, MessageKind::Error, this);
        if (!self)
            return true;
    }
    RefuseTest(start.refusal == QLatin1String("missing")
                   ? QStringLiteral("Не задан файл вопросов теста")
                   : start.message,
               ControlRefusal::QuestionFile);
    return true;
}

bool TForm6::QuestionFileReadable() {
    // The settings are wrong; a question file that cannot be read is said first all the same.
    const KeeperStart probe = m_keeper->Training(m_candidate.Topic, 1);
    if (probe.ready)
        m_keeper->End();
    return !RefuseForQuestionFile(probe);
}

void TForm6::RefuseForSettings(const QString& message) {
    // A test never starts with a count or a time that did not convert: "OK" leads back to the
    // menu, where the administration screen is.
    const QPointer<TForm6> self(this);
    ShowMessage(message, MessageKind::Error, this);
    if (self)
        RefuseTest(message, ControlRefusal::Preparation);
}

bool TForm6::StartControl(const SettingsReading& settings) {
    const KeeperStart start = m_keeper->Control(m_candidate, settings.QuestionCount);
    if (start.ready) {
        Label5->setText(start.title);
        Label5->show();
        Button1->setText(QStringLiteral("OK"));
        Button1->setEnabled(true);
        Button1->show();
        m_session.Ready(start.questions, settings.Seconds);
        return true;
    }
    if (RefuseForQuestionFile(start))
        return false;
    if (start.refusal == QLatin1String("empty")) {
        RefuseForSettings(start.message);
        return false;
    }
    // A result file or folder, the name in use or refused, or the keeper itself.
    const QPointer<TForm6> self(this);
    m_errorShown = true;
    ShowMessage(start.message, MessageKind::Error, this);
    if (self)
        RefuseTest(start.message, ControlRefusal::Preparation);
    return false;
}

void TForm6::RefuseTest(const QString& message, ControlRefusal why) {
    SetTextColour(Label5, kRed);
    Label5->setText(message);
    Label5->show();
    Button1->setText(QStringLiteral("OK"));
    m_session.Refuse(why);
    Button1->setEnabled(true);
    Button1->show();
}

// --- The answer button -------------------------------------------------------------------------

void TForm6::Button1Click() {
    // Every click gives the boxes back, also after the time of a question ran out.
    EnableBoxes(true);
    switch (AnswerButtonMode()) {
    case kModeStart:
        StartTest();
        break;
    case kModeAnswer:
        AnswerGiven();
        break;
    case kModeExit:
        ExitProgram();
        break;
    case kModeBack:
        LeaveToMenu();
        break;
    default:
        break;
    }
}

void TForm6::StartTest() {
    m_session.StartTest();
    m_shell.SetStartBarShown(false); // the start bar stays away for the whole test
    m_shell.PutAwayForExam();        // no other window of the program stays open
    m_cover->CoverDesktop();
    m_guard->Hold();
    Image2->hide();
    Panel2->hide();
    Button1->setText(QStringLiteral("Следующий вопрос"));
    Button1->setEnabled(false);
    Timer4->start();
    m_area->ClearQuestionArea();
    if (!ShowNextQuestion())
        return;
    StartCountdownUnlessVideo();
    Label7->show();
    Label8->show();
    ProgressBar1->show();
    ProgressBar1->setValue(0);
    Label7->setText(QString::number(m_session.Countdown().SecondsLeft));
}

void TForm6::StartCountdownUnlessVideo() {
    // A countdown still running from the previous question goes on in its rhythm.
    if (m_session.CountdownStartsNow() && !Timer1->isActive())
        Timer1->start();
}

void TForm6::AnswerGiven() {
    const int seconds = m_session.SecondsPerQuestion();
    ProgressBar1->setRange(0, std::max(1, seconds));
    ProgressBar1->setValue(0);
    ShowClock(QString::number(seconds));

    // The answer is on disk before anything else happens: the keeper answers once it is.
    const KeeperAnswer answer = m_keeper ? m_keeper->Answer(m_session.Ticked()) : KeeperAnswer{};
    const bool last = m_session.ShownCount() >= m_session.QuestionsToAsk();
    if (answer.kind != (last ? KeeperAnswer::Kind::Result : KeeperAnswer::Kind::Saved)) {
        AbortAfterWriteFailure(answer);
        return;
    }
    // The points stay with the keeper until the result.
    const AfterAnswer next = m_session.Answered(last ? answer.points : 0);
    ProgressBar1->setValue(0);
    Button1->setEnabled(false);
    Timer4->start();
    m_area->ClearQuestionArea();
    if (next == AfterAnswer::NextQuestion) {
        UntickBoxes();
        if (!ShowNextQuestion())
            return;
        StartCountdownUnlessVideo();
        return;
    }
    EndOfTest();
}

void TForm6::EndOfTest() {
    Timer1->stop();
    // The keeper gave the result only once it was in the files.
    const int questions = m_session.QuestionsToAsk();
    CloseKeeper();
    UntickBoxes();
    Panel2->show();
    Button1->setText(QStringLiteral("OK"));
    setWindowTitle(QStringLiteral("Результат"));
    PlaySoundAsync(DataPath(m_shell.ProgramFolder(), QStringLiteral("\\wave\\Drumroll.wav")));
    SetTextColour(Label5, kRed);
    Label5->setText(ControlResultText(m_candidate.FullName, questions, m_session.TotalPoints()));
    Label5->show();
    Announce(Label5->text());
    Image2->show();
    Panel2->show();
    AskForSupervisorCode();
}

bool TForm6::ShowNextQuestion() {
    KeeperAnswer stop;
    std::optional<KeeperQuestion> next;
    if (m_keeper)
        next = m_keeper->Next(&stop);
    if (!next || next->number != m_session.ShownCount()) {
        if (next) // the keeper and the screen disagree: nothing more is trusted
            stop = KeeperAnswer{};
        AbortAfterWriteFailure(stop);
        return false;
    }
    m_shownQuestion = next->question;
    m_area->ShowGivenQuestion(m_shownQuestion);
    AnnounceQuestion();
    return true;
}

void TForm6::AbortAfterWriteFailure(const KeeperAnswer& stop) {
    // The answers could no longer be recorded: going on would only collect answers that are
    // lost. The test stops here and only the supervisor leaves the screen. The screen says from
    // which question on nothing was saved (every earlier answer is on the disk), or that only
    // the totals are missing.
    const bool onlyTotals = stop.kind == KeeperAnswer::Kind::Stopped && stop.firstLost == 0;
    const int firstLost =
        stop.kind == KeeperAnswer::Kind::Stopped ? stop.firstLost : m_session.ShownCount();
    const QString reason = stop.message.isEmpty()
                               ? QStringLiteral("Программа-хранитель результатов не отвечает.")
                               : stop.message;
    m_session.Abort();
    Timer1->stop();
    Timer4->stop();
    m_area->Timer2->stop();
    m_area->Timer3->stop();
    m_area->Label10->hide();
    m_area->View.VideoStage = VideoStages::kNone;
    m_area->ClearQuestionArea();
    CloseKeeper();
    Panel1->show();
    Label7->hide();
    Label8->hide();
    ProgressBar1->hide();
    setWindowTitle(QStringLiteral("Результат"));
    SetTextColour(Label5, kRed);
    Label5->setText((onlyTotals
                         ? QStringLiteral("Итог тестирования сохранить не удалось, тестирование "
                                          "прервано.")
                         : QStringLiteral("Ответы, начиная с вопроса %1, сохранить не удалось, "
                                          "тестирование прервано.")
                               .arg(firstLost)) +
                    QLatin1Char('\r') + reason);
    Label5->show();
    Image2->show();
    Panel2->show();
    AskForSupervisorCode();
    if (!m_errorShown) {
        m_errorShown = true;
        ShowMessage(reason, MessageKind::Error, this);
    }
}

void TForm6::AskForSupervisorCode() {
    Timer1->stop();
    Button1->hide();
    Button2->show();
    Edit1->clear();
    Edit1->show();
    Edit1->setFocus();
}

void TForm6::Button2Click() {
    m_codeUnreadable = false;
    if (!m_session.SupervisorCode(Edit1->text())) {
        if (m_codeUnreadable) {
            const QPointer<TForm6> self(this);
            ShowMessage(SupervisorCodeUnreadableMessage(m_shell.ProgramFolder()),
                        MessageKind::Error, this);
            if (!self)
                return;
        }
        Edit1->clear();
        Edit1->setFocus(); // the supervisor types again at once
        return;
    }
    m_leaving = true;
    m_guard->LetGo();
    close(); // frees the screen; the menu makes a new one
    m_shell.SetStartBarShown(true);
    m_shell.PutAwayOtherScreens();
    m_shell.ShowMainScreen();
    m_shell.DisableControlButton(); // one control test per run
    m_shell.ShowMenu();
}

void TForm6::LeaveToMenu() {
    // The test could not be prepared: back to the menu, where the settings can be corrected and
    // "Контроль..." tried again.
    Timer1->stop();
    Timer4->stop();
    CloseKeeper();
    m_leaving = true;
    close();
    HandBackToMenu();
}

void TForm6::HandBackToMenu() {
    m_shell.SetStartBarShown(true);
    m_shell.ShowMainScreen();
    m_shell.ShowMenu();
}

void TForm6::ExitProgram() {
    // The question file could not be read: "OK" ends the program.
    Timer1->stop();
    Timer4->stop();
    CloseKeeper();
    m_shell.EndProgram();
}

// --- Ticks -------------------------------------------------------------------------------------

void TForm6::BoxChanged(int row) {
    m_session.BoxChanged(row, Box(row)->isChecked());
}

// --- Timers ------------------------------------------------------------------------------------

void TForm6::Timer1Timer() {
    const ClockTick tick = m_session.Tick();
    if (tick == ClockTick::Stopped) {
        Timer1->stop();
        return;
    }
    const ControlCountdown& countdown = m_session.Countdown();
    ProgressBar1->setValue(
        std::clamp(countdown.ElapsedSeconds, ProgressBar1->minimum(), ProgressBar1->maximum()));
    Label7->setText(QString::number(countdown.SecondsLeft));
    if (tick != ClockTick::TimeUp)
        return;
    Timer1->stop();
    ShowTimeUp();
    Announce(Label7->text());
    EnableBoxes(!m_session.TimeIsUp());
    Button1->setEnabled(true);
}

void TForm6::Timer4Timer() {
    Timer4->stop();
    if (m_session.AnswerButtonDelayEnds())
        Button1->setEnabled(true);
}

// --- Closing -----------------------------------------------------------------------------------

void TForm6::closeEvent(QCloseEvent* event) {
    // Once the test has started only the supervisor code leaves the screen.
    if (!m_leaving && m_session.Started()) {
        event->ignore();
        return;
    }
    // Closed by the window system before the start: the student goes back to the menu as from a
    // test that could not be prepared (the opened report keeps its header as the trace of the
    // attempt); after a failed load the program ends, as "OK" says.
    const bool byWindowSystem = !m_leaving && event->spontaneous();
    const bool endProgram = byWindowSystem && AnswerButtonMode() == kModeExit;
    m_leaving = true;
    StopTimers();
    CloseKeeper();
    FreeOnClose(event, m_shell.State().RecreateControlScreen);
    if (endProgram)
        ExitProgram();
    else if (byWindowSystem)
        HandBackToMenu();
}
