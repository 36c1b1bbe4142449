// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/program_shell.h"
#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "materials/late_parts.h"
#include "materials/test3.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "review/test8.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test6.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWindow>

// The references to the screens of the module (materials/late_parts.h) belong to the program,
// which the module takes them from; defined in the module too, they would be constructed and
// destroyed twice.
QPointer<TForm7> Form7;
QPointer<TForm14> Form14;
QPointer<TForm9> Form9;

namespace {

// How long the start waits for the window system to show the main screen before it goes on
// making the other screens.
constexpr int kFirstFrameWaitMs = 1000;

// The screens after the main screen, in the program's order; those on the web engine and the
// media players come from parts.
void CreateOtherScreens(const LateParts& parts) {
    ScreenShell& shell = ProgramShell();
    Form2 = new TForm2(shell);
    Form3 = new TForm3(shell);
    Form4 = new TForm4();
    Form5 = new TForm5();
    Form6 = new TForm6(shell);
    Form7 = parts.makeHelp(shell);
    Form8 = new TForm8(shell);
    form12 = new Tform12();
    Form14 = parts.makeTextbook(shell);
    Form9 = parts.makeVideoViewer(shell);
}

} // namespace

void CreateScreens(const LateParts& parts) {
    Form1 = new TForm1();
    CreateOtherScreens(parts);
    parts.buildHeavyParts();
}

bool StartScreens(const std::function<const LateParts*()>& loadParts) {
    Form1 = new TForm1();
    // The splash goes on the display first; the other screens are made behind it.
    Form1->show();
    Form1->activateWindow();
    QWindow* window = Form1->windowHandle();
    // Waits for the window system to show it, at most kFirstFrameWaitMs (the timer ends the last
    // wait).
    const QDeadlineTimer mapped(kFirstFrameWaitMs);
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(kFirstFrameWaitMs);
    while (window != nullptr && !window->isExposed() && !mapped.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    if (window != nullptr && window->isExposed())
        Form1->repaint(); // painted and handed to the display now

    const LateParts* parts = loadParts();
    if (parts == nullptr)
        return false;
    CreateOtherScreens(*parts);
    // First thing of the message loop, while the splash runs: the textbook's start page is
    // opened when the splash ends.
    QTimer::singleShot(0, [parts] { parts->buildHeavyParts(); });
    return true;
}

void DestroyScreens() {
    delete Form9;
    delete Form14;
    delete form12;
    delete Form8;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form3;
    delete Form2;
    delete Form1;
}
