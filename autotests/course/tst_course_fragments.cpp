// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every video fragment of the sample course opens in the program's player (a GStreamer pipeline
// of its own, on a media thread) and has a length, also after a file that failed; one plays to
// its end; a pipeline that hangs in the open or in the playback never holds the screen.
#include "platform/gst_media_player.h"
#include "test_support.h"

#include <QDir>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <atomic>

class CourseFragmentsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fragmentsOpenWithALength_data() {
        QTest::addColumn<QString>("path");
        const QDir images(SourcePath(QStringLiteral("course/images")));
        const QStringList fragments =
            images.entryList({QStringLiteral("$*.avi")}, QDir::Files, QDir::Name);
        QVERIFY(fragments.size() >= 3);
        for (const QString& name : fragments)
            QTest::newRow(qPrintable(name)) << images.filePath(name);
    }
    void fragmentsOpenWithALength() {
        QFETCH(QString, path);
        QWidget display;
        display.resize(470, 350);
        GstMediaPlayer player;
        player.SetDisplay(&display);
        QVERIFY2(player.Open(path), qPrintable(path));
        QVERIFY(!player.Failed());
        QVERIFY(player.LengthInFrames() > 0);
    }

    void aPlayerThatFailedOpensTheNextFragment() {
        QWidget display;
        display.resize(470, 350);
        GstMediaPlayer player;
        player.SetDisplay(&display);
        QVERIFY(!player.Open(SourcePath(QStringLiteral("course/images/$missing.avi"))));
        QVERIFY(player.Failed());
        QVERIFY(player.Open(SourcePath(QStringLiteral("course/images/$film02.avi"))));
        QVERIFY(!player.Failed());
        QVERIFY(player.LengthInFrames() > 0);
    }

    void aFragmentPlaysToItsEnd() {
        const QString path = SourcePath(QStringLiteral("course/images/$film01.avi"));
        QWidget display;
        display.resize(470, 350);
        display.show();
        GstMediaPlayer player;
        player.SetDisplay(&display);
        QVERIFY(player.Open(path));
        QSignalSpy ended(&player, &MediaPlayer::Notify);
        player.Play(true);
        // An event wait: the end of playback arrives as a signal, well before the limit.
        QVERIFY(ended.wait(30000));
        QCOMPARE(ended.count(), 1);
        QVERIFY(!player.Failed());
    }

    // Opening a file while the one before is still being prerolled is where the pipeline of
    // the former player could hang; every request returns at once, and the last file plays.
    void reopeningWhileAFragmentIsStillOpeningNeverWaits() {
        const QDir images(SourcePath(QStringLiteral("course/images")));
        const QStringList fragments = images.entryList({QStringLiteral("$*.avi")}, QDir::Files);
        QVERIFY(!fragments.isEmpty());
        QWidget display;
        display.resize(470, 350);
        display.show();
        GstMediaPlayer player;
        player.SetDisplay(&display);
        for (int round = 0; round < 40; ++round) {
            player.Prepare(images.filePath(fragments[round % fragments.size()]));
            if (round % 3 == 0) {
                player.Play(false);
                QCoreApplication::processEvents();
            }
            if (round % 7 == 0)
                player.Close();
        }
        QVERIFY(player.Open(images.filePath(fragments.first())));
        // Players made later, as by the screens of the next tests, use the same pipeline.
        const int pipelines = GstMediaPlayer::PipelinesMade();
        for (const QString& name : fragments) {
            GstMediaPlayer later;
            later.SetDisplay(&display);
            QVERIFY(later.Open(images.filePath(name)));
        }
        QCOMPARE(GstMediaPlayer::PipelinesMade(), pipelines);
        QVERIFY(player.Open(images.filePath(fragments.first())));
        QSignalSpy ended(&player, &MediaPlayer::Notify);
        QSignalSpy shown(&player, &GstMediaPlayer::FirstFrameShown);
        player.Play(true);
        QVERIFY(ended.wait(30000));
        QVERIFY(!player.Failed());
        QVERIFY(!shown.isEmpty());
        QVERIFY(!player.LastFrame().isNull());
    }

    // A pipeline that hangs (its thread held here, as a deadlock in GStreamer would hold it)
    // never holds the screen: the requests return, the time limit fails the fragment, its end
    // comes as with a broken fragment, and the next fragment plays on a new pipeline.
    void aHangingPipelineNeverHoldsTheScreen() {
        const QString path = SourcePath(QStringLiteral("course/images/$film01.avi"));
        QSemaphore entered;
        QSemaphore release;
        GstMediaPlayer::SetMediaThreadHookForTesting([&] {
            entered.release();
            release.acquire();
        });
        {
            QWidget display;
            display.resize(470, 350);
            GstMediaPlayer player;
            player.SetDisplay(&display);
            player.Prepare(path);
            // The media thread now hangs in the open, as in a deadlock inside GStreamer.
            QVERIFY(entered.tryAcquire(1, 30000));
            GstMediaPlayer::SetMediaThreadHookForTesting({});
            for (int i = 0; i < 5; ++i) {
                player.Play(true);
                player.Stop();
                player.SeekToStart();
                player.Prepare(path);
            }
            QVERIFY(!player.Settled());
            QSignalSpy ended(&player, &MediaPlayer::Notify);
            player.Play(true);
            QVERIFY(RunOut(player.findChild<QTimer*>(QStringLiteral("OpenLimit"))));
            QVERIFY(player.Settled());
            QVERIFY(player.Failed());
            QVERIFY(ended.wait(30000)); // an event, not a wait for the clock
            QCOMPARE(ended.count(), 1);

            // The next fragment goes to a new pipeline while the first still hangs.
            GstMediaPlayer next;
            next.SetDisplay(&display);
            QVERIFY(next.Open(path));
            QVERIFY(!next.Failed());
            QVERIFY(next.LengthInFrames() > 0);
        }
        release.release();
    }

    // A pipeline that opened and then hangs at the start of playback (or never reports its end)
    // gives no more pictures: the playback's time limit ends the fragment as a broken one, its
    // display shows what stands behind the picture, and the next fragment plays on a new
    // pipeline. A player held by "Стоп" is not watched.
    void aPipelineThatHangsInPlaybackEndsTheFragment() {
        const QString path = SourcePath(QStringLiteral("course/images/$film01.avi"));
        QSemaphore entered;
        QSemaphore release;
        // The media thread comes free once the player has left it, also after a failed check.
        const auto unhold = qScopeGuard([&] {
            GstMediaPlayer::SetMediaThreadHookForTesting({});
            release.release(100);
        });
        {
            QWidget display;
            display.resize(470, 350);
            display.show();
            GstMediaPlayer player;
            player.SetDisplay(&display);
            QVERIFY(player.Open(path));
            auto* limit = player.findChild<QTimer*>(QStringLiteral("PlayLimit"));
            QVERIFY(limit != nullptr);
            GstMediaPlayer::SetMediaThreadHookForTesting([&] {
                entered.release();
                release.acquire();
            });
            QSignalSpy ended(&player, &MediaPlayer::Notify);
            player.Play(true);
            // The media thread now hangs in the request to play.
            QVERIFY(entered.tryAcquire(1, 30000));
            GstMediaPlayer::SetMediaThreadHookForTesting({});
            QVERIFY(limit->isActive());
            player.Stop();
            QVERIFY(!limit->isActive());
            player.Play(true);
            const int pipelines = GstMediaPlayer::PipelinesMade();
            QVERIFY(RunOut(limit));
            QVERIFY(player.Failed());
            QCOMPARE(ended.count(), 1);
            for (const QWidget* child : display.findChildren<QWidget*>())
                QVERIFY(!child->isVisible());
            QVERIFY(player.LastFrame().isNull());
            QVERIFY(!limit->isActive());

            GstMediaPlayer next;
            next.SetDisplay(&display);
            QVERIFY(next.Open(path));
            QVERIFY(!next.Failed());
            QCOMPARE(GstMediaPlayer::PipelinesMade(), pipelines + 1);
        }
    }
};

QTEST_MAIN(CourseFragmentsTest)
#include "tst_course_fragments.moc"
