// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Administration screen of the test settings.
#include "tests/test4.h"

#include "platform/fonts.h"
#include "platform/named_colours.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextLayout>

QPointer<TForm4> Form4;

namespace {
constexpr QColor kBackground = Colours::kPaleBlue;
const QColor kInfoPanel(0xC6, 0xE3, 0xFF);
const QColor kInfoText(0x80, 0x40, 0x00);
using Colours::kBlue;
using Colours::kRed;
using Colours::kNavy;

constexpr int kInfoLeft = 6;
constexpr int kInfoWidth = 517;
constexpr int kInfoGap = 6;
constexpr int kFieldLeft = 478;
constexpr int kFieldWidth = 41;

const QString kTotalLabel = QStringLiteral("Укажите общее количество вопросов в тесте");
const QString kCountLabel =
    QStringLiteral("Укажите количество вопросов на которые необходимо ответить");

QFont InfoFont() {
    return PixelFont(QStringLiteral("MS Sans Serif"), 11);
}

QFont HeadingFont() {
    return PixelFont(QStringLiteral("MS Sans Serif"), 13, true);
}

QFont FieldLabelFont() {
    return PixelFont(QStringLiteral("MS Sans Serif"), 13);
}

void SetColours(QWidget* widget, const QColor& text, const QColor* window = nullptr) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    if (window != nullptr) {
        pal.setColor(QPalette::Window, *window);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(pal);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  const QFont& font, const QColor& colour) {
    auto* label = Named(new QLabel(text, parent), name);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetColours(label, colour);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* MakeField(QWidget* parent, const char* name, const QString& text, int top) {
    auto* field = Named(new QLineEdit(text, parent), name);
    field->setGeometry(kFieldLeft, top, kFieldWidth, 21);
    return field;
}

/// Lays `content` out word-wrapped in the panel's width as explicit lines of `text`, then puts
/// `continuation` right after the end of the last line (or at the start of a line of its own
/// when it does not fit there). Returns the bottom of the two.
int WrapWithContinuation(QLabel* text, QLabel* continuation, const QString& content, int top) {
    const QFont font = text->font();
    QTextLayout layout(content, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(kInfoWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
        lines.append(content.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();

    text->setText(lines.join(QLatin1Char('\n')));
    text->setGeometry(kInfoLeft, top, kInfoWidth, text->sizeHint().height());

    const QTextLine last = layout.lineAt(layout.lineCount() - 1);
    // The last line's own blanks count: the continuation follows them.
    const QFontMetricsF metrics(font);
    const qreal continuationWidth = metrics.horizontalAdvance(continuation->text());
    QPointF at(metrics.horizontalAdvance(lines.last()), last.y());
    if (at.x() + continuationWidth > kInfoWidth)
        at = QPointF(0, y);
    continuation->move(kInfoLeft + qRound(at.x()), top + qRound(at.y()));
    continuation->adjustSize();
    return std::max(text->geometry().bottom(), continuation->geometry().bottom()) + 1;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setGeometry(left, 309, 97, 30);
    button->setFont(HeadingFont());
    SetColours(button, kNavy);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TForm4::TForm4(QWidget* parent) : Screen(parent) {
    SetUpWindow();
    BuildInfoPanel();
    BuildTrainingFields();
    BuildControlFields();
    BuildButtons();
}

void TForm4::SetUpWindow() {
    setObjectName(QStringLiteral("Form4"));
    // A fixed border with a title and no title-bar buttons. The menu that opens this screen
    // stays on top of other windows, so this one does too.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QString(66, QLatin1Char(' ')) + QStringLiteral("Администрирование"));
    SetColours(this, Qt::black, &kBackground);
    setFixedSize(kClientWidth, kClientHeight);
}

// The panel of fixed texts that explain the settings, one below the other.
void TForm4::BuildInfoPanel() {
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setGeometry(4, 7, 529, 138);
    SetColours(Panel1, kInfoText, &kInfoPanel);

    const QFont infoFont = InfoFont();
    Label1 = MakeLabel(Panel1, "Label1", QString(), kInfoLeft, 0, infoFont, kInfoText);
    Label2 =
        MakeLabel(Panel1, "Label2", QStringLiteral(" вопросы - 900 с."), 0, 0, infoFont, kInfoText);
    Label3 = MakeLabel(Panel1, "Label3", QString(), kInfoLeft, 0, infoFont, kInfoText);
    Label4 = MakeLabel(Panel1, "Label4", QStringLiteral("на каждый вопрос - 60 с."), 0, 0, infoFont,
                       kInfoText);
    int top = 5;
    top = WrapWithContinuation(
              Label1, Label2,
              QStringLiteral("Программа в тренировочном варианте выводит вопросы из базы данных  "
                             "файла с расширением  \"db\". Общее количество вопросов определено "
                             "разделом учебного пособия.  Из них случайным образом будет "
                             "предложено 10 (по-умолчанию), общее время ответа на все"),
              top) +
          kInfoGap;
    top = WrapWithContinuation(
              Label3, Label4,
              QStringLiteral("При работе программы в режиме контроля используются те же вопросы "
                             "из базы данных  файла с расширением  \"db\". Общее количество "
                             "вопросов определено разделом учебного пособия.  Из них случайным "
                             "образом будет предложено 10 (по-умолчанию), время ответа "),
              top) +
          kInfoGap;
    Label5 = MakeLabel(Panel1, "Label5",
                       QStringLiteral("При просмотре видео и чтении учебника счетчик времени "
                                      "останавливается."),
                       kInfoLeft, top, infoFont, kInfoText);
    top = Label5->geometry().bottom() + 1 + kInfoGap;
    Label6 = MakeLabel(Panel1, "Label6",
                       QStringLiteral("Для изменения указанных параметров введите новые значения "
                                      "в соответствующие поля."),
                       kInfoLeft, top, infoFont, kBlue);
}

// The hidden total, the question count and the time for the whole training test.
void TForm4::BuildTrainingFields() {
    const QFont headingFont = HeadingFont();
    const QFont labelFont = FieldLabelFont();
    Label13 = MakeLabel(this, "Label13", kTotalLabel, 24, 152, labelFont, kBlue);
    Edit1 = MakeField(this, "Edit1", QStringLiteral("209"), 148);
    Label13->hide();
    Edit1->hide();
    Label7 = MakeLabel(this, "Label7", QStringLiteral("Тренировка"), 10, 152, headingFont, kRed);
    Label9 = MakeLabel(this, "Label9", kCountLabel, 24, 175, labelFont, kBlue);
    Edit2 = MakeField(this, "Edit2", QStringLiteral("10"), 171);
    Label10 = MakeLabel(this, "Label10", QStringLiteral("Укажите время для ответа на все вопросы"),
                        24, 200, labelFont, kBlue);
    Edit3 = MakeField(this, "Edit3", QStringLiteral("900"), 196);
}

// The hidden total, the question count and the time for each question of the control test.
void TForm4::BuildControlFields() {
    const QFont headingFont = HeadingFont();
    const QFont labelFont = FieldLabelFont();
    Label14 = MakeLabel(this, "Label14", kTotalLabel, 24, 226, labelFont, kBlue);
    Edit4 = MakeField(this, "Edit4", QStringLiteral("209"), 222);
    Label14->hide();
    Edit4->hide();
    Label8 = MakeLabel(this, "Label8", QStringLiteral("Контроль"), 10, 226, headingFont, kRed);
    Label11 = MakeLabel(this, "Label11", kCountLabel, 24, 249, labelFont, kBlue);
    Edit5 = MakeField(this, "Edit5", QStringLiteral("10"), 245);
    Label12 = MakeLabel(this, "Label12", QStringLiteral("Укажите время на один вопрос"), 24, 274,
                        labelFont, kBlue);
    Edit6 = MakeField(this, "Edit6", QStringLiteral("60"), 270);
}

void TForm4::BuildButtons() {
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("Установить"), 322);
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Закрыть"), 426);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm4::BitBtn2Click);
    // Escape closes the screen as "Закрыть" does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, BitBtn2,
            &QPushButton::click);
}

void TForm4::FormActivate() {
    SetClientSize(kClientWidth, kClientHeight);
    CentreOnDisplay();
}

// Both buttons only close the screen: the typed texts stay in the fields, and a test screen
// converts them when it prepares its next test.
void TForm4::BitBtn1Click() {
    close();
}

void TForm4::BitBtn2Click() {
    close();
}

SettingsReading TForm4::ReadTrainingSettings(int fileQuestionCount) const {
    return ReadTestSettings(Edit2->text(), Edit3->text(), fileQuestionCount);
}

SettingsReading TForm4::ReadControlSettings(int fileQuestionCount) const {
    return ReadTestSettings(Edit5->text(), Edit6->text(), fileQuestionCount);
}
