// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/question_screen.h"

#include <QCheckBox>
#include <QTimer>

QuestionScreen::QuestionScreen(ScreenShell& shell, QWidget* parent)
    : Screen(parent), m_shell(shell) {}

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
