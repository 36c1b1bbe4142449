// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Credits screen.

#include "platform/screen.h"
#include "shell/screen_shell.h"

#include <QList>
#include <QPointer>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;
class TabcBackground;
class TabcFrame;
class TabcMultilineLabel;

class TForm3 : public Screen {
    Q_OBJECT
public:
    explicit TForm3(ScreenShell& shell, QWidget* parent = nullptr);

    static constexpr int kClientWidth = 800;
    static constexpr int kClientHeight = 519;
    static constexpr int kBorder = 3;

    QFrame* Panel1;
    TabcBackground* abcBackground1;
    TabcFrame* abcFrame1;
    TabcMultilineLabel* abcMultilineLabel1; // "Разработчики"
    TabcMultilineLabel* abcMultilineLabel2; // "Технический редактор :"
    QList<QFrame*> PicturePanels;           // Panel2 .. Panel5, each holding its picture
    QList<QLabel*> Pictures;                // Image1 .. Image4
    QList<QLabel*> Captions;                // names and positions under the pictures
    QPushButton* BitBtn1;                   // "Закрыть"

    void FormActivate() override;

public Q_SLOTS:
    void BitBtn1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ScreenShell& m_shell; // the program around the screen: the menu

    // Parts of the screen, made in this order by the constructor.
    void SetUpWindow();
    void BuildBackground();
    void BuildHeadings();
    void BuildPeople();
    /// A person's picture in its panel, at left, top of Panel1.
    void AddPicturePanel(int left, int top, const QString& resource);
    /// Caption lines under a picture, kLineStep apart from top down: bold for a name.
    void AddCaptionLines(const QStringList& lines, int left, int top, bool bold);
    void BuildCloseButton();
};

extern QPointer<TForm3> Form3;
