// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Administration screen of the test settings.

#include "platform/screen.h"
#include "tests/test_settings.h"

#include <QPointer>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm4 : public Screen {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    static constexpr int kClientWidth = 535;
    static constexpr int kClientHeight = 350;

    /// TrainingQuestionCount (Edit2) and TrainingTimeLimit (Edit3) as typed now, the count
    /// capped at the question file's count.
    SettingsReading ReadTrainingSettings(int fileQuestionCount) const;
    /// ControlQuestionCount (Edit5) and ControlSecondsPerQuestion (Edit6) likewise.
    SettingsReading ReadControlSettings(int fileQuestionCount) const;

    void FormActivate() override;

    // Information panel with its fixed texts.
    QFrame* Panel1;
    QLabel* Label1; // training text, three lines
    QLabel* Label2; // its continuation " вопросы - 900 с."
    QLabel* Label3; // control text, three lines
    QLabel* Label4; // its continuation "на каждый вопрос - 60 с."
    QLabel* Label5; // the clock stands still during video and textbook
    QLabel* Label6; // how to change the values (blue)

    QLabel* Label7; // heading "Тренировка"
    QLabel* Label8; // heading "Контроль"
    QLabel* Label9;
    QLineEdit* Edit2; // TrainingQuestionCount
    QLabel* Label10;
    QLineEdit* Edit3; // TrainingTimeLimit, seconds for the whole test
    QLabel* Label11;
    QLineEdit* Edit5; // ControlQuestionCount
    QLabel* Label12;
    QLineEdit* Edit6; // ControlSecondsPerQuestion

    // Totals of questions, never shown: a test always takes the count its question file declares.
    QLabel* Label13;
    QLineEdit* Edit1;
    QLabel* Label14;
    QLineEdit* Edit4;

    QPushButton* BitBtn1; // "Установить"
    QPushButton* BitBtn2; // "Закрыть"

public Q_SLOTS:
    void BitBtn1Click();
    void BitBtn2Click();

private:
    // The parts of the screen, built in this order by the constructor.
    void SetUpWindow();
    void BuildInfoPanel();
    void BuildTrainingFields();
    void BuildControlFields();
    void BuildButtons();
};

extern QPointer<TForm4> Form4;
