// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/question_screen.h"

#include "platform/colours.h"
#include "platform/fonts.h"
#include "platform/named_colours.h"
#include "widgets/accessible_faces.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {
// Font heights of the clock label: 14 points while counting, 7 points for "Время истекло!".
constexpr int kClockPixels = 19;
constexpr int kTimeUpPixels = 9;
} // namespace

QuestionScreen::QuestionScreen(ScreenShell& shell, QWidget* parent)
    : Screen(parent), m_shell(shell), m_announcement(new Announcement(this)) {}

void QuestionScreen::Announce(const QString& text) {
    m_announcement->Say(text);
}

void QuestionScreen::AnnounceQuestion() {
    const QString text = m_area->Label5->text().trimmed();
    if (!text.isEmpty())
        Announce(text);
}

QString QuestionScreen::LastAnnounced() const {
    return m_announcement->LastSaid();
}

QCheckBox* QuestionScreen::Box(int row) const {
    return m_area->RowBox(row);
}

PositionPoints QuestionScreen::ShownPoints() const {
    PositionPoints points{};
    for (int k = 0; k < kMaxOptions; ++k)
        points[k] = m_area->View.DisplayOptions[k].Points;
    return points;
}

void QuestionScreen::MakeQuestionArea(QuestionAreaConfig config) {
    m_area = new QuestionArea(this, std::move(config));
    m_area->setObjectName(QStringLiteral("QuestionArea"));
    m_area->SetBank(&m_bank);
    Label5 = m_area->Label5;
    CheckBox1 = m_area->CheckBox1;
    CheckBox2 = m_area->CheckBox2;
    CheckBox3 = m_area->CheckBox3;
    CheckBox4 = m_area->CheckBox4;
    CheckBox6 = m_area->CheckBox6;
}

void QuestionScreen::showEvent(QShowEvent* event) {
    PlaceWindow();
    Screen::showEvent(event);
    if (PreparationPending()) {
        QTimer::singleShot(0, this, [this] {
            if (PreparationPending() && isVisible())
                FormActivate();
        });
    }
}

void QuestionScreen::keyPressEvent(QKeyEvent* event) {
    const bool confirm = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                         !event->isAutoRepeat() &&
                         !qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (confirm && Button1 != nullptr && Button1->isVisible() && Button1->isEnabled()) {
        event->accept();
        Button1->click();
        return;
    }
    Screen::keyPressEvent(event);
}

void QuestionScreen::StopTimers() {
    Timer1->stop();
    Timer4->stop();
    m_area->Timer2->stop();
    m_area->Timer3->stop();
}

void QuestionScreen::FreeOnClose(QCloseEvent* event, int& recreateFlag) {
    recreateFlag = 1;
    setAttribute(Qt::WA_DeleteOnClose, true);
    Screen::closeEvent(event);
}

void QuestionScreen::ConnectBoxes() {
    connect(CheckBox1, &QCheckBox::toggled, this, &QuestionScreen::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &QuestionScreen::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &QuestionScreen::CheckBox3Click);
    connect(CheckBox4, &QCheckBox::toggled, this, &QuestionScreen::CheckBox4Click);
    connect(CheckBox6, &QCheckBox::toggled, this, &QuestionScreen::CheckBox6Click);
}

void QuestionScreen::MakeBottomBar(int height) {
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    SetFillColour(Panel1, Colours::kLight3D);
    Panel1->setGeometry(0, this->height() - height, width(), height);
}

void QuestionScreen::MakeAnswerButton(const QRect& place) {
    Button1 = Named(new QPushButton(QStringLiteral("OK"), Panel1), "Button1");
    Button1->setGeometry(place);
    Button1->setCursor(Qt::PointingHandCursor);
    Button1->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    Button1->setFont(PixelFont(QStringLiteral("Arial"), 13));
    SetTextColour(Button1, Colours::kMaroon);
}

void QuestionScreen::MakeTimeLeftDisplay(QPoint labelPos, const QRect& barPlace,
                                         const QRect& clockPlace) {
    Label8 = Named(new QLabel(QStringLiteral("Осталось:"), Panel1), "Label8");
    Label8->move(labelPos);
    Label8->setFont(PixelFont(QStringLiteral("Arial"), 13));
    SetTextColour(Label8, Colours::kNavy);
    Label8->adjustSize();
    Label8->hide();

    ProgressBar1 = Named(new QProgressBar(Panel1), "ProgressBar1");
    ProgressBar1->setGeometry(barPlace);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();

    Label7 = Named(new QLabel(Panel1), "Label7");
    Label7->setAccessibleName(QStringLiteral("Осталось секунд"));
    Label7->setGeometry(clockPlace);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ShowClock(QString());
    Label7->hide();
}

void QuestionScreen::ShowClock(const QString& text) {
    Label7->setFont(PixelFont(QStringLiteral("Arial"), kClockPixels, true));
    SetTextColour(Label7, Colours::kBlue);
    Label7->setText(text);
}

void QuestionScreen::ShowTimeUp() {
    Label7->setFont(PixelFont(QStringLiteral("Arial"), kTimeUpPixels, true));
    SetTextColour(Label7, Colours::kRed);
    Label7->setText(QStringLiteral("Время истекло!"));
}
