// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Credits screen.
#include "materials/test3.h"

#include "platform/fonts.h"
#include "platform/named_colours.h"
#include "platform/rounding.h"
#include "platform/screen.h"
#include "widgets/background.h"
#include "widgets/frame.h"
#include "widgets/multiline_label.h"
#include "widgets/stored_picture.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

QPointer<TForm3> Form3;

namespace {

constexpr QColor kFormColour = Colours::kPaleBlue;
constexpr QColor kPictureColour = Colours::kDisplayArea;
constexpr QColor kHighlight = Colours::kWhite;
constexpr QColor kShadow = Colours::kGrey;
using Colours::kNavy;

constexpr int kPictureWidth = 81;
constexpr int kPictureHeight = 97;
constexpr int kCaptionWidth = 200;
constexpr int kLineStep = 14;

// A panel with an outer and an inner bevel and a border between them, as the credits draw
// their panels.
class BevelPanel : public QFrame {
public:
    enum class Bevel { Lowered, Raised };

    BevelPanel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth, int borderWidth,
               const QColor& colour)
        : QFrame(parent), m_outer(outer), m_inner(inner), m_bevelWidth(bevelWidth),
          m_borderWidth(borderWidth) {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, colour);
        setPalette(pal);
        const int inset = 2 * bevelWidth + borderWidth;
        setContentsMargins(inset, inset, inset, inset);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QRect ring = rect();
        auto drawBevel = [&](Bevel bevel) {
            const QColor topLeft = bevel == Bevel::Raised ? kHighlight : kShadow;
            const QColor bottomRight = bevel == Bevel::Raised ? kShadow : kHighlight;
            for (int i = 0; i < m_bevelWidth; ++i) {
                painter.setPen(topLeft);
                painter.drawLine(ring.topLeft(), ring.topRight());
                painter.drawLine(ring.topLeft(), ring.bottomLeft());
                painter.setPen(bottomRight);
                painter.drawLine(ring.bottomLeft(), ring.bottomRight());
                painter.drawLine(ring.topRight(), ring.bottomRight());
                ring.adjust(1, 1, -1, -1);
            }
        };
        drawBevel(m_outer);
        ring.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
        drawBevel(m_inner);
    }

private:
    Bevel m_outer;
    Bevel m_inner;
    int m_bevelWidth;
    int m_borderWidth;
};

struct Person {
    int pictureLeft;
    int pictureTop;
    const char* picture;
    QStringList name;     // two lines
    QStringList position; // none, or two to four lines
    int nameTop;
    int positionTop;
};

QList<Person> CreditedPeople() {
    return {
        {88,
         88,
         ":/pictures/credits_1.jpg",
         {QStringLiteral("Воронцова Елена"), QStringLiteral("Андреевна")},
         {QStringLiteral("доцент кафедры"), QStringLiteral("философии и социологии,"),
          QStringLiteral("кандидат философских"), QStringLiteral("наук")},
         201,
         240},
        {360,
         88,
         ":/pictures/credits_2.jpg",
         {QStringLiteral("Белоусов Кирилл"), QStringLiteral("Дмитриевич")},
         {QStringLiteral("старший преподаватель"), QStringLiteral("кафедры истории"),
          QStringLiteral("и политологии")},
         201,
         240},
        {640,
         88,
         ":/pictures/credits_3.jpg",
         {QStringLiteral("Шаповалова Ирина"), QStringLiteral("Викторовна")},
         {QStringLiteral("заведующая кафедрой"), QStringLiteral("социально-гуманитарных"),
          QStringLiteral("дисциплин, профессор")},
         201,
         240},
        {219,
         362,
         ":/pictures/credits_4.jpg",
         {QStringLiteral("Гладышев Роман"), QStringLiteral("Игоревич")},
         {},
         475,
         0},
    };
}

TabcMultilineLabel* MakeHeading(QWidget* parent, const char* name, const QString& text,
                                const QRect& place) {
    auto* label = Named(new TabcMultilineLabel(parent), name);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    label->SetTransparent(true);
    label->setFont(PixelFont(QStringLiteral("Arial"), 15, true));
    QPalette labelPal = label->palette();
    labelPal.setColor(QPalette::WindowText, kNavy);
    label->setPalette(labelPal);
    label->SetLines({text});
    return label;
}

} // namespace

TForm3::TForm3(ScreenShell& shell, QWidget* parent) : Screen(parent), m_shell(shell) {
    SetUpWindow();
    BuildBackground();
    BuildHeadings();
    BuildPeople();
    BuildCloseButton();
    resize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    CentreOnDisplay();
}

void TForm3::SetUpWindow() {
    setObjectName(QStringLiteral("Form3"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Об авторах"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kFormColour);
    setPalette(pal);
}

void TForm3::BuildBackground() {
    Panel1 = Named(new BevelPanel(this, BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Lowered, 2,
                                  4, kFormColour),
                   "Panel1");
    Panel1->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);

    abcBackground1 = Named(new TabcBackground(Panel1), "abcBackground1");
    abcBackground1->setGeometry(Panel1->contentsRect());
    abcBackground1->SetColorFrom(QColor(0xFE, 0xFF, 0xF4));
    abcBackground1->SetColorTo(QColor(0xFF, 0x80, 0x00));
    abcBackground1->SetDrawDirection(DrawDirection::ddVertical);

    abcFrame1 = Named(new TabcFrame(Panel1), "abcFrame1");
    abcFrame1->setGeometry(288, 24, 257, 33);
    abcFrame1->SetBevelInner(TabcFrame::Bevel::Raised);
    abcFrame1->SetBorderStyle(TabcFrame::BorderStyle::Single);
    abcFrame1->SetBorderWidth(1);
    abcFrame1->SetCornerWidth(5);
}

void TForm3::BuildHeadings() {
    abcMultilineLabel1 = MakeHeading(Panel1, "abcMultilineLabel1", QStringLiteral("Разработчики"),
                                     QRect(353, 29, 120, 20));
    abcMultilineLabel2 =
        MakeHeading(Panel1, "abcMultilineLabel2", QStringLiteral("Технический редактор :"),
                    QRect(161, 337, 203, 20));
}

void TForm3::BuildPeople() {
    // Each person's picture, then the lines of the name and the position under it.
    for (const Person& person : CreditedPeople()) {
        AddPicturePanel(person.pictureLeft, person.pictureTop, QString::fromLatin1(person.picture));
        const int captionLeft = person.pictureLeft + HalfOf(89 - kCaptionWidth);
        AddCaptionLines(person.name, captionLeft, person.nameTop, true);
        AddCaptionLines(person.position, captionLeft, person.positionTop, false);
    }
}

void TForm3::AddPicturePanel(int left, int top, const QString& resource) {
    // The panels are numbered from Panel2, their pictures from Image1.
    auto* panel = new BevelPanel(Panel1, BevelPanel::Bevel::Raised, BevelPanel::Bevel::Lowered, 2,
                                 0, kPictureColour);
    panel->setObjectName(QStringLiteral("Panel%1").arg(PicturePanels.size() + 2));
    panel->setGeometry(left, top, 89, 105);
    auto* picture = new StoredPicture(resource, panel);
    picture->setObjectName(QStringLiteral("Image%1").arg(Pictures.size() + 1));
    picture->setGeometry(panel->contentsRect().x(), panel->contentsRect().y(), kPictureWidth,
                         kPictureHeight);
    PicturePanels.append(panel);
    Pictures.append(picture);
}

void TForm3::AddCaptionLines(const QStringList& lines, int left, int top, bool bold) {
    // The caption lines of all the people are numbered from Label1 on.
    for (int i = 0; i < lines.size(); ++i) {
        auto* label = new QLabel(lines.at(i), Panel1);
        label->setObjectName(QStringLiteral("Label%1").arg(Captions.size() + 1));
        label->setGeometry(left, top + i * kLineStep, kCaptionWidth, kLineStep);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFont(PixelFont(QStringLiteral("Arial"), bold ? 13 : 12, bold));
        QPalette labelPal = label->palette();
        labelPal.setColor(QPalette::WindowText, bold ? kNavy : Qt::black);
        label->setPalette(labelPal);
        Captions.append(label);
    }
}

void TForm3::BuildCloseButton() {
    BitBtn1 = Named(new QPushButton(QStringLiteral("Закрыть"), Panel1), "BitBtn1");
    BitBtn1->setGeometry(616, 464, 107, 25);
    BitBtn1->setCursor(Qt::PointingHandCursor);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    // The screen's one button: Escape and Return close it wherever the focus is.
    for (const int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, BitBtn1,
                &QPushButton::click);
}

void TForm3::FormActivate() {
    // The style's icon is read on first showing: reading it has Qt load every image plug-in.
    if (BitBtn1->icon().isNull())
        BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    resize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    Panel1->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);
    CentreOnDisplay();
    BitBtn1->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm3::BitBtn1Click() {
    close(); // ends the modal display
    m_shell.ShowMenu();
}

void TForm3::closeEvent(QCloseEvent* event) {
    Screen::closeEvent(event);
    // Closed by the window system: as "Закрыть", the menu comes back once the modal display
    // has ended.
    if (event->spontaneous())
        QTimer::singleShot(0, this, [this] { m_shell.ShowMenu(); });
}
