// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The video viewer driven through its handlers and timer ticks with a player that plays
// nothing: opened from a textbook video link, playing, the buttons, the notice during a training
// test, a fragment that is missing or cannot be played, and the way back to the textbook.
#include "app/test.h"
#include "app/test5.h"
#include "fake_media_player.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "screens_fixture.h"
#include "widgets/toggle_button.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QString Folder() {
    return SourcePath(QStringLiteral("course"));
}
// A video link in a textbook page, as the browser reports it.
QString Link(const QString& lastPart) {
    return Folder() + QStringLiteral("/html/") + lastPart;
}
QString ReturnPage(const QString& page) {
    return Folder() + QStringLiteral("\\html\\") + page;
}

FakeMediaPlayer* Player() {
    return Form9 ? qobject_cast<FakeMediaPlayer*>(Control<MediaPlayer>(Form9, "MediaPlayer1"))
                 : nullptr;
}

bool Shown(const QWidget* widget) {
    return !widget->isHidden();
}

// The textbook and the start bar's buttons other than "Выход" are in use (or all out of use).
bool TextbookInUse(bool inUse) {
    return Form14->isEnabled() == inUse &&
           Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled() == inUse &&
           Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->isEnabled() == inUse &&
           Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->isEnabled() == inUse &&
           Control<TabcToggleBtn>(Form5, "abcToggleBtn4")->isEnabled();
}

void FreeClosedScreens() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class VideoViewerTest : public QObject {
    Q_OBJECT
    std::optional<ScreensFixture> m_screens;

    // The screens on a display of the given size, the textbook shown on a page of the course.
    void Create(QSize display = QSize(1024, 768)) {
        m_screens.emplace(display);
        Shell().ProgramFolder = Folder();
        Form5->show();
        Form14->show();
        Form14->FormActivate();
    }

    // Follows a video link in the textbook; the viewer it opens is returned.
    TForm9* FollowLink(const QString& lastPart) {
        Form14->WebBrowser1BeforeNavigate2(Link(lastPart));
        return Form9;
    }

private Q_SLOTS:
    void initTestCase() { PrepareScreenTests(MediaPlayers::Fake); }

    void cleanupTestCase() { FakeMediaPlayer::Uninstall(); }

    void cleanup() { m_screens.reset(); }

    void viewerFillsTheWorkAreaWithItsStrip_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QRect>("videoArea");
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(25, 25, 970, 714);
        QTest::newRow("800x600") << QSize(800, 600) << QRect(25, 25, 746, 546);
    }
    void viewerFillsTheWorkAreaWithItsStrip() {
        QFETCH(QSize, display);
        QFETCH(QRect, videoArea);
        Create(display);
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        QVERIFY(viewer && viewer->isVisible());

        QCOMPARE(viewer->geometry(), QRect(QPoint(0, 0), display));
        QVERIFY(viewer->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(viewer->palette().color(QPalette::Window), QColor(0x00, 0x00, 0x5B));
        QCOMPARE(Control<QFrame>(viewer, "Panel5")->geometry(),
                 QRect(QPoint(1, 1), display - QSize(2, 2)));
        QCOMPARE(Control<QLabel>(viewer, "Image3")->geometry(),
                 Control<QFrame>(viewer, "Panel5")->rect());
        QCOMPARE(Control<QFrame>(viewer, "Panel6")->geometry(), videoArea);
        QCOMPARE(Control<QFrame>(viewer, "Panel6")->palette().color(QPalette::Window),
                 QColor(0x85, 0xC4, 0xFC));
        QCOMPARE(viewer->DisplayRect, QRect(QPoint(0, 0), videoArea.size()));
        QCOMPARE(Player()->displayRect, viewer->DisplayRect);
        // The strip, in the viewer's client coordinates (inside its border), covers the lowest
        // 15 pixels of the video area and stands in front of it.
        QCOMPARE(Control<QFrame>(viewer, "Panel1")->geometry(),
                 QRect(QPoint(31, videoArea.height() + 11),
                       QSize(TForm9::kStripWidth, TForm9::kStripHeight)));
        const int videoBottom =
            Control<QFrame>(viewer, "Panel6")
                ->mapTo(viewer, QPoint(0, Control<QFrame>(viewer, "Panel6")->height()))
                .y();
        QCOMPARE(videoBottom - Control<QFrame>(viewer, "Panel1")->y(), 15);
        QVERIFY(viewer->children().indexOf(Control<QFrame>(viewer, "Panel1")) >
                viewer->children().indexOf(Control<QFrame>(viewer, "Panel5")));
        // Every picture stored with the viewer is there.
        for (const QLabel* picture :
             {Control<QLabel>(viewer, "Image1"), Control<QLabel>(viewer, "Image2"),
              Control<QLabel>(viewer, "Image3")})
            QVERIFY2(!picture->pixmap().isNull(), qPrintable(picture->objectName()));

        struct Row {
            QToolButton* button;
            int left;
            const char* caption;
            const char* hint;
        };
        const Row rows[] = {
            {Control<QToolButton>(viewer, "SpeedButton7"), 41, "СТАРТ", "Запуск видеофрагмента"},
            {Control<QToolButton>(viewer, "SpeedButton6"), 101, "Стоп", "Остановка видеофрагмента"},
            {Control<QToolButton>(viewer, "SpeedButton5"), 161, "Начало",
             "Переход в начало видеофрагмента"},
            {Control<QToolButton>(viewer, "SpeedButton4"), 220, "Конец",
             "Переход в конец видеофрагмента"},
            {Control<QToolButton>(viewer, "SpeedButton3"), 279, "Следующ.",
             "Переход на один кадр вперед"},
            {Control<QToolButton>(viewer, "SpeedButton2"), 337, "Предыд.",
             "Переход на один кадр назад"},
            {Control<QToolButton>(viewer, "SpeedButton1"), 393, "Выход", "Вернуться в учебник"},
        };
        int right = 0;
        for (const Row& row : rows) {
            QCOMPARE(row.button->x(), row.left);
            QCOMPARE(row.button->text(), QString::fromUtf8(row.caption));
            QCOMPARE(row.button->toolTip(), QString::fromUtf8(row.hint));
            QCOMPARE(row.button->palette().color(QPalette::Active, QPalette::ButtonText),
                     QColor(Qt::yellow));
            // Side by side inside the strip, each caption whole.
            QVERIFY(row.button->x() >= right);
            right = row.button->geometry().right() + 1;
            QVERIFY(row.button->fontMetrics().horizontalAdvance(row.button->text()) <
                    row.button->width());
        }
        QVERIFY(right <= TForm9::kStripWidth);
    }

    void videoLinkShowsTheCoverThenPlays() {
        Create();
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        QVERIFY(viewer && viewer->isVisible());
        FakeMediaPlayer* player = Player();
        QVERIFY(player);

        // The fragment is open, the cover picture stands for one second, nothing plays yet.
        QCOMPARE(player->calls, QStringList{QStringLiteral("Open")});
        QCOMPARE(player->openedPath, Folder() + QStringLiteral("/images/$film01.avi"));
        QVERIFY(Control<QTimer>(viewer, "Timer1")->isActive());
        QCOMPARE(Control<QTimer>(viewer, "Timer1")->interval(), 1000);
        QVERIFY(!Control<QTimer>(viewer, "Timer2")->isActive());
        QVERIFY(Shown(Control<QLabel>(viewer, "Image2")));
        QCOMPARE(Control<QLabel>(viewer, "Image2")->geometry(),
                 Control<QFrame>(viewer, "Panel6")->contentsRect());
        QVERIFY(!Shown(Control<QLabel>(viewer, "Label1")) &&
                !Shown(Control<QLabel>(viewer, "Label4")));
        QCOMPARE(player->displayWidget, nullptr);
        for (QToolButton* button : viewer->PlaybackButtons())
            QVERIFY(button->isEnabled());

        // The textbook keeps the placeholder page and is out of use, like the start bar's
        // buttons other than "Выход".
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(), Form14->PlaceholderPage());
        QVERIFY(TextbookInUse(false));

        QVERIFY(RunOut(Control<QTimer>(viewer, "Timer1"))); // the second has passed
        QVERIFY(!Control<QTimer>(viewer, "Timer1")->isActive());
        QVERIFY(!Shown(Control<QLabel>(viewer, "Image2")));
        QCOMPARE(player->calls, QStringList({QStringLiteral("Open"), QStringLiteral("Play")}));
        QVERIFY(player->notifyRequested);
        QVERIFY(viewer->Playing());
        // Stretched over the whole display area.
        QCOMPARE(player->displayWidget, Control<QFrame>(viewer, "Panel6"));
        QCOMPARE(player->displayRect,
                 QRect(QPoint(0, 0), Control<QFrame>(viewer, "Panel6")->size()));

        player->Finish();
        QVERIFY(!viewer->Playing());
        QVERIFY(viewer->Position().AtEnd());
        QVERIFY(!Shown(Control<QLabel>(viewer, "Label4")));
    }

    void buttonsActOnTheOpenFragment() {
        Create();
        TForm9* viewer = FollowLink(QStringLiteral("$film02.avi=012.htm"));
        FakeMediaPlayer* player = Player();
        player->lengthInFrames = 250;
        viewer->SpeedButton7Click(); // open again with the new length, play
        QCOMPARE(player->calls, QStringList({QStringLiteral("Open"), QStringLiteral("Open"),
                                             QStringLiteral("Play")}));
        QVERIFY(!Control<QTimer>(viewer, "Timer1")
                     ->isActive()); // the waiting start is not played a second time
        QVERIFY(!Shown(Control<QLabel>(viewer, "Image2")));

        // While it plays, the player moves without stopping.
        const QString stop = QStringLiteral("Stop");
        player->calls.clear();
        viewer->SpeedButton3Click(); // "Следующ."
        viewer->SpeedButton5Click(); // "Начало"
        QCOMPARE(player->calls,
                 QStringList({QStringLiteral("Step 25"), QStringLiteral("SeekToStart")}));
        QVERIFY(viewer->Playing());

        // Stopped, it is held where it stands before every move, so that it shows the picture
        // it is moved to.
        player->calls.clear();
        viewer->SpeedButton6Click(); // "Стоп"
        QVERIFY(!viewer->Playing());
        viewer->SpeedButton5Click(); // "Начало"
        viewer->SpeedButton3Click(); // "Следующ."
        viewer->SpeedButton3Click();
        QCOMPARE(player->position, 50);
        viewer->SpeedButton2Click(); // "Предыд."
        QCOMPARE(player->position, 25);
        viewer->SpeedButton4Click(); // "Конец"
        QCOMPARE(player->calls,
                 QStringList({stop, stop, QStringLiteral("SeekToStart"), stop,
                              QStringLiteral("Step 25"), stop, QStringLiteral("Step 25"), stop,
                              QStringLiteral("Step -25"), stop, QStringLiteral("SeekToEnd")}));
        QCOMPARE(viewer->Position().Frame(), std::optional<int>(250));

        // At the end "Следующ." starts again from the start before stepping; so it does when
        // playback has run to its end.
        const QStringList restart = {stop, QStringLiteral("SeekToStart"),
                                     QStringLiteral("Step 25")};
        player->calls.clear();
        viewer->SpeedButton3Click();
        QCOMPARE(player->calls, restart);
        QCOMPARE(player->position, 25);
        viewer->SpeedButton7Click();
        player->Finish();
        player->calls.clear();
        viewer->SpeedButton3Click();
        QCOMPARE(player->calls, restart);
        QCOMPARE(player->position, 25);

        // "СТАРТ" after "Конец" opens the fragment again and plays it from its start.
        viewer->SpeedButton4Click();
        player->calls.clear();
        viewer->SpeedButton7Click();
        QCOMPARE(player->calls, QStringList({QStringLiteral("Open"), QStringLiteral("Play")}));
        QCOMPARE(player->position, 0);

        // A fragment shorter than ten frames has nothing to step through.
        player->lengthInFrames = 9;
        player->calls.clear();
        viewer->SpeedButton3Click();
        viewer->SpeedButton2Click();
        QVERIFY(player->calls.isEmpty());
    }

    void stepGoesFromWhereThePlayerReallyStands_data() {
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("while it plays") << false;
        QTest::newRow("after Стоп") << true;
    }
    void stepGoesFromWhereThePlayerReallyStands() {
        QFETCH(bool, stopFirst);
        Create();
        TForm9* viewer = FollowLink(QStringLiteral("$film02.avi=012.htm"));
        FakeMediaPlayer* player = Player();
        player->lengthInFrames = 250;
        viewer->SpeedButton7Click(); // "СТАРТ"
        player->position = 120;      // playback has moved on
        if (stopFirst)
            viewer->SpeedButton6Click();
        viewer->SpeedButton3Click(); // "Следующ."
        QCOMPARE(player->position, 145);

        // Played on to the last frame (its end not yet reported): starts again from the start.
        player->position = 250;
        player->calls.clear();
        viewer->SpeedButton3Click();
        QVERIFY(player->calls.contains(QStringLiteral("SeekToStart")));
        QCOMPARE(player->position, 25);
    }

    void noticeDuringATrainingTestOneLineASecond() {
        Create();
        Shell().TrainingActive = 1;
        Shell().ReturnPage = ReturnPage(QStringLiteral("005.htm"));
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(Player()->calls.isEmpty()); // the fragment is never opened
        QVERIFY(Control<QTimer>(viewer, "Timer2")->isActive());
        QCOMPARE(Control<QTimer>(viewer, "Timer2")->interval(), 1000);
        QVERIFY(!Control<QTimer>(viewer, "Timer1")->isActive());
        for (QToolButton* button : viewer->PlaybackButtons())
            QVERIFY(!button->isEnabled());
        QVERIFY(Control<QToolButton>(viewer, "SpeedButton1")->isEnabled());
        QVERIFY(TextbookInUse(false));

        const QList<QLabel*> lines = {Control<QLabel>(viewer, "Label1"),
                                      Control<QLabel>(viewer, "Label2"),
                                      Control<QLabel>(viewer, "Label3")};
        QCOMPARE(Control<QLabel>(viewer, "Label1")->text(),
                 QStringLiteral("При выполнении тренировочного тестирования"));
        QCOMPARE(Control<QLabel>(viewer, "Label2")->text(),
                 QStringLiteral("доступ к просмотру видео закрыт,"));
        QCOMPARE(Control<QLabel>(viewer, "Label3")->text(),
                 QStringLiteral("нажмите кнопку \"ВЫХОД\""));
        for (QLabel* line : lines) {
            QCOMPARE(line->x(), 48);
            QCOMPARE(line->font().pixelSize(), 21);
            QCOMPARE(line->palette().color(QPalette::Active, QPalette::WindowText),
                     QColor(Qt::yellow));
        }
        QCOMPARE(Control<QLabel>(viewer, "Label2")->y() - Control<QLabel>(viewer, "Label1")->y(),
                 40);
        QCOMPARE(Control<QLabel>(viewer, "Label3")->y() - Control<QLabel>(viewer, "Label2")->y(),
                 40);

        // Nothing at one second; the lines at two, three and four; nothing changes after that.
        const QList<int> shownAfter = {0, 1, 2, 3};
        for (int tick = 1; tick <= 4; ++tick) {
            QVERIFY(RunOut(Control<QTimer>(viewer, "Timer2")));
            for (int line = 0; line < 3; ++line)
                QCOMPARE(Shown(lines[line]), line < shownAfter[tick - 1]);
            QCOMPARE(Control<QTimer>(viewer, "Timer2")->isActive(), tick < 4);
        }
        viewer->Timer1Timer(); // a stray start tick plays nothing
        QVERIFY(Player()->calls.isEmpty());

        // "Выход" returns to the page after "=" in the link; the next video link during the
        // same training test shows the notice again from its first line.
        viewer->SpeedButton1Click();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 ReturnPage(QStringLiteral("012.htm")));
        QVERIFY(TextbookInUse(true));
        FreeClosedScreens();
        QVERIFY(!Form9);

        viewer = FollowLink(QStringLiteral("$film03.avi=013.htm"));
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(int(viewer->NoticeTicks), 0);
        QVERIFY(Control<QTimer>(viewer, "Timer2")->isActive());
        for (QLabel* line : {Control<QLabel>(viewer, "Label1"), Control<QLabel>(viewer, "Label2"),
                             Control<QLabel>(viewer, "Label3")})
            QVERIFY(!Shown(line));
        QVERIFY(Player()->calls.isEmpty());

        // Should the test lock the start bar meanwhile, leaving keeps it locked.
        Shell().StartBarLocked = 1;
        viewer->SpeedButton1Click();
        QVERIFY(Form14->isEnabled());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->isEnabled());
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->isEnabled());
    }

    void leavingReturnsToThePageAndFreesTheViewer() {
        Create();
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        QVERIFY(!Form14->StaysOnTop());
        QCOMPARE(Shell().RecreateVideoScreen, 0);
        QVERIFY(TextbookInUse(false));
        viewer->Timer1Timer();
        QPointer<FakeMediaPlayer> player = Player();

        viewer->SpeedButton1Click();
        QVERIFY(!viewer->isVisible());
        QCOMPARE(Shell().RecreateVideoScreen, 1);
        QVERIFY(player->calls.contains(QStringLiteral("Close")));
        QVERIFY(!player->playing);
        QVERIFY(TextbookInUse(true));
        QVERIFY(Form14->StaysOnTop());
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 ReturnPage(QStringLiteral("012.htm")));
        // The page stays through the textbook's activation that follows the viewer.
        Form14->FormActivate();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 ReturnPage(QStringLiteral("012.htm")));

        FreeClosedScreens();
        QVERIFY(!Form9);
        QVERIFY(!player); // freed with the viewer

        // The next link makes a new viewer.
        viewer = FollowLink(QStringLiteral("$film02.avi=014.htm"));
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(Shell().RecreateVideoScreen, 0);
        QCOMPARE(Player()->openedPath, Folder() + QStringLiteral("/images/$film02.avi"));
        QVERIFY(TextbookInUse(false));
    }

    void linkWithoutAReturnPageGoesBackToTheStartPage() {
        Create(QSize(800, 600));
        Shell().ReturnPage.clear();
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi"));
        QVERIFY(viewer && viewer->isVisible());
        viewer->SpeedButton1Click();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 ReturnPage(QStringLiteral("000.htm")));
    }

    void viewerShownAloneSendsTheTextbookToThePlaceholder() {
        Create();
        Form14->OpenPage(ReturnPage(QStringLiteral("012.htm")));
        Shell().VideoFile = Folder() + QStringLiteral("\\images\\$film04.avi");
        Form9->ShowScreen();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(), Form14->PlaceholderPage());
        QCOMPARE(Player()->calls, QStringList{QStringLiteral("Open")});
    }

    void missingFragmentSaysSoAndCanBeLeft() {
        Create();
        TForm9* viewer = FollowLink(QStringLiteral("$film09.avi=012.htm"));
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(Player()->calls.isEmpty()); // nothing to open
        QVERIFY(Shown(Control<QLabel>(viewer, "Label4")));
        QVERIFY(Shown(Control<QLabel>(viewer, "Image2")));
        QCOMPARE(Control<QLabel>(viewer, "Label4")->text(),
                 QStringLiteral("Видеофрагмент не найден:\n$film09.avi\nнажмите кнопку \"Выход\""));
        QVERIFY(Control<QLabel>(viewer, "Label4")->x() +
                    Control<QLabel>(viewer, "Label4")->width() <=
                Control<QFrame>(viewer, "Panel6")->width());
        QVERIFY(!Control<QTimer>(viewer, "Timer1")->isActive());
        for (QToolButton* button : viewer->PlaybackButtons())
            QVERIFY(!button->isEnabled());
        QVERIFY(Control<QToolButton>(viewer, "SpeedButton1")->isEnabled());
        QVERIFY(TextbookInUse(false));

        viewer->Timer1Timer();
        viewer->SpeedButton3Click();
        QVERIFY(Player()->calls.isEmpty());

        viewer->SpeedButton1Click();
        QVERIFY(TextbookInUse(true));
        QCOMPARE(Shell().RecreateVideoScreen, 1);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 ReturnPage(QStringLiteral("012.htm")));
    }

    void fragmentThatCannotBePlayedSaysSo() {
        Create();
        // The player cannot open it.
        SetMediaPlayerFactory([](QObject* parent) {
            auto* player = new FakeMediaPlayer(parent);
            player->failOpen = true;
            return static_cast<MediaPlayer*>(player);
        });
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        FakeMediaPlayer::Install();
        QCOMPARE(Player()->calls, QStringList{QStringLiteral("Open")});
        QVERIFY(Shown(Control<QLabel>(viewer, "Label4")));
        QVERIFY(Control<QLabel>(viewer, "Label4")
                    ->text()
                    .startsWith(
                        QStringLiteral("Видеофрагмент не удается воспроизвести:\n$film01.avi\n")));
        QVERIFY(!Control<QTimer>(viewer, "Timer1")->isActive());
        QVERIFY(!Control<QToolButton>(viewer, "SpeedButton7")->isEnabled());
        viewer->SpeedButton1Click();
        QVERIFY(TextbookInUse(true));
        FreeClosedScreens();

        // It opens but fails while playing: the picture goes, the cover and the text come back.
        viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        FakeMediaPlayer* player = Player();
        viewer->Timer1Timer();
        QCOMPARE(player->displayWidget, Control<QFrame>(viewer, "Panel6"));
        player->failOpen = true;
        player->Finish();
        QCOMPARE(player->displayWidget, nullptr);
        QVERIFY(Shown(Control<QLabel>(viewer, "Image2")));
        QVERIFY(Shown(Control<QLabel>(viewer, "Label4")));
        QVERIFY(Control<QLabel>(viewer, "Label4")
                    ->text()
                    .contains(QStringLiteral("не удается воспроизвести")));
        for (QToolButton* button : viewer->PlaybackButtons())
            QVERIFY(!button->isEnabled());
        QVERIFY(TextbookInUse(false));
    }

    void closedOtherwiseGivesTheTextbookBack() {
        Create();
        TForm9* viewer = FollowLink(QStringLiteral("$film01.avi=012.htm"));
        QVERIFY(viewer->windowHandle());
        viewer->Timer1Timer();
        QVERIFY(TextbookInUse(false));
        QVERIFY(viewer->windowHandle()->close());
        QVERIFY(!viewer->isVisible());
        QCOMPARE(Shell().RecreateVideoScreen, 1);
        QVERIFY(TextbookInUse(true));
        QVERIFY(Form14->StaysOnTop());
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 ReturnPage(QStringLiteral("012.htm")));
        QVERIFY(Player()->calls.contains(QStringLiteral("Close")));
        FreeClosedScreens();
        QVERIFY(!Form9);
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    VideoViewerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_video_viewer.moc"
