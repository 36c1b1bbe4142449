// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start bar: the small always-on-top strip with "Тестирование...", "О программе...", "Выход".
#include "app/test5.h"

#include "app/test.h"
#include "app/test1.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/named_colours.h"
#include "platform/rounding.h"
#include "review/test8.h"
#include "tests/test2.h"
#include "widgets/background.h"
#include "widgets/toggle_button.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPainter>
#include <QTimer>
#include <QWindow>

QPointer<TForm5> Form5;

namespace {
constexpr QColor kFace = Colours::kToggleFace;
using Colours::kHover;
const QColor kBorderColour(0x80, 0x00, 0xFF);
int g_nextGroup = 5001;
} // namespace

TForm5::TForm5(QWidget* parent) : Screen(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    setWindowTitle(QStringLiteral("Тестирование"));
    SetKeptInFront(true);
    // Shown above the others, it leaves the keyboard where it is (with the textbook after the
    // splash): its buttons act by their Alt letters from every screen.
    setAttribute(Qt::WA_ShowWithoutActivating, true);

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);
    abcBackground1 = Named(new TabcBackground(Panel1), "abcBackground1");
    abcBackground1->setGeometry(0, 0, kClientWidth, kClientHeight);
    abcBackground1->SetColorFrom(QColor(0xFF, 0xFF, 0x00));
    abcBackground1->SetColorTo(QColor(0x00, 0x00, 0xFF));
    abcBackground1->SetDrawDirection(DrawDirection::ddVertical);
    abcBackground1->SetDrawBuffered(true);

    auto makeButton = [this](const char* name, const QString& caption, int left, int width) {
        auto* button = Named(new TabcToggleBtn(Panel1), name);
        button->SetCaption(caption);
        button->setGeometry(left, 3, width, 22);
        button->SetColor(kFace);
        button->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13, true));
        QPalette pal = button->palette();
        pal.setColor(QPalette::ButtonText, Qt::blue);
        pal.setColor(QPalette::WindowText, Qt::blue);
        button->setPalette(pal);
        button->setCursor(Qt::PointingHandCursor);
        button->SetGroupIndex(g_nextGroup++);
        button->SetAllowAllUp(true);
        connect(button, &TabcToggleBtn::MouseEnter, this, &TForm5::ButtonMouseEnter);
        connect(button, &TabcToggleBtn::MouseLeave, this, &TForm5::ButtonMouseLeave);
        // The start bar's letters act from every screen of the program.
        button->SetShortcutContext(Qt::ApplicationShortcut);
        return button;
    };
    abcToggleBtn1 = makeButton("abcToggleBtn1", QStringLiteral("&Тестирование..."), 8, 133);
    abcToggleBtn2 = makeButton("abcToggleBtn2", QStringLiteral("&О программе..."), 148, 127);
    abcToggleBtn4 = makeButton("abcToggleBtn4", QStringLiteral("Вы&ход"), 283, 94);
    abcToggleBtn3 = makeButton("abcToggleBtn3", QStringLiteral("Учебник..."), 391, 130);
    abcToggleBtn3->hide();
    connect(abcToggleBtn1, &TabcToggleBtn::Click, this, &TForm5::abcToggleBtn1Click);
    connect(abcToggleBtn2, &TabcToggleBtn::Click, this, &TForm5::abcToggleBtn2Click);
    connect(abcToggleBtn3, &TabcToggleBtn::Click, this, &TForm5::abcToggleBtn3Click);
    connect(abcToggleBtn4, &TabcToggleBtn::Click, this, &TForm5::abcToggleBtn4Click);

    // FormCreate: client area 385 x 27 inside the 2-pixel border, top 2, left by the rule.
    resize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    move(PlacementLeft(DisplaySize()), 2);
}

int TForm5::PlacementLeft(QSize display) {
    return HalfOf(display.width()) - (display.height() <= 623 ? 150 : 50);
}

void TForm5::Place() {
    move(PlacementLeft(DisplaySize()), y());
}

void TForm5::FormActivate() {
    Place();
}

void TForm5::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBorderColour);
}

void TForm5::StandAbove(QWidget* mainScreen) {
    winId(); // both native windows exist from here on
    mainScreen->winId();
    windowHandle()->setTransientParent(mainScreen->windowHandle());
}

void TForm5::closeEvent(QCloseEvent* event) {
    // The start bar stays from the end of the splash to the exit: the window system cannot close
    // it (a control test hides it, the program's end frees it).
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    Screen::closeEvent(event);
}

void TForm5::PutDown(TabcToggleBtn* button) {
    if (!button->Down())
        button->SetDown(true);
}

void TForm5::Raise(TabcToggleBtn* button) {
    if (button->Down())
        button->SetDown(false);
}

void TForm5::SetTestButtonsEnabled(bool enabled) {
    abcToggleBtn1->setEnabled(enabled);
    abcToggleBtn2->setEnabled(enabled);
    abcToggleBtn3->setEnabled(enabled);
}

void TForm5::ButtonMouseEnter() {
    if (auto* button = qobject_cast<TabcToggleBtn*>(sender()))
        button->SetColor(kHover);
}

void TForm5::ButtonMouseLeave() {
    if (auto* button = qobject_cast<TabcToggleBtn*>(sender()))
        button->SetColor(kFace);
}

void TForm5::abcToggleBtn1Click() {
    PutDown(abcToggleBtn1);
    Raise(abcToggleBtn2);
    Raise(abcToggleBtn3);
    if (Form14 && Form14->isVisible())
        Form14->hide();
    if (Form7 && Form7->isVisible())
        Form7->hide();
    if (!form12)
        return;
    switch (form12->TestingMode) {
    case 0:
        form12->ShowScreen();
        break;
    case 1:
        if (!Form2 || Form2->IsClosing()) {
            // The training screen is gone: the menu is the testing screen again.
            form12->TestingMode = 0;
            form12->ShowScreen();
            break;
        }
        Form2->ShowScreen();
        // The clock goes on only where it stood still for the visit: with a question of a test
        // under way on screen, not on the opening or the result display, not during a pause.
        Form2->ResumeClock();
        if (Form1)
            Form1->hide();
        break;
    case 2:
        if (Form14)
            Form14->hide();
        if (!Form8 || Form8->IsClosing()) {
            form12->TestingMode = 0;
            form12->ShowScreen();
            break;
        }
        Form8->ShowScreen();
        break;
    default:
        break;
    }
}

void TForm5::abcToggleBtn2Click() {
    PutDown(abcToggleBtn2);
    Raise(abcToggleBtn1);
    Raise(abcToggleBtn3);
    if (Form14 && Form14->isVisible())
        Form14->hide();
    if (Form2 && Form2->isVisible())
        Form2->hide();
    if (Form8 && Form8->isVisible())
        Form8->hide();
    if (Form7)
        Form7->ShowScreen();
}

void TForm5::abcToggleBtn3Click() {
    if (Form1)
        Form1->Shell.BookLoadCount = 0;
    PutDown(abcToggleBtn3);
    Raise(abcToggleBtn2);
    Raise(abcToggleBtn1);
    if (form12 && form12->isVisible())
        form12->hide();
    if (Form8 && Form8->isVisible())
        Form8->hide();
    if (Form7 && Form7->isVisible())
        Form7->hide();
    if (Form14)
        Form14->ShowScreen();
}

void TForm5::abcToggleBtn4Click() {
    PutDown(abcToggleBtn4);
    if (Form1)
        Form1->close();
}
