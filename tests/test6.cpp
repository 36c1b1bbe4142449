// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Control test screen.
#include "tests/test6.h"

#include "platform/colours.h"
#include "platform/desktop_cover.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "questions/question_area.h"
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

const QColor kBackground(0xC6, 0xFF, 0xD1);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kLight3D(0xE3, 0xE3, 0xE3);

constexpr int kBottomBarHeight = 51;
// Font heights of the clock label: 14 points while counting, 7 points for "Время истекло!".
constexpr int kClockPixels = 19;
constexpr int kTimeUpPixels = 9;

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
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    SetFillColour(Panel1, kLight3D);
    Panel1->setGeometry(0, kClientHeight - kBottomBarHeight, kClientWidth, kBottomBarHeight);

    BuildAnswerButton();
    BuildTimeLeftDisplay();
    BuildSupervisorCodeEntry();
}

void TForm6::BuildAnswerButton() {
    Button1 = Named(new QPushButton(QStringLiteral("OK"), Panel1), "Button1");
    Button1->setGeometry(16, 10, 177, 31);
    Button1->setCursor(Qt::PointingHandCursor);
    Button1->setFocusPolicy(Qt::ClickFocus);
    Button1->setFont(PixelFont(QStringLiteral("Arial"), 13));
    SetTextColour(Button1, kMaroon);
}

// "Осталось:", the progress bar and the seconds left, all hidden until the test starts.
void TForm6::BuildTimeLeftDisplay() {
    Label8 = Named(new QLabel(QStringLiteral("Осталось:"), Panel1), "Label8");
    Label8->move(272, 15);
    Label8->setFont(PixelFont(QStringLiteral("Arial"), 13));
    SetTextColour(Label8, kNavy);
    Label8->adjustSize();
    Label8->hide();

    ProgressBar1 = Named(new QProgressBar(Panel1), "ProgressBar1");
    ProgressBar1->setGeometry(336, 15, 313, 16);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();

    Label7 = Named(new QLabel(Panel1), "Label7");
    Label7->setGeometry(656, 12, kClientWidth - 656 - 4, 24);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetClockLook(kBlue, kClockPixels, true, QString());
    Label7->hide();
}

// The field and the button with which the supervisor ends the result display; hidden until then.
void TForm6::BuildSupervisorCodeEntry() {
    Edit1 = Named(new QLineEdit(Panel1), "Edit1");
    Edit1->setGeometry(221, 16, 39, 21);
    Edit1->setEchoMode(QLineEdit::Password);
    // One "*" for each character typed, whatever the style's own mask.
    Edit1->setStyleSheet(QStringLiteral("QLineEdit#Edit1 { lineedit-password-character: 42; }"));
    Edit1->hide();

    Button2 = Named(new QPushButton(QStringLiteral("Введите:  739152"), Panel1), "Button2");
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
    hooks.QuestionDrawn = [this](int question, const QList<int>& order) {
        m_report.WriteQuestion(m_session.ShownCount(), m_bank.At(question), order);
    };
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
    m_report.CloseReports();
}

void TForm6::HoldNameLock(std::unique_ptr<ResultNameLock> lock) {
    m_report.HoldNameLock(std::move(lock));
}

void TForm6::SetClockLook(const QColor& colour, int pixelSize, bool bold, const QString& text) {
    Label7->setFont(PixelFont(QStringLiteral("Arial"), pixelSize, bold));
    SetTextColour(Label7, colour);
    Label7->setText(text);
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

    // Everything that can refuse the test is settled before the result files are touched, so a
    // test that cannot run neither adds an empty block to the report nor empties an earlier
    // data file. Each step below returns false when it refused the test (or when the screen was
    // closed while its message was shown): nothing more is done then.
    if (!LoadQuestionFile(programFolder))
        return;
    if (!ReadSettings())
        return;
    if (!OpenResultFiles(programFolder))
        return;
    ProgressBar1->setRange(0, std::max(1, m_session.SecondsPerQuestion()));
    ProgressBar1->setValue(0);
}

void TForm6::ClearForNewTest() {
    SetClockLook(kBlue, kClockPixels, true, QString());
    m_area->Draw().StartDraw();
    m_area->ClearQuestionArea();
}

// The registration the menu holds, written into the result files.
void TForm6::TakeCandidate() {
    m_candidate = m_shell.Candidate();
}

bool TForm6::LoadQuestionFile(const QString& programFolder) {
    const QPointer<TForm6> self(this);
    const LoadResult loaded = m_bank.Load(programFolder, m_candidate.Topic);
    if (!loaded.ok()) {
        // A missing file is said on the screen; a damaged one also gets the message box that
        // names the file and the line.
        if (loaded.status != LoadResult::Status::CannotOpen) {
            ShowMessage(loaded.message, MessageKind::Error, this);
            if (!self)
                return false;
        }
        RefuseTest(loaded.status == LoadResult::Status::CannotOpen
                       ? QStringLiteral("Не задан файл вопросов теста")
                       : loaded.message,
                   ControlRefusal::QuestionFile);
        return false;
    }
    Label5->setText(m_bank.Title);
    Label5->show();
    Button1->setText(QStringLiteral("OK"));
    Button1->setEnabled(true);
    Button1->show();
    return true;
}

bool TForm6::ReadSettings() {
    const QPointer<TForm6> self(this);
    const SettingsReading settings = m_shell.ReadControlSettings(m_bank.QuestionCount);
    if (!settings.ok) {
        // A test never starts with a count or a time that did not convert: "OK" leads back to
        // the menu, where the administration screen is.
        ShowMessage(settings.message, MessageKind::Error, this);
        if (!self)
            return false;
        RefuseTest(settings.message, ControlRefusal::Preparation);
        return false;
    }
    m_session.Ready(settings.QuestionCount, settings.Seconds);
    return true;
}

bool TForm6::OpenResultFiles(const QString& programFolder) {
    const QPointer<TForm6> self(this);
    const QDateTime now = ReportNow();
    m_errorShown = false;
    if (!(m_report.OpenReports(programFolder, m_candidate, ReportDateText(now.date()),
                               ReportTimeText(now.time())) &&
          m_report.WriteCount(m_session.QuestionsToAsk()))) {
        m_report.CloseReports();
        m_errorShown = true;
        ShowMessage(m_report.ErrorMessage(), MessageKind::Error, this);
        if (!self)
            return false;
        RefuseTest(m_report.ErrorMessage(), ControlRefusal::Preparation);
        return false;
    }
    return true;
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
    m_cover->CoverDesktop();
    Image2->hide();
    Panel2->hide();
    Button1->setText(QStringLiteral("Следующий вопрос"));
    Button1->setEnabled(false);
    Timer4->start();
    m_area->ClearQuestionArea();
    m_area->ShowQuestion();
    if (!ReportWritten())
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
    SetClockLook(kBlue, kClockPixels, true, QString::number(seconds));

    const PositionPoints points = ShownPoints();
    const qint64 answerPoints = m_session.PointsOf(points);
    // The answer is on disk before anything else happens.
    if (!m_report.WriteAnswer(m_session.Ticked(), points, answerPoints)) {
        AbortAfterWriteFailure();
        return;
    }
    const AfterAnswer next = m_session.Answered(answerPoints);
    ProgressBar1->setValue(0);
    Button1->setEnabled(false);
    Timer4->start();
    m_area->ClearQuestionArea();
    if (next == AfterAnswer::NextQuestion) {
        UntickBoxes();
        m_area->ShowQuestion();
        if (!ReportWritten())
            return;
        StartCountdownUnlessVideo();
        return;
    }
    EndOfTest();
}

void TForm6::EndOfTest() {
    Timer1->stop();
    UntickBoxes();
    Panel2->show();
    Button1->setText(QStringLiteral("OK"));
    setWindowTitle(QStringLiteral("Результат"));
    PlaySoundAsync(DataPath(m_shell.ProgramFolder(), QStringLiteral("\\wave\\Drumroll.wav")));
    const int questions = m_session.QuestionsToAsk();
    m_report.WriteTotals(questions, m_session.TotalPoints());
    SetTextColour(Label5, kRed);
    Label5->setText(ControlResultText(m_candidate.FullName, questions, m_session.TotalPoints()));
    Label5->show();
    Image2->show();
    Panel2->show();
    m_report.CloseReports();
    AskForSupervisorCode();
    if (m_report.Failed() && !m_errorShown) {
        // The result stays on the screen; the supervisor learns that the files lack it.
        m_errorShown = true;
        ShowMessage(m_report.ErrorMessage(), MessageKind::Error, this);
    }
}

bool TForm6::ReportWritten() {
    if (!m_report.Failed())
        return true;
    AbortAfterWriteFailure();
    return false;
}

void TForm6::AbortAfterWriteFailure() {
    // The answers could no longer be recorded: going on would only collect answers that are
    // lost. The test stops here and only the supervisor leaves the screen.
    m_session.Abort();
    Timer1->stop();
    Timer4->stop();
    m_area->Timer2->stop();
    m_area->Timer3->stop();
    m_area->Label10->hide();
    m_area->View.VideoStage = 1;
    m_area->ClearQuestionArea();
    m_report.CloseReports();
    Panel1->show();
    Label7->hide();
    Label8->hide();
    ProgressBar1->hide();
    setWindowTitle(QStringLiteral("Результат"));
    SetTextColour(Label5, kRed);
    Label5->setText(
        QStringLiteral("Результаты тестирования не удалось записать, тестирование прервано.") +
        QLatin1Char('\r') + m_report.ErrorMessage());
    Label5->show();
    Image2->show();
    Panel2->show();
    AskForSupervisorCode();
    if (!m_errorShown) {
        m_errorShown = true;
        ShowMessage(m_report.ErrorMessage(), MessageKind::Error, this);
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
    if (!m_session.SupervisorCode(Edit1->text())) {
        Edit1->clear();
        Edit1->setFocus(); // the supervisor types again at once
        return;
    }
    m_leaving = true;
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
    m_report.CloseReports();
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
    m_report.CloseReports();
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
    // The ticks made so far stay and are scored when the button is pressed.
    Timer1->stop();
    SetClockLook(kRed, kTimeUpPixels, true, QStringLiteral("Время истекло!"));
    EnableBoxes(false);
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
    m_report.CloseReports();
    FreeOnClose(event, m_shell.State().RecreateControlScreen);
    if (endProgram)
        ExitProgram();
    else if (byWindowSystem)
        HandBackToMenu();
}
