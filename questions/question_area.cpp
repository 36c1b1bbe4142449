// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/question_area.h"

#include "platform/colours.h"
#include "platform/fonts.h"
#include "platform/media_player.h"
#include "platform/named_colours.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "platform/screen.h"
#include "widgets/stored_picture.h"

#include <QCheckBox>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace {

using Colours::kNavy;
using Colours::kRed;
constexpr QColor kDisplayColour = Colours::kDisplayArea;

constexpr int kRowLeft = 32;
constexpr int kBoxLeft = 8;
constexpr int kDesignRowTops[kMaxOptions] = {64, 96, 128, 160, 192};
constexpr int kPictureGap = 5; // between a picture row's "n) " and its picture
constexpr int kVideoPanelWidth = 520;
constexpr int kVideoPanelHeight = 390;

int Bottom(const QWidget* widget) {
    return widget->y() + widget->height();
}

// A lowered bevel of the given width along the inside of rect.
void DrawLoweredBevel(QPainter& painter, const QRect& rect, int width) {
    const QColor shadow(0x80, 0x80, 0x80);
    const QColor light(0xFF, 0xFF, 0xFF);
    for (int i = 0; i < width; ++i) {
        const QRect r = rect.adjusted(i, i, -i, -i);
        painter.setPen(shadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(light);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
}

} // namespace

// --- VideoDisplayPanel -----------------------------------------------------------------------

VideoDisplayPanel::VideoDisplayPanel(QWidget* parent) : QFrame(parent) {
    SetFillColour(this, kDisplayColour);
    setFont(PixelFont(QStringLiteral("Arial"), 15));
    SetTextColour(this, kNavy);
}

void VideoDisplayPanel::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

static void PaintDisplayPanel(QPainter& painter, const QRect& rect, const QPalette& palette,
                              const QFont& font, const QString& caption) {
    painter.fillRect(rect, palette.color(QPalette::Window));
    // Single border line, lowered outer bevel, 2 pixels of border, lowered inner bevel.
    painter.setPen(QColor(0x00, 0x00, 0x00));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    const QRect inside = rect.adjusted(1, 1, -2, -2);
    DrawLoweredBevel(painter, inside, 2);
    DrawLoweredBevel(painter, inside.adjusted(4, 4, -4, -4), 2);
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(rect, Qt::AlignCenter, caption);
}

void VideoDisplayPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintDisplayPanel(painter, rect(), palette(), font(), m_caption);
}

QImage VideoDisplayPanel::RenderEmpty() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    PaintDisplayPanel(painter, rect(), palette(), font(), m_caption);
    return image;
}

// --- QuestionArea ----------------------------------------------------------------------------

QuestionArea::QuestionArea(QWidget* host, QuestionAreaConfig config)
    : QObject(host), m_host(host), m_config(std::move(config)) {
    const QFont questionFont = PixelFont(QStringLiteral("Arial"), 16, true);
    BuildQuestionText(questionFont);
    BuildOptionRows(PixelFont(QStringLiteral("Arial"), 16));
    BuildPictureFrame();
    BuildNotice(questionFont);
    BuildVideoPanel();
    // The player is made when the first fragment is played (Player()).
    BuildTimers();

    Panel5->raise();
    Label10->raise();
}

void QuestionArea::BuildQuestionText(const QFont& font) {
    Label5 = Named(new AutoSizeLabel(m_host), "Label5");
    Label5->setFont(font);
    SetTextColour(Label5, kRed);
    Label5->move(m_config.QuestionTextPos);
}

void QuestionArea::BuildOptionRows(const QFont& font) {
    const char* labelNames[kMaxOptions] = {"Label1", "Label2", "Label3", "Label4", "Label6"};
    const char* boxNames[kMaxOptions] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
                                         "CheckBox6"};
    const char* pictureNames[kMaxOptions] = {"Image5", "Image6", "Image7", "Image8", "Image9"};
    AutoSizeLabel** labels[kMaxOptions] = {&Label1, &Label2, &Label3, &Label4, &Label6};
    QCheckBox** boxes[kMaxOptions] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox6};
    QLabel** pictures[kMaxOptions] = {&Image5, &Image6, &Image7, &Image8, &Image9};
    for (int i = 0; i < kMaxOptions; ++i) {
        auto* label = Named(new AutoSizeLabel(m_host), labelNames[i]);
        label->setFont(font);
        SetTextColour(label, kNavy);
        label->move(kRowLeft, kDesignRowTops[i]);
        label->hide();
        *labels[i] = label;

        auto* box = Named(new QCheckBox(m_host), boxNames[i]);
        box->setGeometry(kBoxLeft, kDesignRowTops[i], 25, 17);
        box->setCursor(Qt::PointingHandCursor);
        box->hide();
        *boxes[i] = box;

        auto* picture = Named(new QLabel(m_host), pictureNames[i]);
        picture->move(0, kDesignRowTops[i]);
        picture->resize(0, 0);
        picture->hide();
        *pictures[i] = picture;
    }
}

void QuestionArea::BuildPictureFrame() {
    Panel4 = Named(new QFrame(m_host), m_config.PictureFrameName);
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel4->setLineWidth(1);
    Panel4->move(m_config.PictureFrameLeft, 0);
    Panel4->hide();
    Image1 = Named(new QLabel(Panel4), "Image1");
    Image1->setScaledContents(true);
    Image1->move(2, 2);
    Image1->hide();
}

void QuestionArea::BuildNotice(const QFont& font) {
    Label10 = Named(new QLabel(m_host), "Label10");
    Label10->setWordWrap(true);
    Label10->setFont(font);
    SetTextColour(Label10, kRed);
    Label10->move(m_config.NoticePos);
    Label10->hide();
}

void QuestionArea::BuildVideoPanel() {
    Panel5 = Named(new QFrame(m_host), "Panel5");
    Panel5->setGeometry(160, 72, kVideoPanelWidth, kVideoPanelHeight);
    SetFillColour(Panel5, kNavy);
    Panel5->hide();
    Image3 =
        Named(new StoredPicture(QStringLiteral(":/pictures/video_frame.jpg"), Panel5), "Image3");
    Image3->setGeometry(Panel5->rect());
    Panel6 = Named(new VideoDisplayPanel(Panel5), "Panel6");
    Panel6->setGeometry(24, 18, kVideoDisplayWidth, kVideoDisplayHeight);
    Panel6->SetCaption(QStringLiteral("ПРОДОЛЖАЙТЕ ТЕСТИРОВАНИЕ..."));
    Image4 = Named(new QLabel(Panel6), "Image4");
    Image4->setGeometry(Panel6->rect());
    Image4->hide();
}

void QuestionArea::BuildTimers() {
    Timer2 = Named(new QTimer(this), "Timer2");
    Timer2->setInterval(3000);
    Timer2->setTimerType(Qt::PreciseTimer); // a coarse timer may end it 150 ms early or late
    connect(Timer2, &QTimer::timeout, this, &QuestionArea::Timer2Timer);
    Timer3 = Named(new QTimer(this), "Timer3");
    Timer3->setInterval(2);
    connect(Timer3, &QTimer::timeout, this, &QuestionArea::Timer3Timer);
}

QuestionArea::~QuestionArea() {
    Timer2->stop();
    Timer3->stop();
    m_awaitingEnd = false;
}

AutoSizeLabel* QuestionArea::RowLabel(int row) const {
    return RowControl<AutoSizeLabel>(row, {Label1, Label2, Label3, Label4, Label6});
}

QCheckBox* QuestionArea::RowBox(int row) const {
    return RowControl<QCheckBox>(row, {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox6});
}

QLabel* QuestionArea::RowPicture(int row) const {
    return RowControl<QLabel>(row, {Image5, Image6, Image7, Image8, Image9});
}

bool QuestionArea::RowUsed(int row) const {
    const AutoSizeLabel* label = RowLabel(row);
    return label != nullptr && !label->text().isEmpty();
}

void QuestionArea::ClearQuestionArea() {
    // A box holding the keyboard gives it up before the rows go: hidden one by one, each would
    // hand it on to the next, and a screen reader would read the last option of the next
    // question first. The first box of the next question gets it back.
    for (int row = 1; row <= kMaxOptions; ++row) {
        if (RowBox(row)->hasFocus()) {
            m_boxFocusPending = true;
            RowBox(row)->clearFocus();
        }
    }
    const int clientWidth = m_host->width();
    for (int row = 1; row <= kMaxOptions; ++row) {
        AutoSizeLabel* label = RowLabel(row);
        label->hide();
        label->setText(QString());
        label->SetWidth(clientWidth - label->x() - 5);
        RowBox(row)->hide();
    }
    Label5->SetWidth(clientWidth - Label5->x() - 5);
    Image1->hide();
    Panel4->hide();
    Panel5->hide();
    for (int row = 1; row <= kMaxOptions; ++row)
        RowPicture(row)->hide();
}

void QuestionArea::LoadNaturalPicture(QLabel* picture, const QString& path, int emptyHeight) {
    const QPixmap pixmap(path);
    if (pixmap.isNull()) {
        // A picture that cannot be read leaves an empty place as high as its row's number, so
        // the rows below never run into that number.
        picture->clear();
        picture->resize(0, emptyHeight);
        return;
    }
    picture->setPixmap(pixmap);
    picture->resize(pixmap.size());
}

void QuestionArea::ShowQuestion() {
    if (Hooks.SetTitle)
        Hooks.SetTitle();
    if (m_bank == nullptr)
        return;

    View.CurrentQuestion = Draw().DrawQuestion(m_bank->QuestionCount);
    ShowInOrder(m_bank->At(View.CurrentQuestion), nullptr);
}

void QuestionArea::ShowGivenQuestion(const Question& question) {
    if (Hooks.SetTitle)
        Hooks.SetTitle();
    View.CurrentQuestion = 0;
    QList<int> order;
    for (int p = 1; p <= question.OptionCount; ++p)
        order << p;
    ShowInOrder(question, &order);
}

void QuestionArea::ShowInOrder(const Question& question, const QList<int>* givenOrder) {
    View.DisplayOptions.fill(AnswerOption{});
    View.OptionPicturePending.fill(false);
    if (question.IsEmpty()) {
        // The file declared more questions than it holds: nothing to show for this draw.
        Label5->setText(QString());
        View.QuestionPictureShown = false;
        View.VideoPending = false;
        if (Hooks.QuestionDrawn)
            Hooks.QuestionDrawn(View.CurrentQuestion, {});
        return;
    }

    Label5->setText(question.Text.mid(9));
    TakeQuestionPicture(question);
    const QList<int> order = givenOrder ? *givenOrder : Draw().ShuffleOptions(question);
    FillOptionRows(question, order);
    if (Hooks.QuestionDrawn)
        Hooks.QuestionDrawn(View.CurrentQuestion, order);

    if (View.VideoPending) {
        RunVideoNotice();
        return;
    }
    if (View.QuestionPictureShown) {
        ScaleQuestionPicture();
        Panel4->show();
        Image1->show();
    }
    LayoutRows();
}

// Notes whether the question has a picture or a video fragment; a picture is put into Image1,
// still hidden, a fragment's file is kept for the notice and its playback.
void QuestionArea::TakeQuestionPicture(const Question& question) {
    if (!question.Picture) {
        View.QuestionPictureShown = false;
        View.VideoPending = false;
    } else if (question.IsVideo()) {
        View.QuestionPictureShown = false;
        View.VideoPending = true;
        View.FragmentFile = ImagesPath(m_config.ProgramFolder, question.PictureName());
        if (Hooks.VideoQuestionFound)
            Hooks.VideoQuestionFound();
    } else {
        View.QuestionPictureShown = true;
        View.VideoPending = false;
        const QPixmap pixmap(ImagesPath(m_config.ProgramFolder, question.PictureName()));
        if (pixmap.isNull())
            Image1->clear();
        else
            Image1->setPixmap(pixmap);
    }
}

// Row p shows the option order[p - 1]: its number and text, or its number and its picture.
void QuestionArea::FillOptionRows(const Question& question, const QList<int>& order) {
    for (int p = 1; p <= question.OptionCount && p <= int(order.size()); ++p) {
        const AnswerOption& option = question.Options[order[p - 1] - 1];
        View.DisplayOptions[p - 1] = option;
        AutoSizeLabel* label = RowLabel(p);
        const QString number = QStringLiteral("%1) ").arg(p);
        // The tick box carries its option's text for screen readers; the text is a label apart.
        RowBox(p)->setAccessibleName(option.IsPicture ? QStringLiteral("Рисунок %1").arg(p)
                                                      : (number + option.Text).trimmed());
        if (option.IsPicture) {
            label->setText(number);
            View.OptionPicturePending[p - 1] = true;
            LoadNaturalPicture(RowPicture(p),
                               OptionPicturePath(m_config.ProgramFolder, option.Text),
                               label->height());
        } else {
            label->setText(number + option.Text);
        }
    }
}

int QuestionArea::FreeWidth() const {
    return m_host->width() - 10;
}

int QuestionArea::FreeHeight() const {
    int free = m_host->height() - (m_bottomBar ? m_bottomBar->height() : 0) - 5;
    if (m_feedbackStrip)
        free -= m_feedbackStrip->height() + 5;
    free -= Label5->y() + Label5->height() + 5;
    for (int row = 1; row <= kMaxOptions; ++row) {
        if (!RowUsed(row))
            continue;
        free -= View.DisplayOptions[row - 1].IsPicture ? RowPicture(row)->height()
                                                       : RowLabel(row)->height();
        free -= 5;
    }
    return free;
}

void QuestionArea::ScaleQuestionPicture() {
    const QSize natural = Image1->pixmap().isNull() ? QSize(0, 0) : Image1->pixmap().size();
    const int w = natural.width();
    const int h = natural.height();
    const int freeWidth = FreeWidth();
    const int freeHeight = FreeHeight();
    const double sx = (w < freeWidth || w == 0) ? 1.0 : double(freeWidth) / w;
    const double sy = (h < freeHeight || h == 0) ? 1.0 : double(freeHeight) / h;
    const double s = sy >= sx ? sx : sy;

    const int width = std::max(0, RoundHalfEven(w * s));
    const int height = std::max(0, RoundHalfEven(h * s));
    Panel4->setGeometry(m_config.PictureFrameLeft, Bottom(Label5) + 5, width + 4, height + 4);
    Image1->setGeometry(2, 2, width, height);
}

void QuestionArea::LayoutRows() {
    const int gap = m_config.RowGap;
    View.PreviousRowPicture.fill(false);
    const int anchor = (View.QuestionPictureShown ? Bottom(Panel4) : Bottom(Label5)) + gap;
    int previous = 0;
    for (int row = 1; row <= kMaxOptions; ++row) {
        if (!RowUsed(row))
            continue;
        AutoSizeLabel* label = RowLabel(row);
        QCheckBox* box = RowBox(row);
        int top = anchor;
        if (previous != 0)
            top = (View.PreviousRowPicture[previous - 1] ? Bottom(RowPicture(previous))
                                                         : Bottom(RowLabel(previous))) +
                  gap;
        label->move(label->x(), top);
        box->move(box->x(), top);
        if (View.DisplayOptions[row - 1].IsPicture) {
            QLabel* picture = RowPicture(row);
            picture->move(label->x() + label->width() + kPictureGap, top);
            picture->show();
            View.PreviousRowPicture[row - 1] = true;
            View.OptionPicturePending[row - 1] = false;
        }
        label->show();
        box->show();
        previous = row;
    }
    GiveBoxFocusBack();
}

void QuestionArea::GiveBoxFocusBack() {
    // A video question's boxes take it once its fragment has played and they stand beside it.
    if (!m_boxFocusPending || View.VideoPending)
        return;
    for (int row = 1; row <= kMaxOptions; ++row) {
        if (RowUsed(row) && RowBox(row)->isVisibleTo(m_host)) {
            m_boxFocusPending = false;
            RowBox(row)->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void QuestionArea::CentreVideoPanel() {
    Panel5->move(HalfOf(m_host->width() - Panel5->width()),
                 HalfOf(m_host->height() - Panel5->height()));
}

void QuestionArea::RunVideoNotice() {
    View.VideoPending = false;
    if (Hooks.VideoNoticeStarted)
        Hooks.VideoNoticeStarted();
    Image4->hide();
    View.VideoStage = VideoStages::kNone;
    Timer2->start();

    const int width = std::max(0, m_host->width() - Label10->x() - 5);
    Label10->setText(QStringLiteral("Внимание видеофрагмент!"));
    Label10->resize(width, Label10->heightForWidth(width));
    Label10->show();
    Label10->raise();
    View.VideoStage = VideoStages::kNotice;

    if (m_answerButton)
        m_answerButton->setEnabled(false);
    Label5->hide();
    for (int row = 1; row <= kMaxOptions; ++row) {
        RowLabel(row)->hide();
        RowBox(row)->hide();
        RowPicture(row)->hide();
    }
    if (Hooks.VideoNoticeShown)
        Hooks.VideoNoticeShown();

    CentreVideoPanel();
    View.SlideOffset = kRevealStart;

    // The fragment is opened while the notice stands, so that it plays the moment the notice
    // ends. A name that leads outside the pictures folder left no file to open.
    if (!View.FragmentFile.isEmpty())
        Player()->Prepare(View.FragmentFile);
}

void QuestionArea::SetBackground(const QColor& colour) {
    QPalette palette = m_host->palette();
    palette.setColor(QPalette::Window, colour);
    m_host->setPalette(palette);
    m_host->setAutoFillBackground(true);
}

void QuestionArea::Timer2Timer() {
    Timer2->stop();
    if (View.VideoStage == VideoStages::kNotice) {
        if (Hooks.PlaybackStarting)
            Hooks.PlaybackStarting();
        Label10->hide();
        if (m_feedbackStrip)
            m_feedbackStrip->hide();
        if (m_bottomBar)
            m_bottomBar->hide();
        SetBackground(m_config.PlayingBackground);
        Label5->hide();

        m_awaitingEnd = true;
        m_playbackFailed = false;
        Player()->SetDisplayRect(QRect(0, 0, 471, 351)); // exists from here on, opened or not
        // The open began with the notice; a fragment still opening plays once it is open, and
        // one that cannot be opened in time ends as one that failed.
        if (!View.FragmentFile.isEmpty() && !MediaPlayer1->Failed()) {
            MediaPlayer1->Play(true);
        } else {
            // A fragment that cannot be opened ends at once, as if it had been played.
            m_playbackFailed = true;
            QMetaObject::invokeMethod(this, &QuestionArea::PlayerFinished, Qt::QueuedConnection);
        }
        Panel5->show();
        Panel5->raise();
        Image3->show();
        View.CaptureNextTick = true;
    }
    View.VideoStage = VideoStages::kPlayback;
}

void QuestionArea::PlayerFinished() {
    if (!m_awaitingEnd || MediaPlayer1 == nullptr)
        return;
    if (MediaPlayer1->Failed())
        m_playbackFailed = true;
    MediaPlayer1Notify();
}

void QuestionArea::MediaPlayer1Notify() {
    m_awaitingEnd = false;
    if (m_bottomBar)
        m_bottomBar->show();
    if (Hooks.PlaybackEnded)
        Hooks.PlaybackEnded();
    SetBackground(m_config.Background);
    m_revealRunning = true;
    Timer3->start();

    int top = 0;
    if (m_config.PanelAnchor == VideoPanelAnchor::AboveFeedbackStrip) {
        const int stripTop = m_feedbackStrip ? m_feedbackStrip->y()
                             : m_bottomBar   ? m_bottomBar->y()
                                             : m_host->height();
        top = stripTop - Panel5->height() - m_config.PanelAnchorMargin;
    } else {
        const int barTop = m_bottomBar ? m_bottomBar->y() : m_host->height();
        top = barTop - m_config.PanelAnchorMargin - Panel5->height();
    }
    Panel5->move(Panel5->x(), top);
    SetFillColour(Panel5, kDisplayColour);
}

QImage QuestionArea::StillFrame() const {
    if (m_playbackFailed || MediaPlayer1 == nullptr)
        return Panel6->RenderEmpty();
    const QImage frame = MediaPlayer1->LastFrame();
    if (!frame.isNull()) {
        // The fragment is drawn over the display rectangle 0, 0 - 471, 351 of Panel6.
        QImage still(kVideoDisplayWidth, kVideoDisplayHeight, QImage::Format_RGB32);
        QPainter painter(&still);
        painter.drawImage(QRect(0, 0, 471, 351), frame);
        return still;
    }
    return Panel6->grab().toImage();
}

void QuestionArea::Timer3Timer() {
    if (!m_revealRunning)
        return; // a tick that was already queued when the reveal ended
    if (View.CaptureNextTick) {
        View.CaptureNextTick = false;
        View.StillFrameOrigin = Panel5->pos() + Panel6->pos();
        Image4->setPixmap(QPixmap::fromImage(StillFrame()));
        Panel5->hide();
    }
    View.SlideOffset += kRevealStep;
    if (View.SlideOffset < kRevealEnd)
        return;

    Panel5->move(View.SlideOffset, Panel5->y());
    Timer3->stop();
    m_revealRunning = false;
    if (Hooks.RevealFinished)
        Hooks.RevealFinished();
    Panel5->show();
    Panel5->raise();
    Image4->show();
    Image4->raise();
    LayoutRowsBesideVideo();
}

void QuestionArea::LayoutRowsBesideVideo() {
    const int gap = m_config.BesideVideoGap;
    Label5->SetWidth(m_host->width() - Label5->x() - 5);
    Label5->show();
    if (Hooks.RowsBesideVideo)
        Hooks.RowsBesideVideo();

    // Marks left by the layout of an earlier question must not move this column.
    View.PreviousRowPicture.fill(false);
    int previous = 0;
    for (int row = 1; row <= kMaxOptions; ++row) {
        if (!RowUsed(row))
            continue;
        AutoSizeLabel* label = RowLabel(row);
        QCheckBox* box = RowBox(row);
        int top = Bottom(Label5) + gap;
        if (previous != 0) {
            top = (View.PreviousRowPicture[previous - 1] ? Bottom(RowPicture(previous))
                                                         : Bottom(RowLabel(previous))) +
                  gap;
            View.PreviousRowPicture[previous - 1] = false;
        }
        const QString number = QStringLiteral("%1) ").arg(row);
        const int columnWidth = Panel5->x() - label->x() - 5;
        if (View.OptionPicturePending[row - 1]) {
            View.OptionPicturePending[row - 1] = false;
            View.PreviousRowPicture[row - 1] = true;
            label->setText(QString());
            if (row == 1)
                label->SetWidth(columnWidth);
            label->setText(number);
            QLabel* picture = RowPicture(row);
            label->move(label->x(), top);
            box->move(box->x(), top);
            picture->move(label->x() + label->width() + kPictureGap, top);
            picture->show();
        } else {
            label->setText(QString());
            label->SetWidth(columnWidth);
            label->move(label->x(), top);
            label->setText(number + View.DisplayOptions[row - 1].Text);
            box->move(box->x(), top);
        }
        label->show();
        box->show();
        previous = row;
    }
    View.PreviousRowPicture.fill(false);
    if (MediaPlayer1 != nullptr)
        MediaPlayer1->SetNotify(false);
    GiveBoxFocusBack();
}

MediaPlayer* QuestionArea::Player() {
    // Made on first use: most tests show no fragment, and a player holds a media pipeline and a
    // native display window for the program's whole life.
    if (MediaPlayer1 == nullptr) {
        MediaPlayer1 = CreateMediaPlayer(this);
        MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
        MediaPlayer1->SetDisplay(Panel6);
        connect(MediaPlayer1, &MediaPlayer::Notify, this, &QuestionArea::PlayerFinished);
    }
    return MediaPlayer1;
}
