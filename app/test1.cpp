// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Registration and testing menu.
#include "app/test1.h"

#include "app/program_shell.h"
#include "app/startup.h"
#include "app/test.h"
#include "app/test5.h"
#include "keeper/keeper_client.h"
#include "materials/test3.h"
#include "platform/colours.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/named_colours.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "review/test8.h"
#include "tests/candidate_name.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test6.h"
#include "widgets/accessible_faces.h"
#include "widgets/background.h"
#include "widgets/stored_picture.h"
#include "widgets/toggle_button.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <algorithm>

QPointer<Tform12> form12;

const QString Tform12::kQualificationPrompt = QStringLiteral("Укажите квалификацию");
const QString Tform12::kTopicPrompt =
    QStringLiteral("     У к а ж и т е      н а з в а н и е      т е м ы");
const QString Tform12::kFinalTopic = QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ");
const QString Tform12::kIncompleteMessage =
    QStringLiteral("Заполните все поля формы и укажите тему!");

namespace {
/// A key that types a character (a letter, a digit, a blank, a sign), not one that moves or acts.
bool IsTypedText(const QKeyEvent* key) {
    const QString text = key->text();
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); }) &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

using Colours::kBlue;
using Colours::kGreen;
using Colours::kNavy;
const QColor kPanelColour(0x4D, 0xCF, 0xFB);
const QColor kFieldColour(0xCA, 0xF4, 0xFF);
const QColor kButtonFace(0x56, 0xE6, 0x00);
constexpr QColor kButtonHover = Colours::kHover;
constexpr int kPanel11Width = 630;
constexpr int kPanel11Height = 368;
int g_nextGroup = 1201;

void SetFieldColour(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Base, kFieldColour);
    pal.setColor(QPalette::Button, kFieldColour);
    widget->setPalette(pal);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font, const QColor& colour,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    auto* label = Named(new QLabel(text, parent), name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    SetTextColour(label, colour);
    return label;
}

QLabel* MakePicturePlace(QWidget* parent, const char* name, int left, int top) {
    // An empty, transparent place for a picture of the course.
    auto* place = Named(new QLabel(parent), name);
    place->setGeometry(left, top, 65, 65);
    place->setAttribute(Qt::WA_TranslucentBackground, true);
    return place;
}

StoredPicture* MakePicture(QWidget* parent, const char* name, const QString& resource) {
    return Named(new StoredPicture(resource, parent), name);
}

QFrame* MakeRaisedPanel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* panel = Named(new QFrame(parent), name);
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    SetFillColour(panel, kPanelColour);
    return panel;
}
} // namespace

Tform12::Tform12(QWidget* parent) : Screen(parent) {
    SetUpWindow();
    BuildBackground();
    BuildTopRow();
    BuildTitlePanel();
    BuildRegistrationPanel();
    BuildEntryPanel();
    BuildBottomRow();
    ConnectButtons();
    // At its place from the start, so that the first showing lays out and reads its pictures
    // once, at the size they are shown at.
    PlaceWindow();
}

void Tform12::SetUpWindow() {
    setObjectName(QStringLiteral("form12"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Регистрация и выбор режима тестирования"));
    SetFillColour(this, kNavy);
}

void Tform12::BuildBackground() {
    StoredPicture* background =
        MakePicture(this, "Image1", QStringLiteral(":/pictures/menu_background.jpg"));
    Image1 = background;

    Panel10 = Named(new QFrame(this), "Panel10");
    SetFillColour(Panel10, kNavy);     // the single navy border shows around the gradient
    background->SetCoveredBy(Panel10); // only the picture's edge shows
    abcBackground1 = Named(new TabcBackground(Panel10), "abcBackground1");
    abcBackground1->SetColorFrom(QColor(0xDF, 0xDF, 0xFF));
    abcBackground1->SetColorTo(kBlue);
    abcBackground1->SetDrawDirection(DrawDirection::ddCenter);
    abcBackground1->SetDrawBuffered(true);

    Panel11 = Named(new QFrame(Panel10), "Panel11");
    Panel11->resize(kPanel11Width, kPanel11Height);
    StoredPicture* panelPicture =
        MakePicture(Panel11, "Image2", QStringLiteral(":/pictures/menu_panel.jpg"));
    Image2 = panelPicture;
    Image2->setGeometry(0, 0, kPanel11Width, kPanel11Height);

    Panel1 = Named(new QFrame(Panel11), "Panel1");
    Panel1->setGeometry(11, 10, 612, 350);
    SetFillColour(Panel1, kNavy);
    panelPicture->SetCoveredBy(Panel1); // a margin of it shows around the controls' panel
    abcBackground2 = Named(new TabcBackground(Panel1), "abcBackground2");
    abcBackground2->setGeometry(0, 0, 612, 350);
    abcBackground2->SetColorFrom(kNavy);
    abcBackground2->SetColorTo(kNavy);
    abcBackground2->SetDrawDirection(DrawDirection::ddLRDiagonal);
    abcBackground2->SetDrawBuffered(true);
}

void Tform12::BuildTopRow() {
    abcToggleBtn1 = MakeButton("abcToggleBtn1", QStringLiteral("&Администрирование..."), 8, 5, 209);
    abcToggleBtn2 = MakeButton("abcToggleBtn2", QStringLiteral("О&б авторах..."), 224, 5, 193);
    abcToggleBtn3 = MakeButton("abcToggleBtn3", QStringLiteral("&Выход"), 424, 5, 182);
}

void Tform12::BuildTitlePanel() {
    Panel2 = MakeRaisedPanel(Panel1, "Panel2", QRect(3, 34, 606, 193));
    const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
    const QFont institution = PixelFont(QStringLiteral("Arial"), 15, true);
    Label1 = MakeLabel(Panel2, "Label1", QStringLiteral("Приозёрский государственный университет"),
                       QRect(78, 8, 450, 19), institution, kNavy, centred);
    Label2 = MakeLabel(Panel2, "Label2", QStringLiteral("физической культуры, спорта и туризма"),
                       QRect(78, 27, 450, 19), institution, kNavy, centred);
    Label3 =
        MakeLabel(Panel2, "Label3", QStringLiteral("Кафедра социально-гуманитарных дисциплин"),
                  QRect(78, 52, 450, 18), PixelFont(QStringLiteral("Arial"), 14), kNavy, centred);
    Label4 = MakeLabel(Panel2, "Label4", QStringLiteral("Компьютерное тестирование"),
                       QRect(3, 82, 600, 44), PixelFont(QStringLiteral("Arial"), 37, true), kBlue,
                       centred);
    Label5 = MakeLabel(Panel2, "Label5", QStringLiteral("«Социальная философия и геополитика»"),
                       QRect(3, 128, 600, 30), PixelFont(QStringLiteral("Arial"), 24, true), kBlue,
                       centred);
    ComboBox3 = Named(new QComboBox(Panel2), "ComboBox3");
    ComboBox3->setGeometry(150, 164, 305, 21);
    ComboBox3->addItem(kFinalTopic);
    ComboBox3->setCurrentIndex(0);
    ComboBox3->hide();
    Image3 = MakePicturePlace(Panel2, "Image3", 6, 6);
    Image4 = MakePicturePlace(Panel2, "Image4", 535, 6);
    Image5 = MakePicturePlace(Panel2, "Image5", 6, 122);
    Image6 = MakePicturePlace(Panel2, "Image6", 535, 122);
}

void Tform12::BuildRegistrationPanel() {
    Panel3 = MakeRaisedPanel(Panel1, "Panel3", QRect(4, 229, 605, 89));
    const QFont labelFont = PixelFont(QStringLiteral("MS Sans Serif"), 13);
    Label6 = MakeLabel(Panel3, "Label6", QStringLiteral("Фамилия И. О.:"), QRect(8, 16, 94, 16),
                       labelFont, kBlue);
    Edit1 = Named(new QLineEdit(Panel3), "Edit1");
    Edit1->setGeometry(104, 8, 305, 24);
    Label7 = MakeLabel(Panel3, "Label7", QStringLiteral("Группа:"), QRect(422, 16, 50, 16),
                       labelFont, kBlue);
    Edit5 = Named(new QLineEdit(Panel3), "Edit5");
    Edit5->setGeometry(473, 8, 121, 24);
    Label8 = MakeLabel(Panel3, "Label8", QStringLiteral("Специализация:"), QRect(13, 48, 114, 16),
                       labelFont, kBlue);
    BuildSpecializationField();
    Label9 = MakeLabel(Panel3, "Label9", QStringLiteral("Квалификация:"), QRect(323, 48, 106, 16),
                       labelFont, kBlue);
    BuildQualificationField();
    // Each field is named by its label for screen readers.
    const std::pair<QLabel*, QWidget*> labelled[] = {
        {Label6, Edit1}, {Label7, Edit5}, {Label8, ComboBox1}, {Label9, ComboBox2}};
    for (const auto& [label, field] : labelled) {
        label->setBuddy(field);
        QString name = label->text();
        if (name.endsWith(QLatin1Char(':')))
            name.chop(1);
        field->setAccessibleName(name);
    }
    ComboBox1->lineEdit()->setAccessibleName(ComboBox1->accessibleName());
    const QFont fieldFont = PixelFont(QStringLiteral("MS Sans Serif"), 11);
    for (QWidget* field : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit5),
                           static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(ComboBox2)}) {
        field->setFont(fieldFont);
        SetFieldColour(field);
    }
}

void Tform12::BuildSpecializationField() {
    ComboBox1 = Named(new QComboBox(Panel3), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(128, 48, 169, 19);
    // A combo box without list entries serves as an entry field: no drop-down arrow.
    ComboBox1->setStyleSheet(QStringLiteral(
        "QComboBox#ComboBox1 { background: #CAF4FF; border: 1px solid #7A7A7A; padding: 0 2px;"
        " font: 11px \"MS Sans Serif\"; }"
        "QComboBox#ComboBox1::drop-down { width: 0px; border: none; }"));
}

void Tform12::BuildQualificationField() {
    // A choice from the list only: typing cannot leave anything but one of the entries.
    ComboBox2 = Named(new QComboBox(Panel3), "ComboBox2");
    ComboBox2->setEditable(false);
    ComboBox2->addItems({kQualificationPrompt, QStringLiteral("ЗМС"), QStringLiteral("МСМК"),
                         QStringLiteral("МС"), QStringLiteral("КМС"), QStringLiteral("I разряд"),
                         QStringLiteral("II разряд"), QStringLiteral("III разряд"),
                         QStringLiteral("без разряда")});
    ComboBox2->setMaxVisibleItems(9);
    ComboBox2->setCurrentIndex(0);
    ComboBox2->setGeometry(431, 45, 156, 22);
    // A flat face in the fields' colour, with the drop-down arrow of the style.
    ComboBox2->setStyleSheet(QStringLiteral(
        "QComboBox#ComboBox2 { background: #CAF4FF; border: 1px solid #7A7A7A; padding: 0 2px; }"));
    // Typing, on the box or in its open list, never chooses an entry: it brings the prompt back.
    ComboBox2->installEventFilter(this);
    ComboBox2->view()->installEventFilter(this);
}

void Tform12::BuildEntryPanel() {
    // Entry panel over the registration panel.
    Panel5 =
        Named(new PressableLabel(QStringLiteral("   Вход для тестирования ..."), Panel1), "Panel5");
    Panel5->setGeometry(Panel3->geometry());
    Panel5->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel5->setLineWidth(1);
    Panel5->setAlignment(Qt::AlignCenter);
    Panel5->setFont(PixelFont(QStringLiteral("Arial"), 19, true));
    SetFillColour(Panel5, kPanelColour);
    SetTextColour(Panel5, kGreen);
    Panel5->setCursor(Qt::PointingHandCursor);
    // Tab reaches it; Space or Return opens it as a click does (eventFilter).
    Panel5->installEventFilter(this);
    // The covered fields take no keyboard input until the entry panel is clicked.
    Panel3->setEnabled(false);
}

void Tform12::BuildBottomRow() {
    abcToggleBtn4 = MakeButton("abcToggleBtn4", QStringLiteral("Т&ренировка..."), 3, 320, 201);
    abcToggleBtn5 = MakeButton("abcToggleBtn5", QStringLiteral("&Контроль..."), 209, 320, 193);
    abcToggleBtn6 =
        MakeButton("abcToggleBtn6", QStringLiteral("&Просмотр ответов..."), 407, 320, 201);
    abcToggleBtn4->setEnabled(false);
    abcToggleBtn5->setEnabled(false);
}

void Tform12::ConnectButtons() {
    connect(abcToggleBtn1, &TabcToggleBtn::Click, this, &Tform12::abcToggleBtn1Click);
    connect(abcToggleBtn2, &TabcToggleBtn::Click, this, &Tform12::abcToggleBtn2Click);
    connect(abcToggleBtn3, &TabcToggleBtn::Click, this, &Tform12::abcToggleBtn3Click);
    connect(abcToggleBtn4, &TabcToggleBtn::Click, this, &Tform12::abcToggleBtn4Click);
    connect(abcToggleBtn5, &TabcToggleBtn::Click, this, &Tform12::abcToggleBtn5Click);
    connect(abcToggleBtn6, &TabcToggleBtn::Click, this, &Tform12::abcToggleBtn6Click);
}

TabcToggleBtn* Tform12::MakeButton(const char* name, const QString& caption, int left, int top,
                                   int width) {
    auto* button = Named(new TabcToggleBtn(Panel1), name);
    button->SetCaption(caption);
    button->setGeometry(left, top, width, 25);
    button->SetColor(kButtonFace);
    button->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
    SetTextColour(button, kNavy);
    button->setCursor(Qt::PointingHandCursor);
    button->SetGroupIndex(g_nextGroup++);
    button->SetAllowAllUp(true);
    connect(button, &TabcToggleBtn::MouseEnter, this, &Tform12::ButtonMouseEnter);
    connect(button, &TabcToggleBtn::MouseLeave, this, &Tform12::ButtonMouseLeave);
    return button;
}

QString Tform12::FullName() const {
    return Edit1->text();
}
QString Tform12::Group() const {
    return Edit5->text();
}
QString Tform12::Specialization() const {
    return ComboBox1->currentText();
}
QString Tform12::Qualification() const {
    return ComboBox2->currentText();
}
QString Tform12::Topic() const {
    return ComboBox3->currentText();
}

bool Tform12::RegistrationComplete() const {
    // Texts are taken as typed: a name of blanks is not empty.
    return !FullName().isEmpty() && !Group().isEmpty() && !Specialization().isEmpty() &&
           Qualification() != kQualificationPrompt && Topic() != kTopicPrompt;
}

void Tform12::DisableControlButton() {
    abcToggleBtn5->setEnabled(false);
}

void Tform12::resizeEvent(QResizeEvent* event) {
    // The centre panel's place first, so that the background picture is cut around it once.
    Panel10->setGeometry(18, 18, width() - 38, height() - 38);
    Image1->setGeometry(rect());
    Screen::resizeEvent(event);
}

void Tform12::PlaceWindow() {
    const QSize display = DisplaySize();
    const QSize size = display.height() < 624 ? QSize(781, 530)
                                              : QSize(display.width() - 100, display.height() - 70);
    SetClientSize(size.width(), size.height());
    move(CentredOffset(display.width(), size.width()),
         CentredOffset(display.height(), size.height()));

    // Panel10 follows the size (resizeEvent).
    abcBackground1->setGeometry(1, 1, Panel10->width() - 2, Panel10->height() - 2);
    Panel11->move(CentredOffset(Panel10->width(), Panel11->width()),
                  CentredOffset(Panel10->height(), Panel11->height()));
}

void Tform12::FormActivate() {
    PlaceWindow();

    ComboBox3->hide();
    TestingMode = 0;
    // From the keyboard the first step is the entry panel, while it covers the fields.
    if (Panel5->isVisible() && Panel5->isEnabled())
        Panel5->setFocus(Qt::OtherFocusReason);
    if (Form5)
        Form5->PutDown(Form5->abcToggleBtn1);
}

void Tform12::closeEvent(QCloseEvent* event) {
    // Closed by the window system: "Тестирование..." brings the menu back.
    if (!StepAsideForTextbook(event, this, ProgramShell()))
        Screen::closeEvent(event);
}

bool Tform12::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == ComboBox2 || watched == ComboBox2->view()) &&
        event->type() == QEvent::KeyPress && IsTypedText(static_cast<QKeyEvent*>(event))) {
        ComboBox2->hidePopup();
        ComboBox2->setCurrentIndex(0);
        return true;
    }
    if (watched == Panel5 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Panel5Click();
            return true;
        }
    }
    if (watched == Panel5 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Panel5->rect().contains(mouse->position().toPoint()))
            Panel5Click();
        return true;
    }
    return Screen::eventFilter(watched, event);
}

void Tform12::Panel5Click() {
    Panel5->hide();
    Panel3->setEnabled(true);
    Edit1->setFocus();
    abcToggleBtn4->setEnabled(true);
    abcToggleBtn5->setEnabled(true);
    abcToggleBtn6->setEnabled(true);
}

void Tform12::ButtonMouseEnter() {
    if (auto* button = qobject_cast<TabcToggleBtn*>(sender()))
        button->SetColor(kButtonHover);
}

void Tform12::ButtonMouseLeave() {
    if (auto* button = qobject_cast<TabcToggleBtn*>(sender()))
        button->SetColor(kButtonFace);
}

namespace {
// The menu's toggle buttons act as push buttons: a click leaves them up again.
void Release(TabcToggleBtn* button) {
    if (button->Down())
        button->SetDown(false);
}
} // namespace

void Tform12::abcToggleBtn1Click() {
    // "Администрирование...": the settings screen over the menu.
    Release(abcToggleBtn1);
    if (Form4)
        Form4->ShowModal();
}

void Tform12::abcToggleBtn2Click() {
    // "Об авторах...": the credits screen shows the menu again when it is closed.
    Release(abcToggleBtn2);
    hide();
    if (Form3)
        Form3->ShowModal();
}

void Tform12::abcToggleBtn3Click() {
    // "Выход": closing the main screen ends the program.
    Release(abcToggleBtn3);
    if (Form1)
        Form1->close();
}

void Tform12::abcToggleBtn4Click() {
    Release(abcToggleBtn4);
    if (CheckBeforeTest())
        OpenTrainingScreen();
}

void Tform12::abcToggleBtn5Click() {
    Release(abcToggleBtn5);
    if (CheckBeforeTest())
        OpenControlScreen();
}

void Tform12::abcToggleBtn6Click() {
    // "Просмотр ответов...": no registration needed.
    Release(abcToggleBtn6);
    RecreateIfFreed<TForm8>(Shell().RecreateReviewScreen, Form8, ProgramShell());
    TestingMode = 2;
    hide();
    Form8->ShowScreen();
}

bool Tform12::CheckBeforeTest() {
    if (!RegistrationComplete()) {
        ShowMessage(kIncompleteMessage, MessageKind::Information, this);
        return false;
    }
    // The name becomes part of the result files' names, in the folders they are written to.
    const QString folder = Shell().ProgramFolder;
    const QString problem = CandidateNameProblem(
        FullName(), {DataPath(folder, QStringLiteral("\\otchet\\print otchet")),
                     DataPath(folder, QStringLiteral("\\otchet\\data1"))});
    if (!problem.isEmpty()) {
        ShowMessage(problem, MessageKind::Warning, this);
        return false;
    }
    return true;
}

void Tform12::SetRegistrationEnabled(bool enabled) {
    // Every test of a run is taken under the registration of the first one.
    Edit1->setEnabled(enabled);
    Edit5->setEnabled(enabled);
    ComboBox1->setEnabled(enabled);
    ComboBox2->setEnabled(enabled);
}

void Tform12::OpenTrainingScreen() {
    RecreateIfFreed<TForm2>(Shell().RecreateTrainingScreen, Form2, ProgramShell());
    SetRegistrationEnabled(false);
    TestingMode = 1;
    if (Form1)
        Form1->hide();
    hide();
    Form2->Image2->setVisible(true);
    Form2->PauseAllowed = true; // its pause button works for a test opened from here
    Form2->ShowScreen();
}

void Tform12::OpenControlScreen() {
    // The exam keeper takes the name for the test before anything else: under a name that a
    // control test on this or another PC of the lab holds, nothing opens and the fields stay
    // editable. A keeper that does not start, or a lock that cannot be made for another reason (a
    // missing data folder), is left to the control screen, which says so.
    // A control screen still standing behind the menu (the start bar brought the menu over it
    // before "OK") holds the name already through its keeper, for the same registration: it is
    // shown again as it is, and the name is not taken a second time.
    const bool nameHeldByScreen = Form6 && !Form6->IsClosing() && Form6->KeeperOpen();
    std::unique_ptr<KeeperClient> keeper;
    if (!nameHeldByScreen) {
        keeper = std::make_unique<KeeperClient>(Form1 ? Shell().ProgramFolder : CurrentFolder());
        QString problem;
        if (keeper->Start(&problem)) {
            const KeeperStart taken = keeper->Take(FullName());
            if (taken.refusal == QLatin1String("inuse")) {
                ShowMessage(taken.message, MessageKind::Warning, this);
                return;
            }
        } else {
            keeper.reset();
        }
    }
    SetRegistrationEnabled(false);
    if (Form1)
        Form1->hide();
    RecreateIfFreed<TForm6>(Shell().RecreateControlScreen, Form6, ProgramShell());
    hide();
    Form6->Image2->setVisible(true);
    if (!nameHeldByScreen)
        Form6->HoldKeeper(std::move(keeper));
    Form6->ShowScreen();
}
