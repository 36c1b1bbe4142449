// Credits screen.
#include "materials/test3.h"

#include "app/test1.h"
#include "platform/fonts.h"
#include "platform/rounding.h"
#include "platform/screen.h"
#include "widgets/stored_picture.h"
#include "widgets/background.h"
#include "widgets/frame.h"
#include "widgets/multiline_label.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

QPointer<TForm3> Form3;

namespace {

const QColor kFormColour(0xDD, 0xEF, 0xFF);
const QColor kPictureColour(0x85, 0xC4, 0xFC);
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kNavy(0x00, 0x00, 0x80);

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

} // namespace

TForm3::TForm3(QWidget* parent) : Screen(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Об авторах"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kFormColour);
    setPalette(pal);

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

    auto makeHeading = [this](const char* name, const QString& text, const QRect& place) {
        auto* label = Named(new TabcMultilineLabel(Panel1), name);
        label->setGeometry(place);
        label->setAlignment(Qt::AlignCenter);
        label->SetTransparent(true);
        label->setFont(PixelFont(QStringLiteral("Arial"), 15, true));
        QPalette labelPal = label->palette();
        labelPal.setColor(QPalette::WindowText, kNavy);
        label->setPalette(labelPal);
        label->SetLines({text});
        return label;
    };
    abcMultilineLabel1 =
        makeHeading("abcMultilineLabel1", QStringLiteral("Разработчики"), QRect(353, 29, 120, 20));
    abcMultilineLabel2 = makeHeading("abcMultilineLabel2", QStringLiteral("Технический редактор :"),
                                     QRect(161, 337, 203, 20));

    const QList<Person> people = {
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

    int panelNumber = 2;
    int imageNumber = 1;
    int labelNumber = 1;
    for (const Person& person : people) {
        auto* panel = new BevelPanel(Panel1, BevelPanel::Bevel::Raised, BevelPanel::Bevel::Lowered,
                                     2, 0, kPictureColour);
        panel->setObjectName(QStringLiteral("Panel%1").arg(panelNumber++));
        panel->setGeometry(person.pictureLeft, person.pictureTop, 89, 105);
        auto* picture = new StoredPicture(QString::fromLatin1(person.picture), panel);
        picture->setObjectName(QStringLiteral("Image%1").arg(imageNumber++));
        picture->setGeometry(panel->contentsRect().x(), panel->contentsRect().y(), kPictureWidth,
                             kPictureHeight);
        PicturePanels.append(panel);
        Pictures.append(picture);

        const int captionLeft = person.pictureLeft + HalfOf(89 - kCaptionWidth);
        auto addLine = [&](const QString& text, int top, bool bold) {
            auto* label = new QLabel(text, Panel1);
            label->setObjectName(QStringLiteral("Label%1").arg(labelNumber++));
            label->setGeometry(captionLeft, top, kCaptionWidth, kLineStep);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setFont(PixelFont(QStringLiteral("Arial"), bold ? 13 : 12, bold));
            QPalette labelPal = label->palette();
            labelPal.setColor(QPalette::WindowText, bold ? kNavy : Qt::black);
            label->setPalette(labelPal);
            Captions.append(label);
        };
        for (int i = 0; i < person.name.size(); ++i)
            addLine(person.name.at(i), person.nameTop + i * kLineStep, true);
        for (int i = 0; i < person.position.size(); ++i)
            addLine(person.position.at(i), person.positionTop + i * kLineStep, false);
    }

    BitBtn1 = Named(new QPushButton(QStringLiteral("Закрыть"), Panel1), "BitBtn1");
    BitBtn1->setGeometry(616, 464, 107, 25);
    BitBtn1->setCursor(Qt::PointingHandCursor);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);

    resize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    CentreOnDisplay();
}

void TForm3::FormActivate() {
    resize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    Panel1->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);
    CentreOnDisplay();
}

void TForm3::BitBtn1Click() {
    close(); // ends the modal display
    if (form12)
        form12->ShowScreen();
}

void TForm3::closeEvent(QCloseEvent* event) {
    Screen::closeEvent(event);
    // Closed by the window system: as "Закрыть", the menu comes back once the modal display
    // has ended.
    if (event->spontaneous() && form12)
        QTimer::singleShot(0, form12, [] {
            if (form12)
                form12->ShowScreen();
        });
}
