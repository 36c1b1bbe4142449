// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Video fragment viewer.
#include "materials/test99.h"

#include "materials/test94.h"
#include "materials/textbook_links.h"
#include "platform/colours.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/media_player.h"
#include "platform/named_colours.h"
#include "platform/paths.h"
#include "widgets/cue_tool_button.h"
#include "widgets/stored_picture.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

const QColor kViewerColour(0x00, 0x00, 0x5B);
constexpr QColor kDisplayColour = Colours::kDisplayArea;
constexpr QColor kStripColour = Colours::kGrey;
using Colours::kYellow;

constexpr int kBorder = 1;      // the viewer's own border around the backdrop panel
constexpr int kNoticeLeft = 48; // notice lines inside the display area
constexpr int kNoticePixels = 21;
constexpr int kButtonTop = 5;
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 24;
constexpr int kSecond = 1000;

QLabel* Picture(QWidget* parent, const char* name, const QString& resource) {
    return Named(new StoredPicture(resource, parent), name); // none: the panel's colour
}

// The desktop's work area: the display without the task bar. A display size set for testing
// stands for the whole work area.
QRect WorkArea() {
    const QSize display = DisplaySize();
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen != nullptr && screen->geometry().size() == display)
        return screen->availableGeometry();
    return QRect(QPoint(0, 0), display);
}

QLabel* MakeNotice(QWidget* parent, const char* name, const QString& caption, int top) {
    auto* label = Named(new QLabel(caption, parent), name);
    label->setFont(PixelFont(QStringLiteral("Arial"), kNoticePixels));
    SetTextColour(label, kYellow);
    label->move(kNoticeLeft, top);
    label->adjustSize();
    label->hide();
    return label;
}

QToolButton* MakeStripButton(QWidget* parent, const char* name, int left, const QString& caption,
                             const QString& hint) {
    auto* button = Named(new CueToolButton(parent), name);
    button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    SetTextColour(button, kYellow);
    return button;
}

} // namespace

TForm9::TForm9(ScreenShell& shell, QWidget* parent) : Screen(parent), m_shell(shell) {
    SetUpWindow();
    BuildDisplayArea();
    BuildNotices();
    BuildControlStrip();
    BuildStripButtons();
    BuildTimers();
    setGeometry(WorkArea());
    LayOut();
}

void TForm9::SetUpWindow() {
    setObjectName(QStringLiteral("Form9"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Видеофрагмент"));
    SetFillColour(this, kViewerColour);
}

void TForm9::BuildDisplayArea() {
    Panel5 = Named(new QFrame(this), "Panel5");
    Panel5->setFrameStyle(QFrame::NoFrame);
    Image3 = Picture(Panel5, "Image3", QStringLiteral(":/pictures/viewer_backdrop.jpg"));

    Panel6 = Named(new QFrame(Panel5), "Panel6");
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel6->setLineWidth(2);
    SetFillColour(Panel6, kDisplayColour);
    Image2 = Picture(Panel6, "Image2", QStringLiteral(":/pictures/viewer_cover.jpg"));
}

void TForm9::BuildNotices() {
    Label1 = MakeNotice(Panel6, "Label1",
                        QStringLiteral("При выполнении тренировочного тестирования"), 24);
    Label2 = MakeNotice(Panel6, "Label2", QStringLiteral("доступ к просмотру видео закрыт,"), 64);
    Label3 = MakeNotice(Panel6, "Label3", QStringLiteral("нажмите кнопку \"ВЫХОД\""), 104);
    Label4 = MakeNotice(Panel6, "Label4", QString(), 24);
    Label4->setWordWrap(true);
}

void TForm9::BuildControlStrip() {
    // The strip stands on the viewer itself, a window of its own: the player draws its picture
    // in a window placed straight on the viewer, and the strip must stay in front of it.
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    SetFillColour(Panel1, kStripColour);
    Panel1->resize(kStripWidth, kStripHeight);
    Panel1->setAttribute(Qt::WA_NativeWindow);
    Image1 = Picture(Panel1, "Image1", QStringLiteral(":/pictures/viewer_strip.jpg"));
    Image1->setGeometry(Panel1->contentsRect());
}

void TForm9::BuildStripButtons() {
    SpeedButton7 = MakeStripButton(Panel1, "SpeedButton7", 41, QStringLiteral("СТАРТ"),
                                   QStringLiteral("Запуск видеофрагмента"));
    SpeedButton6 = MakeStripButton(Panel1, "SpeedButton6", 101, QStringLiteral("Стоп"),
                                   QStringLiteral("Остановка видеофрагмента"));
    SpeedButton5 = MakeStripButton(Panel1, "SpeedButton5", 161, QStringLiteral("Начало"),
                                   QStringLiteral("Переход в начало видеофрагмента"));
    SpeedButton4 = MakeStripButton(Panel1, "SpeedButton4", 220, QStringLiteral("Конец"),
                                   QStringLiteral("Переход в конец видеофрагмента"));
    SpeedButton3 = MakeStripButton(Panel1, "SpeedButton3", 279, QStringLiteral("Следующ."),
                                   QStringLiteral("Переход на один кадр вперед"));
    SpeedButton2 = MakeStripButton(Panel1, "SpeedButton2", 337, QStringLiteral("Предыд."),
                                   QStringLiteral("Переход на один кадр назад"));
    SpeedButton1 = MakeStripButton(Panel1, "SpeedButton1", 393, QStringLiteral("Выход"),
                                   QStringLiteral("Вернуться в учебник"));

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm9::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm9::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm9::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm9::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm9::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &TForm9::SpeedButton6Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &TForm9::SpeedButton7Click);
    // Escape leaves the viewer as "Выход" does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, SpeedButton1,
            &QToolButton::click);
}

void TForm9::BuildTimers() {
    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(kSecond);
    connect(Timer1, &QTimer::timeout, this, &TForm9::Timer1Timer);
    Timer2 = Named(new QTimer(this), "Timer2");
    Timer2->setInterval(kSecond);
    connect(Timer2, &QTimer::timeout, this, &TForm9::Timer2Timer);
}

TForm9::~TForm9() {
    if (MediaPlayer1 != nullptr) {
        MediaPlayer1->Close();
        MediaPlayer1->SetDisplay(nullptr);
    }
}

void TForm9::CreatePlayer() {
    // Made when the viewer is first shown: a viewer that is never shown needs no player. It
    // draws into the display area only while a fragment is on screen, so that the cover picture
    // and the notices are never hidden behind its picture.
    if (MediaPlayer1 != nullptr)
        return;
    MediaPlayer1 = CreateMediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    connect(MediaPlayer1, &MediaPlayer::Notify, this, &TForm9::MediaPlayer1Notify);
}

std::array<QToolButton*, 6> TForm9::PlaybackButtons() const {
    return {SpeedButton7, SpeedButton6, SpeedButton5, SpeedButton4, SpeedButton3, SpeedButton2};
}

void TForm9::SetPlaybackButtonsEnabled(bool enabled) {
    for (QToolButton* button : PlaybackButtons())
        button->setEnabled(enabled);
}

void TForm9::LayOut() {
    Panel5->setGeometry(kBorder, kBorder, std::max(0, width() - 2 * kBorder),
                        std::max(0, height() - 2 * kBorder));
    Image3->setGeometry(Panel5->rect());
    const ViewerLayout layout = LayOutViewer(Panel5->size());
    Panel6->setGeometry(layout.display);
    DisplayRect = QRect(QPoint(0, 0), layout.display.size());
    Image2->setGeometry(Panel6->contentsRect());
    const int noticeWidth = std::max(0, layout.display.width() - 2 * kNoticeLeft);
    Label4->resize(noticeWidth, Label4->heightForWidth(noticeWidth));
    Panel1->move(Panel5->pos() + layout.strip);
    Panel1->raise();
}

void TForm9::resizeEvent(QResizeEvent* event) {
    LayOut();
    if (MediaPlayer1 != nullptr)
        MediaPlayer1->SetDisplayRect(DisplayRect);
    Screen::resizeEvent(event);
}

void TForm9::showEvent(QShowEvent* event) {
    Screen::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm9::FormShow() {
    // A viewer shown again starts afresh.
    CreatePlayer();
    Timer1->stop();
    Timer2->stop();
    NoticeTicks = 0;
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->hide();
    Image2->show();
    AttachDisplay(false);
    SetPlaybackButtonsEnabled(true);
    m_opened = false;
    m_position = FragmentPosition();
    m_leaving = false;

    // The textbook shows its placeholder page while the fragment is open (it is already on its
    // way there when a video link has just been followed).
    if (Form14 && AddressUrl(Form14->CBURL->currentText()) != AddressUrl(Form14->PlaceholderPage()))
        Form14->OpenPage(Form14->PlaceholderPage());

    // The textbook and the start bar's buttons other than "Выход" are out of use until the
    // viewer is left; taken before the fragment is opened, so that nothing else can be started
    // while the player opens it.
    if (Form14)
        Form14->setEnabled(false);
    m_shell.SetTestButtonsEnabled(false);

    setGeometry(WorkArea());
    LayOut();
    MediaPlayer1->SetDisplayRect(DisplayRect);

    if (m_shell.State().TrainingActive != 0) {
        // No video during a training test: the notice, one line a second.
        Timer1->stop();
        SetPlaybackButtonsEnabled(false);
        Timer2->start();
    } else if (OpenFragment()) {
        // The cover picture for one second, then the fragment.
        Timer1->start();
    }
}

bool TForm9::OpenFragment() {
    CreatePlayer();
    m_opened = false;
    const QString videoFile = m_shell.State().VideoFile;
    if (!FragmentExists(videoFile)) {
        ShowProblem(FragmentProblem::Missing);
        return false;
    }
    m_opening = true;
    const bool opened = MediaPlayer1->Open(NativeSeparators(videoFile));
    m_opening = false;
    if (m_freeAfterOpen) {
        // The viewer was closed while the player was busy opening.
        MediaPlayer1->Close();
        deleteLater();
        return false;
    }
    if (!opened || MediaPlayer1->Failed()) {
        ShowProblem(FragmentProblem::Unplayable);
        return false;
    }
    m_opened = true;
    m_position.Opened(MediaPlayer1->LengthInFrames());
    return true;
}

void TForm9::ShowProblem(FragmentProblem problem) {
    Timer1->stop();
    m_opened = false;
    m_position = FragmentPosition();
    AttachDisplay(false);
    Image2->show();
    SetPlaybackButtonsEnabled(false);
    Label4->setText(
        FragmentProblemNotice(problem, m_shell.State().VideoFile).join(QLatin1Char('\n')));
    Label4->resize(Label4->width(), Label4->heightForWidth(Label4->width()));
    Label4->show();
    Label4->raise();
}

void TForm9::AttachDisplay(bool attached) {
    if (attached == m_displayAttached || MediaPlayer1 == nullptr)
        return;
    m_displayAttached = attached;
    MediaPlayer1->SetDisplay(attached ? Panel6 : nullptr);
    if (attached) {
        MediaPlayer1->SetDisplayRect(DisplayRect);
        // The strip covers the lowest pixels of the picture. The player's window is no widget
        // of the viewer, so the strip's own window is raised above it, also once the events
        // that bring the player's window to the display have been handled.
        RaiseStrip();
        QTimer::singleShot(0, Panel1, [this] { RaiseStrip(); });
    }
}

void TForm9::RaiseStrip() {
    Panel1->raise();
    if (QWindow* window = Panel1->windowHandle())
        window->raise();
}

void TForm9::StartPlaying() {
    Image2->hide();
    AttachDisplay(true);
    m_position.PlaybackStarted();
    MediaPlayer1->Play(true);
}

bool TForm9::Busy() const {
    return m_opening || m_leaving;
}

void TForm9::Timer1Timer() {
    Timer1->stop();
    if (m_opened && !Busy())
        StartPlaying();
}

void TForm9::Timer2Timer() {
    NoticeTicks = static_cast<std::uint8_t>(NoticeTicks + 1);
    const int lines = NoticeLinesShown(NoticeTicks);
    Label1->setVisible(lines >= 1);
    Label2->setVisible(lines >= 2);
    Label3->setVisible(lines >= 3);
    if (NoticeTicks >= kNoticeLastTick)
        Timer2->stop();
}

void TForm9::MediaPlayer1Notify() {
    if (!m_opened)
        return;
    if (MediaPlayer1->Failed()) {
        ShowProblem(FragmentProblem::Unplayable);
        return;
    }
    m_position.PlaybackEnded();
}

void TForm9::SpeedButton7Click() {
    // "СТАРТ": the fragment is opened again (closed and reopened) and played from its start.
    if (Busy())
        return;
    Timer1->stop();
    if (OpenFragment())
        StartPlaying();
}

void TForm9::SpeedButton6Click() {
    if (!m_opened || Busy())
        return;
    MediaPlayer1->Stop();
    m_position.PlaybackStopped();
}

void TForm9::HoldStill() {
    // A player that is not playing is held where it stands, so that it shows the picture it is
    // moved to (after the end of playback it would show none).
    if (!m_position.Playing())
        MediaPlayer1->Stop();
}

void TForm9::SpeedButton5Click() {
    if (!m_opened || Busy())
        return;
    HoldStill();
    MediaPlayer1->SeekToStart();
    m_position.SeekedToStart();
}

void TForm9::SpeedButton4Click() {
    if (!m_opened || Busy())
        return;
    HoldStill();
    MediaPlayer1->SeekToEnd();
    m_position.SeekedToEnd();
}

void TForm9::SpeedButton3Click() {
    if (!m_opened || Busy())
        return;
    const int step = FrameStep(MediaPlayer1->LengthInFrames());
    if (step == 0)
        return; // nothing to step through
    HoldStill();
    // From where the player really stands: playback or "Стоп" may have left it anywhere.
    m_position.Moved(MediaPlayer1->PositionInFrames());
    if (m_position.Step(step))
        MediaPlayer1->SeekToStart();
    MediaPlayer1->Step(step);
}

void TForm9::SpeedButton2Click() {
    if (!m_opened || Busy())
        return;
    const int step = FrameStep(MediaPlayer1->LengthInFrames());
    if (step == 0)
        return;
    HoldStill();
    m_position.Moved(MediaPlayer1->PositionInFrames());
    m_position.Step(-step);
    MediaPlayer1->Step(-step);
}

void TForm9::SpeedButton1Click() {
    // "Выход": back to the textbook page named in the video link.
    if (m_leaving)
        return;
    m_leaving = true;
    GiveBackTextbook();
    close();
    ReturnToTextbook();
}

void TForm9::GiveBackTextbook() {
    SetPlaybackButtonsEnabled(true);
    if (Form14)
        Form14->setEnabled(true);
    // A training test that keeps the start bar locked keeps it so.
    m_shell.SetTestButtonsEnabled(m_shell.State().StartBarLocked != 1);
    Image2->show();
}

void TForm9::ReturnToTextbook() {
    if (!Form14)
        return;
    QString page = m_shell.State().ReturnPage;
    if (page.isEmpty()) {
        // A link without a return page: the textbook's start page.
        page = m_shell.ProgramFolder() + (DisplaySize().height() > 623
                                              ? QStringLiteral("\\html\\0000.htm")
                                              : QStringLiteral("\\html\\000.htm"));
    }
    Form14->ShowReturnPage(page);
}

void TForm9::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    Timer2->stop();
    // Closed other than through "Выход" (by the window system, or with the program): the
    // textbook and the start bar must not stay out of use for a viewer that is gone.
    const bool closedOtherwise = !m_leaving;
    if (closedOtherwise) {
        m_leaving = true;
        GiveBackTextbook();
    }
    // The screen frees itself when closed (which closes the player); the textbook makes a new
    // one for the next fragment. A player still busy opening is left to finish first.
    m_shell.State().RecreateVideoScreen = 1;
    if (m_opening) {
        m_freeAfterOpen = true;
    } else {
        if (MediaPlayer1 != nullptr)
            MediaPlayer1->Close();
        m_opened = false;
        setAttribute(Qt::WA_DeleteOnClose, true);
    }
    Screen::closeEvent(event);
    if (closedOtherwise)
        ReturnToTextbook();
}
