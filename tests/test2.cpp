// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Training test screen.
#include "tests/test2.h"

#include "keeper/keeper_client.h"
#include "platform/colours.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/named_colours.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "questions/question_area.h"
#include "tests/result_report.h"
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
#include <QToolButton>
#include <algorithm>

QPointer<TForm2> Form2;

namespace {

constexpr QColor kBackground = Colours::kTestBackground;
using Colours::kRed;
using Colours::kGreen;
using Colours::kYellow;
using Colours::kAqua;
using Colours::kLime;

constexpr int kBottomBarHeight = 45;

const QString kStop = QStringLiteral("Стоп");
const QString kStart = QStringLiteral("Старт");

QColor Rgb(std::uint32_t rgb) {
    return QColor::fromRgb(QRgb(0xFF000000u | rgb));
}

} // namespace

TForm2::TForm2(ScreenShell& shell, QWidget* parent) : QuestionScreen(shell, parent) {
    SetUpWindow();
    // The question area first, so that the bars and the picture panel stand in front of it.
    BuildQuestionArea();
    BuildBottomBar();
    BuildFeedbackStrip();
    BuildPicturePanel();
    BuildTimers();
    StackPanels();
    ConnectAreaHooks();
    ConnectSignals();
}

void TForm2::SetUpWindow() {
    setObjectName(QStringLiteral("Form2"));
    // Single fixed border with a title but no title-bar buttons, always on top.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Внимание!"));
    setFont(PixelFont(QStringLiteral("Arial"), 11));
    SetFillColour(this, kBackground);
    setFixedSize(kClientWidth, kClientHeight);
}

void TForm2::BuildQuestionArea() {
    MakeQuestionArea({});
}

void TForm2::BuildBottomBar() {
    MakeBottomBar(kBottomBarHeight);
    BuildAnswerButton();
    BuildPauseButton();
    BuildTimeLeftDisplay();
}

void TForm2::BuildAnswerButton() {
    MakeAnswerButton(QRect(16, 9, 132, 25));
}

void TForm2::BuildPauseButton() {
    SpeedButton1 = Named(new QToolButton(Panel1), "SpeedButton1");
    SpeedButton1->setText(kStop);
    SpeedButton1->setGeometry(160, 10, 65, 22);
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setShortcut(QKeySequence(Qt::Key_Pause)); // acts only while it is shown
    SpeedButton1->setFont(PixelFont(QStringLiteral("Arial"), 12, true));
    SetTextColour(SpeedButton1, kRed);
    SpeedButton1->hide();
}

void TForm2::BuildTimeLeftDisplay() {
    MakeTimeLeftDisplay(QPoint(248, 16), QRect(312, 16, 329, 16),
                        QRect(656, 13, kClientWidth - 656 - 4, 22));
}

// The strip with the verdict and the help button.
void TForm2::BuildFeedbackStrip() {
    Panel2 = Named(new QFrame(this), "Panel2");
    Panel2->setGeometry(0, 466, 777, 17);
    Panel2->setFont(PixelFont(QStringLiteral("Arial"), 12));
    SetTextColour(Panel2, kYellow);
    SetFillColour(Panel2, kRed);
    Panel2->hide();

    Label9 = Named(new QLabel(Panel2), "Label9");
    Label9->setGeometry(297, 1, 370, 15);
    Label9->setFont(PixelFont(QStringLiteral("Arial"), 12, true));
    SetTextColour(Label9, kAqua);

    SpeedButton2 = Named(new QToolButton(Panel2), "SpeedButton2");
    SpeedButton2->setText(QStringLiteral("П о м о щ ь..."));
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setGeometry(677, 2, 97, 14);
    SpeedButton2->setCursor(Qt::PointingHandCursor);
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    SpeedButton2->setShortcut(QKeySequence(Qt::Key_F1)); // acts only while the verdict shows
    SpeedButton2->setFont(PixelFont(QStringLiteral("Arial"), 12, true));
    SetTextColour(SpeedButton2, kLime);
    SpeedButton2->setAccessibleName(QStringLiteral("Помощь"));
}

// The animated picture of the opening and result displays.
void TForm2::BuildPicturePanel() {
    Panel3 = Named(new QFrame(this), "Panel3");
    Panel3->setGeometry(297, 168, 169, 185);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setLineWidth(1);
    Image2 = Named(new QLabel(Panel3), "Image2");
    Image2->setGeometry(Panel3->contentsRect());
    Image2->setAlignment(Qt::AlignCenter);
    Animation = new QMovie(QStringLiteral(":/pictures/test_animation.gif"), QByteArray(), this);
    ShowMovieWhileVisible(Image2, Animation);
}

void TForm2::BuildTimers() {
    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    Timer4 = Named(new QTimer(this), "Timer4");
    Timer4->setInterval(700);
    Timer4->setTimerType(Qt::PreciseTimer); // a coarse timer may be 35 ms off
}

// Tells the question area where the bars are and puts them in front of it.
void TForm2::StackPanels() {
    m_area->SetBottomBar(Panel1);
    m_area->SetFeedbackStrip(Panel2);
    m_area->SetAnswerButton(Button1);
    Panel2->raise();
    Panel1->raise();
    Panel3->raise();
}

// Where the question area hands over to this screen.
void TForm2::ConnectAreaHooks() {
    QuestionAreaHooks& hooks = m_area->Hooks;
    hooks.SetTitle = [this] { setWindowTitle(QuestionTitle(m_session.AskedCount())); };
    hooks.VideoQuestionFound = [this] { m_session.VideoQuestionFound(); };
    hooks.VideoNoticeStarted = [this] { m_session.VideoNoticeStarted(); };
    hooks.VideoNoticeShown = [this] { SpeedButton1->hide(); };
    hooks.PlaybackStarting = [this] { Timer1->stop(); };
    hooks.PlaybackEnded = [this] { Timer4->start(); };
    hooks.RevealFinished = [this] { Timer1->start(); };
    hooks.RowsBesideVideo = [this] { m_session.RowsBesideVideo(); };
}

void TForm2::ConnectSignals() {
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    ConnectBoxes();
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm2::SpeedButton2Click);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    connect(Timer4, &QTimer::timeout, this, &TForm2::Timer4Timer);
}

TForm2::~TForm2() {
    Timer1->stop();
    Timer4->stop();
    CloseKeeper();
}

void TForm2::CloseKeeper() {
    if (m_keeper)
        m_keeper->Close();
    m_keeper.reset();
}


// --- Activation --------------------------------------------------------------------------------

void TForm2::PlaceWindow() {
    SetClientSize(kClientWidth, kClientHeight);
    CentreOnDisplay(5); // top 5 on displays 623 pixels high or less
}

bool TForm2::PreparationPending() const {
    return m_session.ResetOnActivate() == OnActivate::Reset;
}

void TForm2::FormActivate() {
    PlaceWindow();
    const Activation work = m_session.OnActivation();
    if (work == Activation::Keep)
        return;
    PrepareNewTest();
    if (work == Activation::PrepareAndLoad)
        LoadTest();
    else
        ShowClock(Label7->text());
}

void TForm2::PrepareNewTest() {
    for (int row = 1; row <= kTrainingRows; ++row) {
        Box(row)->setEnabled(true);
        Box(row)->setChecked(false);
    }
    m_area->View.OptionPicturePending.fill(false);
    m_area->View.PreviousRowPicture.fill(false);
    Button1->show();
    HelpPageRequested = 0;
}

void TForm2::LoadTest() {
    m_session.BeginLoad();
    m_area->View.VideoStage = VideoStages::kNone;
    ShowClock(QString());
    ProgressBar1->setValue(0);
    Panel2->hide();

    m_area->ClearQuestionArea();

    // The exam keeper loads the question file and draws; the screen never reads the file.
    const QString programFolder = m_shell.ProgramFolder();
    m_area->SetProgramFolder(programFolder);
    const QString topic = m_shell.Candidate().Topic;
    const QPointer<TForm2> self(this);
    CloseKeeper();
    m_keeper = std::make_unique<KeeperClient>(programFolder);
    QString problem;
    if (!m_keeper->Start(&problem)) {
        m_keeper.reset();
        ShowMessage(problem, MessageKind::Error, this);
        if (self)
            RefuseTest(problem);
        return;
    }
    const SettingsReading settings = m_shell.ReadTrainingSettings(kMaxQuestions);
    // With wrong settings the file is still tried first, so that its fault is said first.
    const KeeperStart start = m_keeper->Training(topic, settings.ok ? settings.QuestionCount : 1);
    if (start.ready && !settings.ok)
        m_keeper->End();
    if (!start.ready && start.refusal != QLatin1String("empty")) {
        // A file that is missing is said on the screen; a file that is damaged also gets the
        // message box that names the file and the line. Either way "OK" leads back.
        if (start.refusal != QLatin1String("missing")) {
            ShowMessage(start.message, MessageKind::Error, this);
            if (!self)
                return;
        }
        RefuseTest(start.refusal == QLatin1String("missing")
                       ? QStringLiteral("Не задан файл вопросов теста")
                       : start.message);
        return;
    }

    Label5->setText(start.title);
    Label5->show();
    Button1->setText(QStringLiteral("OK"));
    Button1->setEnabled(true);

    if (!settings.ok || !start.ready) {
        // A test never starts with a value that did not convert: the reason stays on the
        // screen and "OK" leads back to the menu, where the administration screen is.
        const QString message = settings.ok ? start.message : settings.message;
        ShowMessage(message, MessageKind::Error, this);
        if (!self)
            return;
        RefuseTest(message);
        return;
    }
    m_session.Ready(start.questions, settings.Seconds);
    ProgressBar1->setRange(0, std::max(1, m_session.TrainingTimeLimit()));
    ProgressBar1->setValue(0);
}

void TForm2::RefuseTest(const QString& message) {
    SetTextColour(Label5, kRed);
    Label5->setText(message);
    Label5->show();
    Button1->setText(QStringLiteral("OK"));
    m_session.Refuse();
    Button1->setEnabled(true);
}

// --- The answer button -------------------------------------------------------------------------

void TForm2::Button1Click() {
    SpeedButton1->hide();
    Image2->hide();
    switch (AnswerButtonMode()) {
    case kModeStart:
        StartTest();
        break;
    case kModeNext:
        AnswerGiven();
        break;
    case kModeLeave:
        LeaveTest();
        break;
    default:
        break;
    }
}

void TForm2::StartTest() {
    m_session.StartTest();
    Panel2->hide();
    Panel3->hide();
    Button1->setText(QStringLiteral("Следующий вопрос"));
    Button1->setEnabled(false);
    Timer4->start();
    m_area->ClearQuestionArea();
    if (!ShowNextQuestion())
        return;
    Timer1->start();
    Label7->show();
    Label8->show();
    ProgressBar1->show();
    Label7->setText(QString::number(m_session.Clock().TimeLeft));
    LockStartBar();
}

void TForm2::AnswerGiven() {
    // The keeper judges the answer: after time-up the question on screen scores nothing.
    const bool any = AnyBoxTicked();
    KeeperAnswer answer;
    if (m_keeper)
        answer = m_session.TimeIsUp() ? m_keeper->End()
                                      : m_keeper->Answer(any ? m_session.Ticked() : PositionFlags{});
    const AfterAnswer next = m_session.Answer(any);
    m_verdict = Verdict::Hidden;
    if (answer.kind != (next == AfterAnswer::NextQuestion ? KeeperAnswer::Kind::Saved
                                                           : KeeperAnswer::Kind::Result)) {
        KeeperFailed(answer.message);
        return;
    }
    LockStartBar();
    Panel2->hide();
    Button1->setEnabled(false);
    Timer4->start();
    StopVideoNotice();
    m_area->ClearQuestionArea();
    ClearTicksQuietly();
    if (next == AfterAnswer::NextQuestion) {
        if (ShowNextQuestion())
            m_session.NextQuestionShown();
        return;
    }
    m_session.ResultGiven(int(answer.points));
    CloseKeeper();
    Panel3->show();
    Button1->setText(QStringLiteral("OK"));
    setWindowTitle(QStringLiteral("Результат"));
    Button1->setEnabled(false);
    Timer4->start();
    ShowResult();
    Timer1->stop();
    SpeedButton1->hide();
}

void TForm2::LeaveTest() {
    m_session.Leave();
    Timer1->stop();
    Timer4->stop();
    CloseKeeper();
    m_area->ClearQuestionArea();
    setWindowTitle(QStringLiteral("Внимание!"));
    m_leaving = true;
    close(); // frees the screen; the menu makes a new one for the next test
    HandBackToMenu();
}

void TForm2::HandBackToMenu() {
    ShellState& shell = m_shell.State();
    if (shell.StartBarLocked == 1)
        m_shell.SetTestButtonsEnabled(true);
    shell.StartBarLocked = 0;
    shell.TrainingActive = 0;
    m_shell.ShowMainScreen();
    m_shell.SetTestingMode(0); // the start bar's "Тестирование..." leads to the menu again
    m_shell.ShowMenu();
}

bool TForm2::AnyBoxTicked() const {
    for (int row = 1; row <= kTrainingRows; ++row) {
        if (Box(row)->isChecked())
            return true;
    }
    return false;
}

void TForm2::ClearTicksQuietly() {
    // The boxes are not live now: only the pause button notices the change.
    for (int row = 1; row <= kTrainingRows; ++row)
        Box(row)->setChecked(false);
}

void TForm2::LockStartBar() {
    m_shell.State().StartBarLocked = 1;
    m_shell.State().TrainingActive = 1;
    m_shell.SetTestButtonsEnabled(false);
}

void TForm2::StopVideoNotice() {
    // "Выход..." pressed while a video question's notice is still waiting: the fragment is not
    // to start over the result display.
    if (m_area->View.VideoStage == VideoStages::kNotice) {
        m_area->Timer2->stop();
        m_area->Label10->hide();
        m_area->View.VideoStage = VideoStages::kNone;
        m_session.VideoNoticeStopped();
    }
}

void TForm2::ShowResult() {
    PlaySoundAsync(DataPath(m_shell.ProgramFolder(), QStringLiteral("\\wave\\Reminder.wav")));
    const QString fullName = m_shell.Candidate().FullName;
    SetTextColour(Label5, kRed);
    Label5->setText(
        ResultText(fullName, m_session.TrainingQuestionCount(), m_session.TotalScore()));
    Label5->show();
    Image2->show();
    Panel3->show();
    Announce(Label5->text());
}

// --- Ticks and their verdict -------------------------------------------------------------------

void TForm2::BoxChanged(int row) {
    SpeedButton1->show();
    // No points reach the screen: the keeper gives the verdict of the ticks.
    if (m_session.BoxChanged(row, Box(row)->isChecked(), PositionPoints{})) {
        m_verdict = m_keeper ? m_keeper->Ticks(m_session.Ticked()) : Verdict::Hidden;
        ShowVerdict();
    }
}

bool TForm2::ShowNextQuestion() {
    KeeperAnswer stop;
    std::optional<KeeperQuestion> next;
    if (m_keeper)
        next = m_keeper->Next(&stop);
    if (!next) {
        KeeperFailed(stop.message);
        return false;
    }
    m_shownQuestion = next->question;
    m_area->ShowGivenQuestion(m_shownQuestion);
    AnnounceQuestion();
    return true;
}

void TForm2::KeeperFailed(const QString& message) {
    const QString reason =
        message.isEmpty() ? QStringLiteral("Программа-хранитель результатов не отвечает.")
                          : message;
    StopTimers();
    StopVideoNotice();
    m_area->ClearQuestionArea();
    CloseKeeper();
    const QPointer<TForm2> self(this);
    ShowMessage(reason, MessageKind::Error, this);
    if (self)
        RefuseTest(reason);
}

void TForm2::ShowVerdict() {
    const Verdict verdict = m_verdict;
    if (verdict == Verdict::Hidden) {
        Panel2->hide();
        return;
    }
    const VerdictLook look = LookOf(verdict);
    Label9->setText(look.text);
    SetFillColour(Panel2, Rgb(look.stripColour));
    SetTextColour(Label9, Rgb(look.textColour));
    SetTextColour(SpeedButton2, Rgb(look.textColour));
    Panel2->show();
    Panel2->raise();
    Announce(look.text);
}

// --- Pause and help ----------------------------------------------------------------------------

void TForm2::SpeedButton1Click() {
    if (!PauseAllowed)
        return;
    if (m_session.TogglePause()) {
        Timer1->stop();
        SpeedButton1->setText(kStart);
        SetTextColour(SpeedButton1, kGreen);
        Panel2->setEnabled(false);
        Button1->setEnabled(false);
    } else {
        Panel2->setEnabled(true);
        Button1->setEnabled(true);
        if (!m_session.TimeIsUp())
            Timer1->start();
        SpeedButton1->setText(kStop);
        SetTextColour(SpeedButton1, kRed);
    }
}

void TForm2::SpeedButton2Click() {
    if (!m_session.HelpVisit())
        return; // not during a pause
    if (m_shell.State().StartBarLocked == 1) {
        m_shell.State().StartBarLocked = 0; // TrainingActive stays set
        m_shell.SetTestButtonsEnabled(true);
    }
    Timer1->stop();
    // The page reference of a question file ends with the blank that joins its lines; a file
    // name never ends in one, so the textbook gets the name without it.
    QString page = m_shownQuestion.TextbookPage;
    while (page.endsWith(QLatin1Char(' ')))
        page.chop(1);
    HelpPage = page.left(150);
    HelpPageRequested = 1;
    m_shell.ShowMainScreen();
    m_shell.MarkTextbookChosen();
    hide();
    m_shell.ShowTextbook();
}

// --- Timers ------------------------------------------------------------------------------------

bool TForm2::ClockMayRun() const {
    return m_session.ClockMayRun(m_area->PlaybackHoldsClock());
}

void TForm2::ResumeClock() {
    if (ClockMayRun() && isVisible())
        Timer1->start();
}

void TForm2::Timer1Timer() {
    const ClockTick tick = m_session.Tick(m_area->PlaybackHoldsClock());
    if (tick == ClockTick::Stopped) {
        Timer1->stop();
        return;
    }
    const TrainingClock& clock = m_session.Clock();
    ProgressBar1->setValue(
        std::clamp(clock.ElapsedTicks, ProgressBar1->minimum(), ProgressBar1->maximum()));
    Label7->setText(QString::number(clock.TimeLeft));
    if (tick == ClockTick::TimeUp)
        TimeUp();
}

void TForm2::TimeUp() {
    Timer1->stop();
    ShowTimeUp();
    Announce(Label7->text());
    const QPointer<TForm2> self(this);
    ShowMessage(TimeUpMessage(m_session.AnsweredCount()), MessageKind::Information, this);
    if (!self)
        return;
    Button1->setText(QStringLiteral("Выход..."));
    Timer4->start();
    m_session.TimeUpShown();
    for (int row = 1; row <= kTrainingRows; ++row)
        Box(row)->setEnabled(false);
}

void TForm2::Timer4Timer() {
    Timer4->stop();
    if (m_session.AnswerButtonDelayEnds())
        Button1->setEnabled(true);
}

// --- Closing -----------------------------------------------------------------------------------

void TForm2::closeEvent(QCloseEvent* event) {
    StopTimers();
    CloseKeeper();
    // Closed by the window system (Alt+F4, the title bar): the student leaves the test as with
    // the leave button, and the menu comes back. Closed by the program otherwise (its end): the
    // start bar must not stay locked for a test that no longer exists.
    const bool byWindowSystem = !m_leaving && event->spontaneous();
    if (!m_leaving && !byWindowSystem && m_shell.State().TrainingActive == 1) {
        m_shell.State().StartBarLocked = 0;
        m_shell.State().TrainingActive = 0;
        m_shell.SetTestButtonsEnabled(true);
    }
    m_leaving = true;
    FreeOnClose(event, m_shell.State().RecreateTrainingScreen);
    if (byWindowSystem)
        HandBackToMenu();
}
