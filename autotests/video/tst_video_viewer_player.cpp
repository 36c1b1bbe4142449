// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The video viewer with the real player (the program's own GStreamer pipeline): a fragment of the
// sample course opened from a textbook video link plays to its end in the viewer's display area.
#include "app/test.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "platform/media_player.h"
#include "screens_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class VideoViewerPlayerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { PrepareScreenTests(); }

    void courseFragmentPlaysToItsEnd() {
        ScreensFixture screens;
        const QString folder = SourcePath(QStringLiteral("course"));
        Shell().ProgramFolder = folder;
        Form14->show();
        Form14->WebBrowser1BeforeNavigate2(folder + QStringLiteral("/html/$film01.avi=012.htm"));
        TForm9* viewer = Form9;
        QVERIFY(viewer && viewer->isVisible());

        // Opened, waiting for the cover's second.
        MediaPlayer* player = Control<MediaPlayer>(viewer, "MediaPlayer1");
        QVERIFY(!player->Failed());
        QVERIFY(Control<QLabel>(viewer, "Label4")->isHidden());
        QVERIFY(Control<QTimer>(viewer, "Timer1")->isActive());
        QVERIFY(player->LengthInFrames() > 0);

        QSignalSpy ended(player, &MediaPlayer::Notify);
        viewer->Timer1Timer();
        QVERIFY(Control<QLabel>(viewer, "Image2")->isHidden());
        QVERIFY(viewer->Playing());
        // An event wait: the end of playback arrives as a signal, well before the limit.
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.count(), 1);
        QVERIFY(!player->Failed());
        QVERIFY(!viewer->Playing());
        QVERIFY(viewer->Position().AtEnd());
        QVERIFY(Control<QLabel>(viewer, "Label4")->isHidden());
        QVERIFY(!player->LastFrame().isNull());

        // The way back closes the player and frees the viewer.
        viewer->SpeedButton1Click();
        QCOMPARE(Shell().RecreateVideoScreen, 1);
        QVERIFY(Form14->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Form9);
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    VideoViewerPlayerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_video_viewer_player.moc"
