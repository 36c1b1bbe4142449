// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/auto_size_label.h"
#include "questions/question_bank.h"

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>

class QCheckBox;
class QTimer;
class MediaPlayer;

// The question area that the training and control screens carry: the question text, the
// question's picture in a frame, up to five option rows (tick box, "n) " text or "n) " and a
// picture) and the presentation of a video question (notice, the fragment in a framed panel,
// then the options in a column beside a still of its last frame).
//
// The area creates its controls on the host screen, named as the program names them, and runs
// the steps below; the screen configures the differences (QuestionAreaConfig), tells the area
// which of its own widgets are the bottom bar, the feedback strip and the answer button, and
// fills the hooks (QuestionAreaHooks) where it does its own part.

/// The values of QuestionView::VideoStage, as the program numbers the stages of a video question.
namespace VideoStages {
inline constexpr int kNone = 1;     // no video question under way (or before its notice)
inline constexpr int kNotice = 2;   // the notice is shown; the fragment starts on Timer2
inline constexpr int kPlayback = 3; // the fragment has been started
} // namespace VideoStages

/// The display state of the question on screen. Rows and options are 1-based in the program;
/// here index 0 is row 1.
struct QuestionView {
    int CurrentQuestion = 0;    // number of the question on screen, 1..QuestionCount
    QuestionDraw UsedQuestions; // the drawn set of this test (StartDraw clears it)
    std::array<AnswerOption, kMaxOptions> DisplayOptions{}; // [0] is row 1
    bool QuestionPictureShown = false;
    bool VideoPending = false;
    std::array<bool, kMaxOptions> OptionPicturePending{};
    std::array<bool, kMaxOptions> PreviousRowPicture{};
    QString FragmentFile;         // full path of the question's video fragment
    int VideoStage = VideoStages::kNone; // VideoStages::kNone, kNotice, kPlayback
    int SlideOffset = 0;          // counter of the reveal after playback
    QPoint StillFrameOrigin;      // client position of Panel6 when the still was taken
    bool CaptureNextTick = false; // the next Timer3 tick takes the still frame
};

/// Where the video panel stands vertically once playback has ended.
enum class VideoPanelAnchor {
    AboveFeedbackStrip, // top := top of the feedback strip - height of Panel5 - margin
    AboveBottomBar,     // top := top of the bottom bar - margin - height of Panel5
};

/// What differs between the screens that carry the area. Defaults are the training screen's.
struct QuestionAreaConfig {
    QString ProgramFolder;                   // base of "\images\..." paths
    const char* PictureFrameName = "Panel4"; // the control screen calls it "Panel3"
    QPoint QuestionTextPos{32, 8};           // Label5
    QPoint NoticePos{48, 8};                 // Label10
    int PictureFrameLeft = 48;               // left of the question picture's frame
    int RowGap = 5;                          // LayoutRows()
    int BesideVideoGap = 10;                 // LayoutRowsBesideVideo()
    VideoPanelAnchor PanelAnchor = VideoPanelAnchor::AboveFeedbackStrip;
    int PanelAnchorMargin = 5; // control screen: AboveBottomBar, 22
    QColor PlayingBackground{0x40, 0x00, 0x80};
    QColor Background{0xC6, 0xFF, 0xD1}; // restored after playback
};

/// The places where a screen does its own part; every hook may be left empty.
struct QuestionAreaHooks {
    std::function<void()> SetTitle; // ShowQuestion(), first step
    /// After the draw and the option order are known (the control screen writes its record).
    /// order[p - 1] is the file option shown in row p; empty when the drawn slot is empty.
    std::function<void(int question, const QList<int>& order)> QuestionDrawn;
    std::function<void()> VideoQuestionFound; // ShowQuestion(): the question has a fragment
    std::function<void()> VideoNoticeStarted; // video notice, step 1
    std::function<void()> VideoNoticeShown;   // video notice, step 3 (answer button disabled)
    std::function<void()> PlaybackStarting;   // Timer2Timer, before the fragment is opened
    std::function<void()> PlaybackEnded;      // MediaPlayer1Notify, after the bar is shown
    std::function<void()> RevealFinished;     // end of Timer3Timer, before the rows are placed
    std::function<void()> RowsBesideVideo;    // LayoutRowsBesideVideo(), step 1
};

/// The video display area: a bevelled panel with a caption, shown while nothing plays over it.
class VideoDisplayPanel : public QFrame {
    Q_OBJECT
public:
    explicit VideoDisplayPanel(QWidget* parent = nullptr);
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    /// The panel as it looks without its children (bevel, colour and caption).
    QImage RenderEmpty() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

class QuestionArea : public QObject {
    Q_OBJECT
public:
    /// Creates the controls on host (the screen) in the training screen's places.
    explicit QuestionArea(QWidget* host, QuestionAreaConfig config = {});
    ~QuestionArea() override;

    // Wiring done by the screen.
    void SetBank(const QuestionBank* bank) { m_bank = bank; }
    const QuestionBank* Bank() const { return m_bank; }
    void SetBottomBar(QWidget* panel1) { m_bottomBar = panel1; }
    void SetFeedbackStrip(QWidget* panel2) { m_feedbackStrip = panel2; } // null: none
    void SetAnswerButton(QWidget* button) { m_answerButton = button; }
    void SetProgramFolder(const QString& folder) { m_config.ProgramFolder = folder; }
    QuestionAreaConfig& Config() { return m_config; }
    QuestionAreaHooks Hooks;

    QuestionView View;
    QuestionDraw& Draw() { return View.UsedQuestions; }

    // Operations.
    void ClearQuestionArea();
    void ShowQuestion();
    /// Shows `question` as given, its options in their order, without a draw (a question the
    /// exam keeper drew and ordered).
    void ShowGivenQuestion(const Question& question);
    void ScaleQuestionPicture();
    void LayoutRows();
    void CentreVideoPanel();
    void LayoutRowsBesideVideo();

    // The three steps of a video question. Timer2 and Timer3 call the first and the last; the
    // player's end of playback calls the second (tests call them directly).
    void Timer2Timer();
    void MediaPlayer1Notify();
    void Timer3Timer();

    /// Free height for the question picture as ScaleQuestionPicture() computes it.
    int FreeHeight() const;
    int FreeWidth() const;

    // Rows 1..5.
    AutoSizeLabel* RowLabel(int row) const;
    QCheckBox* RowBox(int row) const;
    QLabel* RowPicture(int row) const;
    /// True when row's label has text (the row is in use).
    bool RowUsed(int row) const;
    /// True from the start of a fragment's playback to the end of its reveal: the test's clock
    /// stands still meanwhile.
    bool PlaybackHoldsClock() const { return m_awaitingEnd || m_revealRunning; }

    QWidget* Host() const { return m_host; }

    // Controls, named as the program names them.
    AutoSizeLabel* Label5;                                     // question text
    AutoSizeLabel *Label1, *Label2, *Label3, *Label4, *Label6; // option rows 1..5
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox6;
    QLabel *Image5, *Image6, *Image7, *Image8, *Image9; // option pictures, natural size
    QFrame* Panel4;                                     // frame of the question picture
    QLabel* Image1;                                     // question picture, stretched
    QLabel* Label10;                                    // video notice
    QFrame* Panel5;                                     // video panel
    QLabel* Image3;                                     // decorative frame around the video
    VideoDisplayPanel* Panel6;                          // video display area
    QLabel* Image4;                                     // still of the fragment's last picture
    MediaPlayer* MediaPlayer1 = nullptr; // made by Player() when the first fragment plays
    QTimer* Timer2;                      // 3000 ms, notice to playback
    QTimer* Timer3;                      // 2 ms, reveal after playback

    /// The player, made on first use with Panel6 as its display.
    MediaPlayer* Player();

    static constexpr int kVideoDisplayWidth = 470;
    static constexpr int kVideoDisplayHeight = 350;
    static constexpr int kRevealStart = 132;
    static constexpr int kRevealStep = 30;
    static constexpr int kRevealEnd = 250;

private:
    void RunVideoNotice();
    /// The first shown box takes the keyboard when a box of the last question had it.
    void GiveBoxFocusBack();
    void PlayerFinished();
    void SetBackground(const QColor& colour);
    QImage StillFrame() const;
    static void LoadNaturalPicture(QLabel* picture, const QString& path, int emptyHeight);
    // The parts the constructor builds, in this order.
    void BuildQuestionText(const QFont& font);
    void BuildOptionRows(const QFont& font);
    void BuildPictureFrame();
    void BuildNotice(const QFont& font);
    void BuildVideoPanel();
    void BuildTimers();
    // Steps of ShowQuestion() and ShowGivenQuestion(); givenOrder null: the options shuffled.
    void ShowInOrder(const Question& question, const QList<int>* givenOrder);
    void TakeQuestionPicture(const Question& question);
    void FillOptionRows(const Question& question, const QList<int>& order);

    QWidget* m_host;
    QuestionAreaConfig m_config;
    const QuestionBank* m_bank = nullptr;
    QPointer<QWidget> m_bottomBar;
    QPointer<QWidget> m_feedbackStrip;
    QPointer<QWidget> m_answerButton;
    bool m_awaitingEnd = false;    // playback started, its end not yet handled
    bool m_playbackFailed = false; // the fragment could not be opened or played
    bool m_revealRunning = false;  // from the end of playback to the last Timer3 tick
    bool m_boxFocusPending = false; // a box had the keyboard when the rows were cleared
};
