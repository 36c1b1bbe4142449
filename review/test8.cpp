// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Answer review screen.
#include "review/test8.h"

#include "keeper/keeper_client.h"
#include "platform/colours.h"
#include "platform/display.h"
#include "platform/file_dialog.h"
#include "platform/fonts.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "platform/named_colours.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "questions/auto_size_label.h"
#include "questions/question_area.h"
#include "widgets/shown_movie.h"
#include "widgets/stored_picture.h"
#include "widgets/toggle_button.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <cmath>

QPointer<TForm8> Form8;

ReviewRun& Review() {
    static ReviewRun run;
    return run;
}

const QString TForm8::kDialogTitle = QStringLiteral("Открытие файла");
// One file type: the description, then the pattern.
const QString TForm8::kDialogFilter = QStringLiteral("Текстовые файлы рез-ов тестирования (*.txt)");
const QString TForm8::kNoFileMessage =
    QStringLiteral("Вы не указали файл, повторите процедуру открытия файла отчета...");

namespace {

const QColor kBackground(0xEE, 0xFC, 0xA0);
const QColor kBarColour(0x5F, 0xEE, 0xFA);
using Colours::kBlue;
using Colours::kMaroon;
using Colours::kNavy;
using Colours::kRed;
const QColor kPointsGreen(0x00, 0x59, 0x00);
constexpr QColor kVideoFace = Colours::kToggleFace;
constexpr QColor kVideoHover = Colours::kHover;
const QString kAbsent = QStringLiteral("0");
const QString kFont = QStringLiteral("Times New Roman");

constexpr int kBarHeight = 33;
constexpr int kTextLeft = 16;
constexpr int kHeadingLeft = 80;
constexpr int kPictureFrameLeft = 8;
constexpr int kVideoPanelWidth = 520;
constexpr int kVideoPanelHeight = 390;
constexpr int kDisplayWidth = 470;
constexpr int kDisplayHeight = 350;

int Bottom(const QWidget* widget) {
    return widget->y() + widget->height();
}

// The file's header as the top bar shows it: whole, unless it is longer than the bar could ever
// show (a damaged file); then its beginning and its end with the totals, so that laying it out
// takes no noticeable time.
QString ShownHeader(const QString& header) {
    constexpr qsizetype kPart = 4096;
    if (header.size() <= 2 * kPart)
        return header;
    return header.left(kPart) + QStringLiteral(" … ") + header.right(kPart);
}

AutoSizeLabel* MakeRecordLabel(QWidget* parent, const char* name, int left, int pixels,
                               const QColor& colour) {
    auto* label = Named(new AutoSizeLabel(parent), name);
    label->setFont(PixelFont(kFont, pixels));
    SetTextColour(label, colour);
    label->move(left, kBarHeight + 4);
    label->hide();
    return label;
}

QLabel* MakeRowPicture(QWidget* parent, const char* name) {
    auto* picture = Named(new QLabel(parent), name);
    picture->setScaledContents(true); // a picture too large for the record is shown smaller
    picture->resize(0, 0);
    picture->hide();
    return picture;
}

QPushButton* MakeBarButton(QWidget* parent, const char* name, const QString& caption, QRect place,
                           const QColor& colour) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setGeometry(place);
    button->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
    SetTextColour(button, colour);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

TForm8::TForm8(ScreenShell& shell, QWidget* parent) : Screen(parent), m_shell(shell) {
    SetUpWindow();
    BuildTopBar();
    BuildRecordLabels();
    BuildRowPictures();
    BuildQuestionPicture();
    BuildEmptyScreenPicture();
    BuildVideoPanel();
    BuildVideoButton();
    BuildBottomBar();

    Panel5->raise();
    abcToggleBtn1->raise();
    Panel2->raise();

    // FormCreate. The screen is laid out empty already, for a showing without activation.
    Review().ReviewFresh = 1;
    resizeEvent(nullptr);
    ShowEmptyScreen();
}

void TForm8::SetUpWindow() {
    setObjectName(QStringLiteral("Form8"));
    // Single fixed border with a title but no title-bar buttons, always on top.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Результаты теста"));
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    SetFillColour(this, kBackground);
    setFixedSize(kClientWidth, kClientHeight);
}

void TForm8::BuildTopBar() {
    // Top bar with the file's header and totals.
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    SetFillColour(Panel1, kBarColour);
    Label1 = Named(new QLabel(Panel1), "Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFont(PixelFont(kFont, 13));
    SetTextColour(Label1, kNavy);
}

void TForm8::BuildRecordLabels() {
    // The record: heading, question, option rows, answer lines.
    Label2 = MakeRecordLabel(this, "Label2", kHeadingLeft, 13, kMaroon);
    Label3 = MakeRecordLabel(this, "Label3", kTextLeft, 15, kBlue);
    Label4 = MakeRecordLabel(this, "Label4", kTextLeft, 15, kNavy);
    Label5 = MakeRecordLabel(this, "Label5", kTextLeft, 15, kNavy);
    Label6 = MakeRecordLabel(this, "Label6", kTextLeft, 15, kNavy);
    Label7 = MakeRecordLabel(this, "Label7", kTextLeft, 15, kNavy);
    Label8 = MakeRecordLabel(this, "Label8", kTextLeft, 15, kNavy);
    Label9 = MakeRecordLabel(this, "Label9", kTextLeft, 15, kBlue);
    Label10 = MakeRecordLabel(this, "Label10", kTextLeft, 15, kBlue);
    Label11 = MakeRecordLabel(this, "Label11", kTextLeft, 15, kPointsGreen);
}

void TForm8::BuildRowPictures() {
    Image6 = MakeRowPicture(this, "Image6");
    Image7 = MakeRowPicture(this, "Image7");
    Image8 = MakeRowPicture(this, "Image8");
    Image9 = MakeRowPicture(this, "Image9");
    Image10 = MakeRowPicture(this, "Image10");
}

void TForm8::BuildQuestionPicture() {
    Panel3 = Named(new QFrame(this), "Panel3");
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setLineWidth(1);
    Panel3->move(kPictureFrameLeft, 0);
    Panel3->hide();
    Image1 = Named(new QLabel(Panel3), "Image1");
    Image1->setScaledContents(true);
    Image1->move(2, 2);
    Image1->hide();
}

void TForm8::BuildEmptyScreenPicture() {
    // The decorative picture of the empty screen.
    Panel4 = Named(new QFrame(this), "Panel4");
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel4->setLineWidth(1);
    Panel4->setGeometry(296, 160, 169, 185);
    Image2 = Named(new QLabel(Panel4), "Image2");
    Image2->setGeometry(Panel4->contentsRect());
    Image2->setAlignment(Qt::AlignCenter);
    Animation = new QMovie(QStringLiteral(":/pictures/test_animation.gif"), QByteArray(), this);
    ShowMovieWhileVisible(Image2, Animation);
}

void TForm8::BuildVideoPanel() {
    // The video panel: a frame picture around the display area.
    Panel5 = Named(new QFrame(this), "Panel5");
    Panel5->setGeometry(kVideoPanelLeft, kVideoPanelTop, kVideoPanelWidth, kVideoPanelHeight);
    SetFillColour(Panel5, kNavy);
    Panel5->hide();
    Image3 =
        Named(new StoredPicture(QStringLiteral(":/pictures/video_frame.jpg"), Panel5), "Image3");
    Image3->setGeometry(Panel5->rect());
    Panel6 = Named(new VideoDisplayPanel(Panel5), "Panel6");
    Panel6->setGeometry(24, 18, kDisplayWidth, kDisplayHeight);
    Panel6->SetCaption(QStringLiteral("ПРОДОЛЖАЙТЕ ТЕСТИРОВАНИЕ..."));
    Image4 =
        Named(new StoredPicture(QStringLiteral(":/pictures/video_still.jpg"), Panel6), "Image4");
    Image4->setGeometry(Panel6->rect());
    Image5 = Named(new QLabel(Panel6), "Image5");
    Image5->setGeometry(Panel6->rect());
    Image5->hide();

    // The player gets the display area only while a fragment plays, so that the pictures of
    // the display area are never hidden behind a video surface.
    MediaPlayer1 = nullptr; // made when the first fragment plays
}

void TForm8::BuildVideoButton() {
    abcToggleBtn1 = Named(new TabcToggleBtn(this), "abcToggleBtn1");
    abcToggleBtn1->SetCaption(QStringLiteral("Старт видео"));
    abcToggleBtn1->setGeometry(kTextLeft, 0, 161, 22);
    abcToggleBtn1->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
    abcToggleBtn1->SetFontColor(kBlue);
    abcToggleBtn1->SetColor(kVideoFace);
    abcToggleBtn1->setCursor(Qt::PointingHandCursor);
    abcToggleBtn1->hide();
    connect(abcToggleBtn1, &TabcToggleBtn::Click, this, &TForm8::abcToggleBtn1Click);
    connect(abcToggleBtn1, &TabcToggleBtn::MouseEnter, this, &TForm8::abcToggleBtn1MouseEnter);
    connect(abcToggleBtn1, &TabcToggleBtn::MouseLeave, this, &TForm8::abcToggleBtn1MouseLeave);
}

void TForm8::BuildBottomBar() {
    // Bottom bar with the four buttons.
    Panel2 = Named(new QFrame(this), "Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setLineWidth(1);
    SetFillColour(Panel2, kBarColour);
    BitBtn5 =
        MakeBarButton(Panel2, "BitBtn5", QStringLiteral("Закрыть"), QRect(18, 6, 81, 23), kRed);
    BitBtn2 = MakeBarButton(Panel2, "BitBtn2", QStringLiteral("Открыть файл отчета..."),
                            QRect(105, 4, 217, 25), kNavy);
    BitBtn3 = MakeBarButton(Panel2, "BitBtn3", QStringLiteral("Следующий вопрос"),
                            QRect(326, 4, 220, 25), kBlue);
    BitBtn4 = MakeBarButton(Panel2, "BitBtn4", QStringLiteral("Предыдущий вопрос"),
                            QRect(551, 4, 217, 25), kBlue);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm8::BitBtn5Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm8::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm8::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm8::BitBtn4Click);
}

TForm8::~TForm8() {
    if (m_playing)
        SetStartBarEnabled(true);
}

AutoSizeLabel* TForm8::RowLabel(int row) const {
    return RowControl<AutoSizeLabel>(row, {Label4, Label5, Label6, Label7, Label8});
}

QLabel* TForm8::RowPicture(int row) const {
    return RowControl<QLabel>(row, {Image6, Image7, Image8, Image9, Image10});
}

QString TForm8::ProgramFolder() const {
    return m_shell.ProgramFolder();
}

// --- Window --------------------------------------------------------------------------------------

void TForm8::resizeEvent(QResizeEvent* event) {
    FitTopBar();
    Panel2->setGeometry(0, height() - kBarHeight, width(), kBarHeight);
    if (event != nullptr)
        Screen::resizeEvent(event);
}

void TForm8::FitTopBar() {
    // The bar grows with the file's header, so that a long name or specialization never cuts off
    // the line with the score; it takes at most a third of the screen, and a header longer than
    // that shows its end, where the score is.
    const int frame = Panel1->frameWidth();
    const int textWidth = std::max(0, width() - 2 * frame - 4);
    const int needed = Label1->text().isEmpty() ? 0 : Label1->heightForWidth(textWidth);
    const int most = std::max(kBarHeight, height() / 3);
    Panel1->setGeometry(0, 0, width(), std::clamp(needed + 2 * frame, kBarHeight, most));
    Label1->setGeometry(Panel1->contentsRect().adjusted(2, 0, -2, 0));
    Label1->setAlignment(Qt::AlignLeft |
                         (needed > Label1->height() ? Qt::AlignBottom : Qt::AlignTop));
}

void TForm8::PlaceWindow() {
    const QSize display = DisplaySize();
    const bool tall = display.height() >= 624;
    setFixedSize(tall ? kClientWidth : kLowClientWidth, tall ? kClientHeight : kLowClientHeight);
    CentreOnDisplay(35); // top 35 on displays 623 pixels high or less
}

void TForm8::showEvent(QShowEvent* event) {
    PlaceWindow();
    Screen::showEvent(event);
}

void TForm8::ShowEmptyScreen() {
    BitBtn3->hide();
    BitBtn4->hide();
    CurrentItem = 1;
    ClearReviewArea();
    Panel4->show();
    Image2->show();
}

void TForm8::FormActivate() {
    PlaceWindow();
    if (Review().ReviewFresh != 0) {
        ShowEmptyScreen();
        Review().ReviewFresh = 0;
        return;
    }
    // The display area shows again the last frame of the fragment played last, when that
    // fragment belongs to the record on screen.
    if (!m_playing && m_stillItem != 0 && m_stillItem == CurrentItem)
        Image5->show();
}

// --- Showing a record ----------------------------------------------------------------------------

void TForm8::ClearReviewArea() {
    const int clientWidth = width();
    for (AutoSizeLabel* label :
         {Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11}) {
        label->hide();
        label->setText(QString());
        label->SetWidth(clientWidth - label->x() - 5);
    }
    Panel3->hide();
    Image1->hide();
    abcToggleBtn1->hide();
    Panel5->hide();
    for (int row = 1; row <= kReviewOptions; ++row)
        RowPicture(row)->hide();
}

void TForm8::ShowReviewItem() {
    Panel5->hide();
    abcToggleBtn1->hide();
    QuestionPictureShown = false;
    VideoPending = false;
    PreviousRowPicture.fill(false);
    RunningTop = Bottom(Label3) + 5;

    const ReviewItem& item = Review().Data.Item(CurrentItem);
    if (item.IsFilled())
        FillReviewItem(item, ProgramFolder());
    PlaceReviewHeading();

    if (VideoPending) {
        VideoPending = false;
        Panel5->move(kVideoPanelLeft, std::max(kVideoPanelTop, Bottom(Panel1) + 4));
        Panel5->show();
        LayoutReviewRowsBesideVideo();
        return;
    }
    if (QuestionPictureShown) {
        FitReviewPicture();
        Panel3->show();
        Image1->show();
    }
    PlaceReviewRows();
    // The picture's budget leaves less room for the frame and the gaps than the rows below it
    // take: when the last answer line would run under the bottom bar, the picture gives up the
    // difference, so every line of the record stays readable.
    const int overflow = RunningTop - 4 - Panel2->y();
    if (QuestionPictureShown && overflow > 0) {
        FitReviewPicture(overflow);
        PlaceReviewRows();
    }
    // Option pictures taller than the screen leaves them give up the rest.
    for (int pass = 0; pass < 3 && RunningTop - 4 > Panel2->y(); ++pass) {
        if (!ShrinkRowPictures(RunningTop - 4 - Panel2->y(), width() - 5))
            break;
        PlaceReviewRows();
    }
}

bool TForm8::ShrinkRowPictures(int overflow, int right) {
    const ReviewItem& item = Review().Data.Item(CurrentItem);
    int total = 0;
    for (int row = 1; row <= kReviewOptions; ++row) {
        if (item.OptionIsPicture[row - 1] && !RowLabel(row)->text().isEmpty() &&
            !RowPicture(row)->pixmap().isNull())
            total += RowPicture(row)->height();
    }
    if (total <= 0)
        return false;
    // One factor for all of them, so that they keep their proportions to one another.
    const double s = std::max(0.0, double(total - overflow) / total);
    for (int row = 1; row <= kReviewOptions; ++row) {
        QLabel* picture = RowPicture(row);
        if (!item.OptionIsPicture[row - 1] || RowLabel(row)->text().isEmpty() ||
            picture->pixmap().isNull() || picture->height() == 0)
            continue;
        const int left = RowLabel(row)->x() + RowLabel(row)->width() + 2;
        const double fit = std::min(s, double(std::max(0, right - left)) / picture->width());
        // Rounded down: the pictures never take more than the room they were given.
        picture->resize(std::max(0, int(std::floor(picture->width() * fit))),
                        std::max(0, int(std::floor(picture->height() * fit))));
    }
    return true;
}

void TForm8::FillReviewItem(const ReviewItem& item, const QString& folder) {
    Label2->setText(item.Heading);
    Label3->setText(item.QuestionText.mid(9));
    LoadReviewMedia(item, folder);
    for (int row = 1; row <= kReviewOptions; ++row) {
        if (row > 1 && item.OptionText[row - 1] == kAbsent)
            break;
        FillReviewRow(item, row, folder);
    }
    Label9->setText(item.GivenAnswer);
    Label10->setText(item.CorrectAnswer);
    Label11->setText(item.AnswerPoints);
    Label9->show();
    Label10->show();
    Label11->show();
}

void TForm8::LoadReviewMedia(const ReviewItem& item, const QString& folder) {
    if (!item.HasMedia()) {
        QuestionPictureShown = false;
        VideoPending = false;
    } else if (item.IsVideo()) {
        VideoPending = true;
        ReviewVideoFile = ImagesPath(folder, item.Media.mid(1));
    } else {
        QuestionPictureShown = true;
        // A picture that cannot be read leaves the frame empty, never the previous picture.
        const QPixmap picture(ImagesPath(folder, item.Media.mid(1)));
        if (picture.isNull())
            Image1->clear();
        else
            Image1->setPixmap(picture);
    }
}

void TForm8::FillReviewRow(const ReviewItem& item, int row, const QString& folder) {
    AutoSizeLabel* label = RowLabel(row);
    const QString number = QStringLiteral("%1) ").arg(row);
    if (!item.OptionIsPicture[row - 1]) {
        label->setText(number + item.OptionText[row - 1]);
        return;
    }
    label->setText(number);
    QLabel* picture = RowPicture(row);
    picture->setAccessibleName(QStringLiteral("Рисунок %1").arg(row)); // for screen readers
    const QPixmap pixmap(OptionPicturePath(folder, item.OptionText[row - 1]));
    if (pixmap.isNull()) {
        // An empty place as high as the row's number keeps the rows apart.
        picture->clear();
        picture->resize(0, label->height());
    } else {
        picture->setPixmap(pixmap);
        picture->resize(pixmap.size());
    }
}

void TForm8::PlaceReviewHeading() {
    // Under the top bar, however high the file's header made it.
    Label2->move(Label2->x(), Bottom(Panel1) + 4);
    if (!Label2->text().isEmpty())
        Label2->show();
    // The question keeps its place under the heading even when it has no text to show.
    Label3->move(Label3->x(), Bottom(Label2) + 3);
    if (!Label3->text().isEmpty())
        Label3->show();
}

void TForm8::PlaceReviewRows() {
    const ReviewItem& item = Review().Data.Item(CurrentItem);
    // Option rows, 4 pixels apart.
    RunningTop = (QuestionPictureShown ? Bottom(Panel3) + 4 : Bottom(Label3) + 5);
    for (int row = 1; row <= kReviewOptions; ++row) {
        AutoSizeLabel* label = RowLabel(row);
        if (label->text().isEmpty())
            continue;
        if (row > 1) {
            RunningTop = (PreviousRowPicture[row - 2] ? Bottom(RowPicture(row - 1))
                                                      : Bottom(RowLabel(row - 1))) +
                         4;
        }
        label->move(label->x(), RunningTop);
        if (item.OptionIsPicture[row - 1]) {
            QLabel* picture = RowPicture(row);
            picture->move(label->x() + label->width() + 2, RunningTop);
            picture->show();
            label->show();
            PreviousRowPicture[row - 1] = true;
            RunningTop = Bottom(picture) + 4;
        } else {
            label->show();
            RunningTop = Bottom(label) + 4;
        }
    }

    // The answer lines below the last row.
    for (AutoSizeLabel* label : {Label9, Label10, Label11}) {
        if (label->text().isEmpty())
            continue;
        label->move(label->x(), RunningTop);
        label->show();
        RunningTop = Bottom(label) + 4;
    }
}

void TForm8::FitReviewPicture(int shrinkBy) {
    const QSize natural = Image1->pixmap().isNull() ? QSize(0, 0) : Image1->pixmap().size();
    const int w = natural.width();
    const int h = natural.height();
    const ReviewItem& item = Review().Data.Item(CurrentItem);

    const int freeWidth = width() - 10;
    int freeHeight = height() - Panel2->height() - Label3->y() - Label3->height() - 6 - shrinkBy;
    for (int row = 1; row <= kReviewOptions; ++row) {
        if (RowLabel(row)->text().isEmpty())
            continue;
        freeHeight -=
            item.OptionIsPicture[row - 1] ? RowPicture(row)->height() : RowLabel(row)->height();
        freeHeight -= 4;
    }
    for (const AutoSizeLabel* label : {Label9, Label10, Label11}) {
        if (!label->text().isEmpty())
            freeHeight -= label->height() + 3;
    }

    const double sx = w < freeWidth ? 1.0 : double(freeWidth) / w;
    const double sy = h < freeHeight ? 1.0 : double(freeHeight) / h;
    const double s = sy >= sx ? sx : sy;
    // With no free height left the factor is zero or below: the picture shrinks to nothing.
    const int pictureWidth = std::max(0, RoundHalfEven(w * s));
    const int pictureHeight = std::max(0, RoundHalfEven(h * s));
    Panel3->setGeometry(kPictureFrameLeft, Bottom(Label3) + 4, pictureWidth + 4, pictureHeight + 4);
    Image1->setGeometry(2, 2, pictureWidth, pictureHeight);
}

void TForm8::LayoutReviewRowsBesideVideo() {
    const ReviewItem& item = Review().Data.Item(CurrentItem);
    const int columnRight = Panel5->x() - 5;
    // The texts broken again within the column, once.
    for (int row = 1; row <= kReviewOptions; ++row) {
        AutoSizeLabel* label = RowLabel(row);
        if (label->text().isEmpty())
            continue;
        label->setText(QString());
        if (item.OptionIsPicture[row - 1]) {
            if (row == 1)
                label->SetWidth(columnRight - label->x());
            label->setText(row == 1 ? QStringLiteral("1)") : QStringLiteral("%1) ").arg(row));
        } else {
            label->SetWidth(columnRight - label->x());
            label->setText(QStringLiteral("%1) ").arg(row) + item.OptionText[row - 1]);
        }
    }
    for (AutoSizeLabel* label : {Label9, Label10, Label11}) {
        const QString text = label->text();
        label->setText(QString());
        label->SetWidth(columnRight - label->x());
        label->setText(text);
    }

    // The column ends above "Старт видео", which stands above the bottom bar: option pictures
    // too large for it are shown smaller, so that the button covers no line of the record.
    const int lowest = Panel2->y() - abcToggleBtn1->height() - 2;
    ShrinkRowPictures(0, columnRight);
    PlaceRowsBesideVideo();
    for (int pass = 0; pass < 3 && Bottom(Label11) + 8 > lowest; ++pass) {
        if (!ShrinkRowPictures(Bottom(Label11) + 8 - lowest, columnRight))
            break;
        PlaceRowsBesideVideo();
    }

    // The button stays above the bottom bar even under a very tall column of text, so that the
    // fragment can always be started.
    abcToggleBtn1->move(abcToggleBtn1->x(), std::min(Bottom(Label11) + 8, lowest));
    abcToggleBtn1->show();
    abcToggleBtn1->raise();
    if (MediaPlayer1 != nullptr)
        MediaPlayer1->SetNotify(false);
}

void TForm8::PlaceRowsBesideVideo() {
    const ReviewItem& item = Review().Data.Item(CurrentItem);
    RunningTop = Bottom(Label3) + 7;
    bool previousWasPicture = false;
    for (int row = 1; row <= kReviewOptions; ++row) {
        AutoSizeLabel* label = RowLabel(row);
        if (label->text().isEmpty())
            continue;
        if (row > 1)
            RunningTop =
                (previousWasPicture ? Bottom(RowPicture(row - 1)) : Bottom(RowLabel(row - 1))) + 7;
        label->move(label->x(), RunningTop);
        label->show();
        previousWasPicture = item.OptionIsPicture[row - 1];
        if (previousWasPicture) {
            QLabel* picture = RowPicture(row);
            picture->move(label->x() + label->width() + 2, RunningTop);
            picture->show();
            RunningTop = Bottom(picture) + 5;
        } else {
            RunningTop = Bottom(label) + 5;
        }
    }
    Label9->move(Label9->x(), RunningTop + 1);
    Label10->move(Label10->x(), Bottom(Label9) + 5);
    Label11->move(Label11->x(), Bottom(Label10) + 5);
    Label9->show();
    Label10->show();
    Label11->show();
}

// --- Opening a data file -------------------------------------------------------------------------

void TForm8::OpenReviewFile() {
    BitBtn3->show();
    BitBtn4->show();
    BitBtn3->setEnabled(false);
    BitBtn4->setEnabled(false);

    // The data files are the exam keeper's: it lists them and hands one over, so that a lab may
    // keep students out of the data folder.
    const QString folder = ProgramFolder();
    KeeperClient keeper(folder);
    QString problem;
    if (!keeper.Start(&problem)) {
        ShowMessage(problem, MessageKind::Error, this);
        return;
    }
    QStringList names;
    for (const QString& name : keeper.DataFileNames())
        names << name + QStringLiteral(".txt");
    const QString path =
        ChooseFileToOpen(this, kDialogTitle, kDialogFilter,
                         DataPath(folder, QStringLiteral("\\otchet\\data1\\")), &names);
    const QString fileName = QFileInfo(path).fileName();
    std::optional<QByteArray> bytes;
    QString refusal;
    if (fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        bytes = keeper.DataFile(fileName.chopped(4), &refusal);
    keeper.Close();
    if (!bytes) {
        ShowMessage(refusal.isEmpty() ? kNoFileMessage : refusal, MessageKind::Information, this);
        return;
    }

    ReviewData data;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    const DataFileResult result = ReadDataFile(&buffer, path, &data);
    if (result.status == DataFileResult::Status::CannotOpen) {
        // What is on screen stays, as after a cancelled choice.
        ShowMessage(result.message, MessageKind::Error, this);
        return;
    }

    CurrentItem = 1;
    m_stillItem = 0;
    Image5->hide();
    Image4->show();
    Panel4->hide();
    Image2->hide();
    ClearReviewArea();
    Label1->clear();
    FitTopBar();
    Review().Data = std::move(data);

    if (!result.usable()) {
        // A refused file leaves nothing to show: the empty screen comes back.
        Panel4->show();
        Image2->show();
        ShowMessage(result.message, MessageKind::Error, this);
        return;
    }

    Label1->setText(ShownHeader(Review().Data.ReviewHeader));
    FitTopBar();
    if (Review().Data.ReviewCount > 1)
        BitBtn3->setEnabled(true);
    ShowReviewItem();
    if (Review().Data.ReviewCount == 0) {
        // Nothing to step through: the decorative picture stays under the top bar.
        Panel4->show();
        Image2->show();
    }
    if (result.status == DataFileResult::Status::Truncated) {
        const int count = Review().Data.ReviewCount;
        const QString shown =
            count == 0 ? QStringLiteral("Ни одного вопроса в нём не записано полностью.")
                       : QStringLiteral("Показаны полностью записанные вопросы: %1.").arg(count);
        ShowMessage(QStringLiteral("Файл результатов записан не до конца.\n%1\n%2")
                        .arg(result.message, shown),
                    MessageKind::Warning, this);
    }
}

// --- Navigation ----------------------------------------------------------------------------------

void TForm8::BitBtn3Click() {
    if (m_playing || CurrentItem >= Review().Data.ReviewCount)
        return;
    Image5->hide();
    Image4->show();
    ++CurrentItem;
    ClearReviewArea();
    ShowReviewItem();
    if (CurrentItem >= Review().Data.ReviewCount)
        BitBtn3->setEnabled(false);
    BitBtn4->setEnabled(CurrentItem >= 2);
}

void TForm8::BitBtn4Click() {
    if (m_playing || CurrentItem <= 1)
        return;
    Image5->hide();
    Image4->show();
    --CurrentItem;
    ClearReviewArea();
    ShowReviewItem();
    if (CurrentItem <= 1)
        BitBtn4->setEnabled(false);
    BitBtn3->setEnabled(true);
}

// --- Closing -------------------------------------------------------------------------------------

void TForm8::BitBtn5Click() {
    if (MediaPlayer1 != nullptr)
        MediaPlayer1->SetNotify(false);
    Review().ReviewFresh = 1;
    m_shell.SetTestingMode(0);
    close();
    m_shell.ShowMenu();
}

void TForm8::closeEvent(QCloseEvent* event) {
    if (m_playing) {
        // Closed by the window system during playback: nothing may stay locked.
        MediaPlayer1->SetNotify(false);
        MediaPlayer1->Stop();
        MediaPlayer1->SetDisplay(nullptr);
        m_playing = false;
        SetStartBarEnabled(true);
    }
    Review().ReviewFresh = 1;
    if (m_shell.TestingMode() == 2) {
        // Closed other than by "Закрыть": the start bar must still lead back to the menu.
        m_shell.SetTestingMode(0);
        m_shell.ShowMenu();
    }
    // The screen frees itself when closed; the screen that opens it next makes a new one.
    m_shell.State().RecreateReviewScreen = 1;
    setAttribute(Qt::WA_DeleteOnClose, true);
    Screen::closeEvent(event);
}

// --- Video ---------------------------------------------------------------------------------------

void TForm8::SetStartBarEnabled(bool enabled) {
    m_shell.SetStartBarEnabled(enabled);
}

void TForm8::abcToggleBtn1Click() {
    if (m_playing)
        return;
    Image4->hide();
    Image5->hide();
    // While the fragment plays the student can neither leave the screen nor step on.
    SetStartBarEnabled(false);
    Panel2->setEnabled(false);
    abcToggleBtn1->setEnabled(false);

    m_playing = true;
    Player()->SetNotify(false);
    MediaPlayer1->SetDisplay(Panel6);
    // A name that leads outside the pictures folder left no file to open.
    const bool opened = !ReviewVideoFile.isEmpty() && MediaPlayer1->Open(ReviewVideoFile);
    MediaPlayer1->SetDisplayRect(QRect(0, 0, 471, 351));
    if (!opened) {
        PlaybackFailed();
        return;
    }
    MediaPlayer1->Play(true);
}

void TForm8::PlayerFinished() {
    if (!m_playing)
        return;
    if (MediaPlayer1->Failed())
        PlaybackFailed();
    else
        MediaPlayer1Notify();
}

void TForm8::EndPlayback() {
    m_playing = false;
    if (abcToggleBtn1->Down())
        abcToggleBtn1->SetDown(false);
    SetStartBarEnabled(true);
    Panel2->setEnabled(true);
    abcToggleBtn1->setEnabled(true);
    abcToggleBtn1->SetColor(kVideoFace);
    if (MediaPlayer1 != nullptr)
        MediaPlayer1->SetNotify(false);
}

void TForm8::MediaPlayer1Notify() {
    const bool wasPlaying = m_playing;
    EndPlayback();
    if (!wasPlaying)
        return;
    // The fragment's last frame stays in the display area, and Image5 keeps it for the next
    // activation of the screen.
    QImage still(kDisplayWidth, kDisplayHeight, QImage::Format_RGB32);
    const QImage frame = MediaPlayer1->LastFrame();
    if (!frame.isNull()) {
        QPainter painter(&still);
        painter.drawImage(QRect(0, 0, 471, 351), frame);
    } else {
        still = Panel6->grab().toImage();
    }
    MediaPlayer1->SetDisplay(nullptr);
    Image5->setPixmap(QPixmap::fromImage(still));
    Image5->show();
    Image5->raise();
    m_stillItem = CurrentItem;
}

MediaPlayer* TForm8::Player() {
    // Made when the first fragment plays: a review without video needs no media pipeline.
    if (MediaPlayer1 == nullptr)
        RenewPlayer();
    return MediaPlayer1;
}

void TForm8::RenewPlayer() {
    if (MediaPlayer1 != nullptr) {
        MediaPlayer1->disconnect(this);
        MediaPlayer1->SetNotify(false);
        MediaPlayer1->SetDisplay(nullptr);
        MediaPlayer1->deleteLater();
    }
    MediaPlayer1 = CreateMediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    connect(MediaPlayer1, &MediaPlayer::Notify, this, &TForm8::PlayerFinished);
}

void TForm8::PlaybackFailed() {
    // A name refused for leading outside the pictures folder is shown as the file gives it.
    const QString file = ReviewVideoFile.isEmpty()
                             ? QStringLiteral("\\images") + Review().Data.Item(CurrentItem).Media
                             : ReviewVideoFile;
    EndPlayback();
    // A player that failed once may refuse every later fragment: the next one gets a new player.
    RenewPlayer();
    Image5->hide();
    Image4->show();
    ShowMessage(QStringLiteral("Видеофрагмент не удалось воспроизвести: %1").arg(file),
                MessageKind::Warning, this);
}

void TForm8::abcToggleBtn1MouseEnter() {
    abcToggleBtn1->SetColor(kVideoHover);
}

void TForm8::abcToggleBtn1MouseLeave() {
    abcToggleBtn1->SetColor(kVideoFace);
}
