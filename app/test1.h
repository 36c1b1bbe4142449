// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Registration and testing menu.

#include "platform/screen.h"

#include <QPointer>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class TabcBackground;
class TabcToggleBtn;

class Tform12 : public Screen {
    Q_OBJECT
public:
    explicit Tform12(QWidget* parent = nullptr);

    /// The qualification prompt, first entry of ComboBox2; not a valid choice.
    static const QString kQualificationPrompt;
    /// The topic prompt; a topic equal to it fails the registration check.
    static const QString kTopicPrompt;
    /// The one topic of the course; it selects question file 12.
    static const QString kFinalTopic;
    /// The one message of an incomplete registration.
    static const QString kIncompleteMessage;

    /// 0 the menu itself, 1 a training test is open, 2 the answer review is open. The start
    /// bar's "Тестирование..." reads it to bring the right screen back.
    quint8 TestingMode = 0;

    // The student's registration, read where it is needed; the fields are the only copy.
    QString FullName() const;
    QString Group() const;
    QString Specialization() const;
    QString Qualification() const;
    QString Topic() const;

    /// The registration check of both test buttons: every field filled, a qualification chosen,
    /// a topic given. Shows nothing.
    bool RegistrationComplete() const;

    /// Disables "Контроль..." for the rest of the run (after the one control test of a run).
    void DisableControlButton();

    void FormActivate() override;

    QLabel* Image1;                 // background picture stretched over the window
    QFrame* Panel10;                // navy single border around the centre gradient
    TabcBackground* abcBackground1; // #DFDFFF at the edges to blue in the centre
    QFrame* Panel11;                // 630 x 368, centred in Panel10
    QLabel* Image2;                 // picture filling Panel11
    QFrame* Panel1;                 // navy panel carrying all controls
    TabcBackground* abcBackground2; // navy to navy, diagonal

    TabcToggleBtn* abcToggleBtn1; // "Администрирование..."
    TabcToggleBtn* abcToggleBtn2; // "Об авторах..."
    TabcToggleBtn* abcToggleBtn3; // "Выход"
    TabcToggleBtn* abcToggleBtn4; // "Тренировка..."
    TabcToggleBtn* abcToggleBtn5; // "Контроль..."
    TabcToggleBtn* abcToggleBtn6; // "Просмотр ответов..."

    // Title panel.
    QFrame* Panel2;
    QLabel* Label1;       // institution, first line
    QLabel* Label2;       // institution, second line
    QLabel* Label3;       // department
    QLabel* Label4;       // title, first line
    QLabel* Label5;       // title, second line
    QComboBox* ComboBox3; // Topic (never shown)
    QLabel* Image3;
    QLabel* Image4;
    QLabel* Image5;
    QLabel* Image6;

    // Registration panel.
    QFrame* Panel3;
    QLabel* Label6;
    QLineEdit* Edit1; // FullName
    QLabel* Label7;
    QLineEdit* Edit5; // Group
    QLabel* Label8;
    QComboBox* ComboBox1; // Specialization (an entry field without list entries)
    QLabel* Label9;
    QComboBox* ComboBox2; // Qualification (a choice from the list only)

    QLabel* Panel5; // entry panel covering the registration panel until clicked

public Q_SLOTS:
    void Panel5Click();
    void abcToggleBtn1Click();
    void abcToggleBtn2Click();
    void abcToggleBtn3Click();
    void abcToggleBtn4Click();
    void abcToggleBtn5Click();
    void abcToggleBtn6Click();
    void ButtonMouseEnter();
    void ButtonMouseLeave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Parts of the menu, made in this order by the constructor.
    void SetUpWindow();
    /// Size and place by the display, and the centre panels within.
    void PlaceWindow();
    void BuildBackground();
    void BuildTopRow();
    void BuildTitlePanel();
    void BuildRegistrationPanel();
    void BuildSpecializationField();
    void BuildQualificationField();
    void BuildEntryPanel();
    void BuildBottomRow();
    void ConnectButtons();

    TabcToggleBtn* MakeButton(const char* name, const QString& caption, int left, int top,
                              int width);
    /// The check of both test buttons with its messages; true when a test may open.
    bool CheckBeforeTest();
    void SetRegistrationEnabled(bool enabled);
    void OpenTrainingScreen();
    void OpenControlScreen();
};

extern QPointer<Tform12> form12;
