// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Main screen: full-screen background, splash picture with progress bar; holds ShellState.
#include "app/test.h"

#include "app/test5.h"
#include "materials/test94.h"
#include "platform/display.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "widgets/background.h"
#include "widgets/stored_picture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>

QPointer<TForm1> Form1;

ShellState& Shell() {
    Q_ASSERT(Form1);
    return Form1->Shell;
}

TForm1::TForm1(QWidget* parent) : Screen(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlag(Qt::FramelessWindowHint, true);
    setWindowTitle(QStringLiteral("Тестирование"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(pal);

    abcBackground1 = Named(new TabcBackground(this), "abcBackground1");

    Image1 = Named(new StoredPicture(QStringLiteral(":/pictures/splash.bmp"), this, "bmp"), "Image1");
    Image1->resize(691, 451); // the splash picture's size; it is read whenever it is shown
    Image1->hide();

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->resize(550, 25);
    Panel1->setAutoFillBackground(true);
    QPalette panelPal = Panel1->palette();
    panelPal.setColor(QPalette::Window, QColor(0x29, 0xB6, 0xE4));
    Panel1->setPalette(panelPal);
    ProgressBar2 = Named(new QProgressBar(Panel1), "ProgressBar2");
    ProgressBar2->setGeometry(1, 1, 548, 23);
    ProgressBar2->setRange(0, 100);
    ProgressBar2->setValue(0);
    ProgressBar2->setTextVisible(false);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    // FormCreate: the shared state starts from its initial values, the program folder being
    // the working folder of the process.
    Shell = ShellState();
    Shell.ProgramFolder = CurrentFolder();

    setGeometry(QRect(QPoint(0, 0), DisplaySize()));
    Timer1->start();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    abcBackground1->setGeometry(rect());
    Screen::resizeEvent(event);
}

void TForm1::Timer1Timer() {
    Shell.SplashTicks = static_cast<std::uint8_t>(Shell.SplashTicks + 1);
    if (Shell.SplashTicks < 50) {
        ProgressBar2->setValue(ProgressBar2->value() + 2);
        return;
    }
    Image1->hide();
    Panel1->hide();
    if (Form5) {
        Form5->StandAbove(this);
        Form5->ShowScreen();
    }
    if (Form14)
        Form14->ShowScreen();
    Timer1->stop();
}

void TForm1::FormActivate() {
    const QSize display = DisplaySize();
    Image1->move(CentredOffset(display.width(), Image1->width()),
                 CentredOffset(display.height(), Image1->height()));
    Image1->show();
    Panel1->move(CentredOffset(display.width(), Panel1->width()),
                 Image1->y() + Image1->height() + 23);
}

void TForm1::FormDeactivate() {
    Image1->hide();
    m_inFront = false;
}

void TForm1::BackgroundClick() {
    if (!m_inFront) {
        // In front with the splash picture (shown by the activation that follows); the start bar
        // stays above it.
        m_covered = nullptr;
        for (Screen* candidate : {qobject_cast<Screen*>(QApplication::activeWindow()),
                                  Screen::LastShown(), Screen::LastDeactivated()}) {
            if (candidate != nullptr && candidate != this && candidate->isVisible() &&
                candidate != Form5) {
                m_covered = candidate;
                break;
            }
        }
        m_inFront = true;
        raise();
        activateWindow();
        RaiseKeptInFront();
        // A window manager may stack the active full-screen window above all others for a moment.
        QTimer::singleShot(150, this, [] { RaiseKeptInFront(); });
        return;
    }
    // A second click: the covered screen comes back in front.
    m_inFront = false;
    if (m_covered && m_covered->isVisible())
        m_covered->ShowScreen();
}

void TForm1::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        BackgroundClick();
    Screen::mousePressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}
