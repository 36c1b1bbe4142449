// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, splash, main screen activation and the start bar.
#include "app/site_config.h"
#include "app/start_options.h"
#include "app/startup.h"
#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "materials/test3.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "questions/question_area.h"
#include "review/test8.h"
#include "screens_fixture.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test6.h"
#include "widgets/shown_movie.h"
#include "widgets/toggle_button.h"

#include <QApplication>
#include <QBackingStore>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {
QPointer<QWidget> FindScreen(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return QPointer<QWidget>(w);
    return QPointer<QWidget>();
}

// Opens the screen named as the program names it, the way a student reaches it.
QPointer<QWidget> OpenScreen(const QString& screen) {
    for (int tick = 1; tick <= 50; ++tick)
        Form1->Timer1Timer(); // the start bar and the textbook
    if (screen == QLatin1String("Form7")) {
        Form5->abcToggleBtn2Click();
    } else if (screen != QLatin1String("Form5") && screen != QLatin1String("Form14")) {
        Form5->abcToggleBtn1Click(); // the menu
        if (screen == QLatin1String("Form4"))
            form12->abcToggleBtn1Click();
        else if (screen == QLatin1String("Form3"))
            form12->abcToggleBtn2Click();
        else if (screen == QLatin1String("Form8"))
            form12->abcToggleBtn6Click();
    }
    return FindScreen(screen);
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT
    std::optional<ScreensFixture> m_screens;

private Q_SLOTS:
    // On Wayland the program asks for X11, where its windows can be placed and an exam can hold
    // the keyboard; a platform the user chose stays chosen.
    void x11AskedForOnWaylandOnly_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment"); // NAME=value
        QTest::addColumn<bool>("asked");
        const QStringList program{QStringLiteral("course-testing")};
        const QStringList wayland{QStringLiteral("WAYLAND_DISPLAY=wayland-0"),
                                  QStringLiteral("DISPLAY=:0")};
        QTest::newRow("wayland") << program << wayland << true;
        QTest::newRow("wayland session type")
            << program << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0"} << true;
        QTest::newRow("x11") << program << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE=x11"}
                             << false;
        QTest::newRow("no x server") << program << QStringList{"WAYLAND_DISPLAY=wayland-0"}
                                     << false;
        QTest::newRow("platform variable")
            << program << (wayland + QStringList{"QT_QPA_PLATFORM=wayland"}) << false;
        QTest::newRow("platform argument")
            << (program + QStringList{"-platform", "wayland"}) << wayland << false;
    }
    void x11AskedForOnWaylandOnly() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(bool, asked);
        const auto lookup = [&environment](const char* name) {
            const QString prefix = QString::fromLatin1(name) + QLatin1Char('=');
            for (const QString& entry : environment)
                if (entry.startsWith(prefix))
                    return entry.mid(prefix.size());
            return QString();
        };
        QCOMPARE(AskForX11(arguments, lookup), asked);
    }

    void courseFolderFromTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("error");
        const QString program = QStringLiteral("course-testing");
        QTest::newRow("nothing: the working folder")
            << QStringList{program} << QString() << false << QString();
        QTest::newRow("--course") << QStringList{program, "--course", "/srv/курс"} << "/srv/курс"
                                  << false << QString();
        QTest::newRow("--course=")
            << QStringList{program, "--course=/srv/курс"} << "/srv/курс" << false << QString();
        QTest::newRow("-c") << QStringList{program, "-c", "курс"} << "курс" << false << QString();
        QTest::newRow("help") << QStringList{program, "--help"} << QString() << true << QString();
        // Qt's own words for the parser's errors, in Russian before any application object.
        QTest::newRow("unknown option")
            << QStringList{program, "--kurs", "x"} << QString() << false
            << "Неверная командная строка: Неизвестный параметр «kurs».";
        QTest::newRow("folder without its option")
            << QStringList{program, "/srv/курс"} << QString() << false
            << "Лишние параметры командной строки: /srv/курс";
        QTest::newRow("option without its folder")
            << QStringList{program, "--course"} << QString() << false
            << "Неверная командная строка: Отсутствует значение после «--course».";
    }
    void courseFolderFromTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        QFETCH(bool, help);
        QFETCH(QString, error);
        const StartOptions options = ParseStartOptions(arguments);
        QCOMPARE(options.courseFolder, folder);
        QCOMPARE(options.help, help);
        QVERIFY2(error.isEmpty() ? options.error.isEmpty() : options.error.startsWith(error),
                 qPrintable(options.error));
        if (!error.isEmpty())
            QVERIFY(options.error.contains(QStringLiteral("--course ПАПКА")));
    }

    // --course, then the working folder when it holds a course, then the PC's settings file.
    void courseFolderFromTheSettingsFile_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("workingIsCourse");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("chosen"); // "option", "working", "settings" or the folder
        QTest::addColumn<QString>("problem");
        const QByteArray names = "# the lab's course\r\n\r\ncourse = @\r\n";
        QTest::newRow("--course over the file") << "@" << true << names << "option" << QString();
        QTest::newRow("a course in the working folder over the file")
            << QString() << true << names << "working" << QString();
        QTest::newRow("the file's folder")
            << QString() << false << names << "settings" << QString();
        QTest::newRow("a Windows-1251 file")
            << QString() << false << QByteArray("course=%\xEA\xF3\xF0\xF1\n") << "settings"
            << QString();
        // Without a settings file the working folder is taken unlooked (it is looked into once
        // the first window is painted); so is a folder the file names.
        QTest::newRow("no file: the working folder")
            << QString() << false << QByteArray() << "working" << QString();
        QTest::newRow("an unknown setting")
            << QString() << false << QByteArray("# x\ncourse=@\nkurs=/srv\n") << "working"
            << "Ошибка в файле настроек @conf, строка 3: неизвестный параметр «kurs»";
        QTest::newRow("a relative folder")
            << QString() << false << QByteArray("course=kurs\n") << "working"
            << "Ошибка в файле настроек @conf, строка 1";
        QTest::newRow("the file's folder holds no course")
            << QString() << false << QByteArray("course=/нет/такой\n") << "/нет/такой"
            << QString();
    }
    void courseFolderFromTheSettingsFile() {
        QFETCH(QString, option);
        QFETCH(bool, workingIsCourse);
        QFETCH(QByteArray, settings);
        QFETCH(QString, chosen);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        // A course for the file to name ("@" in its rows; "%" is the folder above it).
        const QString course = dir.filePath(QStringLiteral("курс"));
        const QString working = dir.filePath(QStringLiteral("working"));
        for (const QString& folder : {course, working})
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/ortu")));
        QFile(course + QStringLiteral("/ortu/pdb12.db")).open(QIODevice::WriteOnly);
        if (workingIsCourse)
            QFile(working + QStringLiteral("/ortu/pdb12.db")).open(QIODevice::WriteOnly);
        const QString conf = dir.filePath(QStringLiteral("course-testing.conf"));
        if (!settings.isEmpty()) {
            QFile file(conf);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(settings.replace("@", course.toUtf8())
                           .replace("%", (dir.path() + QStringLiteral("/")).toUtf8()));
        }
        StartOptions options;
        options.courseFolder = option.isEmpty() ? QString() : course;
        QString found;
        const QString folder = ChooseCourseFolder(options, working, conf, &found);
        const QString expected = chosen == QLatin1String("working")    ? working
                                 : chosen.startsWith(QLatin1Char('/')) ? chosen
                                                                       : course;
        QCOMPARE(folder, expected);
        problem.replace(QStringLiteral("@conf"), conf);
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.startsWith(problem),
                 qPrintable(found));
    }

    void folderWithoutACourseIsNamed() {
        QCOMPARE(CourseFolderProblem(SourcePath(QStringLiteral("course"))), QString());
        QTemporaryDir empty;
        QCOMPARE(CourseFolderProblem(empty.path()),
                 QStringLiteral("В папке «%1» нет курса: не найден ни один файл вопросов "
                                "(ortu/pdb1.db … ortu/pdb12.db).\nЗапустите программу из "
                                "папки курса или укажите её: course-testing --course ПАПКА.")
                     .arg(empty.path()));
        // One question file of the twelve makes a course; other files in ortu do not.
        QVERIFY(QDir(empty.path()).mkpath(QStringLiteral("ortu/pdb3.db.bak")));
        QVERIFY(!CourseFolderProblem(empty.path()).isEmpty());
        QFile file(empty.filePath(QStringLiteral("ortu/pdb3.db")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(CourseFolderProblem(empty.path()), QString());
        QVERIFY(CourseFolderProblem(empty.filePath(QStringLiteral("нет такой")))
                    .startsWith(QStringLiteral("Папка курса «")));
    }

    void initTestCase() { PrepareScreenTests(); }
    void cleanup() { m_screens.reset(); }

    void createsEveryScreenWithTheMainScreenFirst() {
        m_screens.emplace();
        QVERIFY(Form1 && Form5 && form12 && Form14 && Form7);
        // The state record starts from its initial values; the program folder is the working
        // folder without a trailing separator.
        const ShellState& s = Form1->Shell;
        QCOMPARE(s.ProgramFolder, CurrentFolder());
        QVERIFY(!s.ProgramFolder.endsWith(QLatin1Char('/')) ||
                s.ProgramFolder == QLatin1String("/"));
        QCOMPARE(int(s.SplashTicks), 0);
        QCOMPARE(s.StartBarLocked, 0);
        QCOMPARE(s.TrainingActive, 0);
        QCOMPARE(s.RecreateTrainingScreen + s.RecreateControlScreen + s.RecreateReviewScreen +
                     s.RecreateVideoScreen,
                 0);
        QVERIFY(Control<QTimer>(Form1, "Timer1")->isActive());
        QCOMPARE(Control<QTimer>(Form1, "Timer1")->interval(), 100);
        QCOMPARE(Form1->geometry(), QRect(0, 0, 1024, 768));
        QVERIFY(!Form5->isVisible());
    }

    void startShowsTheSplashBeforeTheWebEngineAndMakesPlayersOnFirstUse() {
        m_screens.emplace(QSize(1024, 768), [] { StartScreens(); });
        QVERIFY(Form1->isVisible());
        QVERIFY(Form9 && Form14 && Form7); // every screen exists
        // The textbook's browser comes with the first turn of the message loop, the help's
        // browser and the media players when they are first used.
        QVERIFY(!HasControl(Form14, "WebBrowser1"));
        QTRY_VERIFY(HasControl(Form14, "WebBrowser1"));
        QVERIFY(!HasControl(Form7, "WebBrowser1"));
        QVERIFY(!HasControl(Form2, "MediaPlayer1") && !HasControl(Form6, "MediaPlayer1"));
        QVERIFY(!HasControl(Form8, "MediaPlayer1") && !HasControl(Form9, "MediaPlayer1"));
        Form7->FormActivate();
        QVERIFY(HasControl(Form7, "WebBrowser1"));
    }

    void animationsRunOnlyWhileTheirPictureIsShown() {
        // The hidden test screens leave their animations standing.
        m_screens.emplace();
        for (Screen* screen : {static_cast<Screen*>(Form2), static_cast<Screen*>(Form6),
                               static_cast<Screen*>(Form8)}) {
            auto* movie = Control<QLabel>(screen, "Image2")->movie();
            QVERIFY(movie != nullptr);
            QVERIFY2(movie->state() != QMovie::Running, qPrintable(screen->objectName()));
        }

        // A picture runs while its window and itself are shown, and goes on from where it stood.
        QWidget window;
        auto* picture = new QLabel(&window);
        auto* movie = new QMovie(QStringLiteral(":/pictures/test_animation.gif"), {}, picture);
        ShowMovieWhileVisible(picture, movie);
        QCOMPARE(movie->state(), QMovie::NotRunning);
        window.show();
        QCOMPARE(movie->state(), QMovie::Running);
        const int frame = movie->currentFrameNumber();
        window.hide();
        QCOMPARE(movie->state(), QMovie::Paused);
        window.show();
        QCOMPARE(movie->state(), QMovie::Running);
        QCOMPARE(movie->currentFrameNumber(), frame);
        picture->hide();
        QCOMPARE(movie->state(), QMovie::Paused);
    }

    void placesTheStartBar_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<int>("left");
        QTest::newRow("1024x768") << QSize(1024, 768) << 462;
        QTest::newRow("800x600") << QSize(800, 600) << 250;
        QTest::newRow("1025 wide") << QSize(1025, 768) << 462;
        QTest::newRow("623 high") << QSize(1024, 623) << 362;
        QTest::newRow("624 high") << QSize(1024, 624) << 462;
    }
    void placesTheStartBar() {
        QFETCH(QSize, display);
        QFETCH(int, left);
        m_screens.emplace(display);
        QCOMPARE(Form5->pos(), QPoint(left, 2));
        // Client 385 x 27 inside a 2-pixel border: the window is 389 x 31.
        QCOMPARE(Form5->size(), QSize(389, 31));
        QCOMPARE(Control<QFrame>(Form5, "Panel1")->geometry(), QRect(2, 2, 385, 27));
        QVERIFY(Form5->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(Form5->windowFlags().testFlag(Qt::FramelessWindowHint));
        Form5->move(0, 2);
        Form5->FormActivate();
        QCOMPARE(Form5->pos(), QPoint(left, 2));
    }

    void splashCountsToNinetyEightThenHandsOver() {
        m_screens.emplace();
        Form1->FormActivate();
        // The splash runs on its own timer.
        auto* timer = Control<QTimer>(Form1, "Timer1");
        for (int tick = 1; tick <= 49; ++tick)
            QVERIFY(RunOut(timer));
        QCOMPARE(Control<QProgressBar>(Form1, "ProgressBar2")->value(), 98);
        QVERIFY(Control<QTimer>(Form1, "Timer1")->isActive());
        QVERIFY(!Control<QLabel>(Form1, "Image1")->isHidden());
        QVERIFY(!Control<QFrame>(Form1, "Panel1")->isHidden());
        QVERIFY(!Form5->isVisible());

        QVERIFY(RunOut(timer)); // the 50th tick
        QCOMPARE(int(Form1->Shell.SplashTicks), 50);
        QCOMPARE(Control<QProgressBar>(Form1, "ProgressBar2")->value(), 98);
        QVERIFY(Control<QLabel>(Form1, "Image1")->isHidden());
        QVERIFY(Control<QFrame>(Form1, "Panel1")->isHidden());
        QVERIFY(!Control<QTimer>(Form1, "Timer1")->isActive());
        QVERIFY(Form5->isVisible());
        QVERIFY(Form14->isVisible());
    }

    void bareBackgroundBringsThePictureBackCentred() {
        m_screens.emplace();
        for (int tick = 1; tick <= 50; ++tick)
            Form1->Timer1Timer();
        Form1->FormDeactivate();
        QVERIFY(Control<QLabel>(Form1, "Image1")->isHidden());
        Form1->FormActivate();
        QVERIFY(!Control<QLabel>(Form1, "Image1")->isHidden());
        QCOMPARE(Control<QLabel>(Form1, "Image1")->pos(),
                 QPoint(166, 158)); // 333 / 2 and 317 / 2, ties to even
        QCOMPARE(Control<QFrame>(Form1, "Panel1")->pos(),
                 QPoint(237, 158 + Control<QLabel>(Form1, "Image1")->height() + 23));
        QVERIFY(Control<QFrame>(Form1, "Panel1")->isHidden()); // the progress panel stays hidden
        Form1->FormDeactivate();
        QVERIFY(Control<QLabel>(Form1, "Image1")->isHidden());
    }

    void hiddenScreenGivesBackItsWindowBuffer() {
        // Hidden, a screen holds no buffer of its size; shown again, it is painted whole at its size.
        Screen screen;
        screen.resize(300, 200);
        for (int showing = 0; showing < 2; ++showing) {
            screen.show();
            QTRY_COMPARE(screen.backingStore()->size(), QSize(300, 200));
            screen.hide();
            QCOMPARE(screen.backingStore()->size(), QSize(1, 1));
        }
    }

    void testingButtonShowsTheScreenOfTheTestingMode() {
        m_screens.emplace();
        Form14->show();
        Form7->show();
        form12->TestingMode = 0;
        Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->SetDown(true);
        Form5->show();
        QTest::mouseClick(Control<TabcToggleBtn>(Form5, "abcToggleBtn1"), Qt::LeftButton);
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->Down());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->Down());
        QVERIFY(!Form14->isVisible());
        QVERIFY(!Form7->isVisible());
        QVERIFY(form12->isVisible());
    }

    void helpButtonHidesTheTextbookAndShowsHelp() {
        m_screens.emplace();
        Form14->show();
        Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->SetDown(true);
        Form5->show();
        QTest::mouseClick(Control<TabcToggleBtn>(Form5, "abcToggleBtn2"), Qt::LeftButton);
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->Down());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->Down());
        QVERIFY(!Form14->isVisible());
        QVERIFY(Form7->isVisible());
    }

    void hoverChangesColourOnlyOnEnabledButtons() {
        m_screens.emplace();
        TabcToggleBtn* button = Control<TabcToggleBtn>(Form5, "abcToggleBtn1");
        QCOMPARE(button->Color(), QColor(0xFF, 0xB7, 0x6F));
        Q_EMIT button->MouseEnter();
        QCOMPARE(button->Color(), QColor(0x66, 0xE2, 0xFD));
        Q_EMIT button->MouseLeave();
        QCOMPARE(button->Color(), QColor(0xFF, 0xB7, 0x6F));
        // A disabled button gets no hover events from the window system at all.
        Form5->SetTestButtonsEnabled(false);
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->isEnabled());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->isEnabled());
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn4")->isEnabled());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(button, &enter);
        QCOMPARE(button->Color(), QColor(0xFF, 0xB7, 0x6F));
    }

    void putDownAndRaiseLeaveAButtonInThatStateAlone() {
        m_screens.emplace();
        TabcToggleBtn* button = Control<TabcToggleBtn>(Form5, "abcToggleBtn3");
        QSignalSpy clicks(button, &TabcToggleBtn::Click);
        Form5->PutDown(button);
        Form5->PutDown(button);
        QVERIFY(button->Down());
        Form5->Raise(button);
        Form5->Raise(button);
        QVERIFY(!button->Down());
        QCOMPARE(clicks.count(), 0);
        QVERIFY(button->isHidden());
    }

    // Alt+F4 or the title bar's close button on each screen of the shell (the training and control
    // screens have their own tests): what comes to the front, and what stays.
    void windowSystemCloseOfEachScreen_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("front"); // the screen shown afterwards
        QTest::addColumn<bool>("stays");
        QTest::newRow("start bar") << "Form5"
                                   << "Form14" << true;
        QTest::newRow("textbook") << "Form14"
                                  << "Form14" << true;
        QTest::newRow("help") << "Form7"
                              << "Form14" << false;
        QTest::newRow("menu") << "form12"
                              << "Form14" << false;
        QTest::newRow("administration") << "Form4"
                                        << "form12" << false;
        QTest::newRow("credits") << "Form3"
                                 << "form12" << false;
        QTest::newRow("review") << "Form8"
                                << "form12" << false;
    }
    // No screen offers a minimise button, yet a window manager may minimise it: it comes back by
    // itself, and the start bar and the menu still lead on from it.
    void minimisedScreenComesBack_data() { windowSystemCloseOfEachScreen_data(); }
    void minimisedScreenComesBack() {
        QFETCH(QString, screen);
        m_screens.emplace();
        const QPointer<QWidget> minimised = OpenScreen(screen);
        QVERIFY(minimised && minimised->isVisible());
        minimised->setWindowState(minimised->windowState() | Qt::WindowMinimized);
        QCoreApplication::sendPostedEvents(minimised, QEvent::MetaCall);
        QVERIFY(!(minimised->windowState() & Qt::WindowMinimized));
        QVERIFY(minimised->isVisible());
        QVERIFY(Form5->isVisible() && Form5->isEnabled());
    }

    void windowSystemCloseOfEachScreen() {
        QFETCH(QString, screen);
        QFETCH(QString, front);
        QFETCH(bool, stays);
        m_screens.emplace();
        const QPointer<QWidget> closed = OpenScreen(screen);
        QVERIFY(closed && closed->isVisible());
        CloseByWindowSystem(closed);
        QCoreApplication::processEvents();
        QVERIFY(Form5->isVisible());
        QCOMPARE(closed && closed->isVisible(), stays);
        const QPointer<QWidget> shown = FindScreen(front);
        QVERIFY2(shown && shown->isVisible(), qPrintable(front));
        QCOMPARE(form12->TestingMode, quint8(0));
        // The textbook button's marker follows the textbook to the front; the start bar leads
        // to the menu again.
        if (!stays && front == QLatin1String("Form14"))
            QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->Down() &&
                    !Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->Down());
        Form5->abcToggleBtn1Click();
        QVERIFY(form12->isVisible());
    }

    // The window system's close of the main screen ends the program: the event loop returns.
    void mainScreenCloseEndsTheProgram() {
        m_screens.emplace();
        Form1->show();
        QTimer::singleShot(0, Form1, [] { CloseByWindowSystem(Form1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!Form1->isVisible());
    }

    // A screen that frees itself while its message is open (the deletion runs in the box's own
    // event loop) does not take the box with it; the box stays above the screens.
    void messageBoxOutlivesTheScreenThatAsked() {
        auto* screen = new Screen();
        screen->show();
        const QPointer<Screen> asked(screen);
        Qt::WindowFlags flags;
        Qt::WindowModality modality = Qt::NonModal;
        QWidget* owner = screen;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box != nullptr);
            flags = box->windowFlags();
            modality = box->windowModality();
            owner = box->parentWidget();
            screen->setAttribute(Qt::WA_DeleteOnClose);
            screen->close(); // deleted in the box's loop
            QTimer::singleShot(0, box, [box] { static_cast<QMessageBox*>(box)->accept(); });
        });
        ShowMessage(QStringLiteral("Ошибка"), MessageKind::Error, screen);
        QVERIFY(asked.isNull());
        QVERIFY(owner == nullptr);
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(modality, Qt::ApplicationModal);
    }

    void exitButtonClosesTheMainScreenAndEndsTheProgram() {
        m_screens.emplace();
        Form1->show();
        Form5->show();
        QTest::mouseClick(Control<TabcToggleBtn>(Form5, "abcToggleBtn4"), Qt::LeftButton);
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn4")->Down());
        QVERIFY(!Form1->isVisible());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
