// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The video viewer's rules that need no window: its layout, the frame steps and where the
// player stands for them, and the texts shown for a fragment that cannot be played.
#include "materials/video_viewer_core.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QtTest>

class VideoViewerCoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layoutOfASmallBackdropStaysInside() {
        // The places on real displays are checked with the screen; a backdrop smaller than the
        // margins gives an empty display area, never a negative one.
        const ViewerLayout layout = LayOutViewer(QSize(40, 30));
        QCOMPARE(layout.display, QRect(25, 25, 0, 0));
        QCOMPARE(layout.strip, QPoint(30, 10));
    }

    void frameStepIsATenthOfTheLength_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("step");
        QTest::newRow("250 frames") << 250 << 25;
        QTest::newRow("48 frames") << 48 << 4;
        QTest::newRow("9 frames") << 9 << 0;
        QTest::newRow("unknown") << 0 << 0;
        QTest::newRow("negative") << -20 << 0;
    }
    void frameStepIsATenthOfTheLength() {
        QFETCH(int, length);
        QFETCH(int, step);
        QCOMPARE(FrameStep(length), step);
    }

    void stepsFollowThePlayer() {
        FragmentPosition position;
        position.Opened(250);
        QCOMPARE(position.Frame(), std::optional<int>(0));
        QVERIFY(!position.Step(25));
        QVERIFY(!position.Step(25));
        QCOMPARE(position.Frame(), std::optional<int>(50));
        QVERIFY(!position.Step(-75)); // stops at the start
        QCOMPARE(position.Frame(), std::optional<int>(0));

        // Ten steps forward reach the end; the eleventh starts again from the start.
        for (int i = 0; i < 10; ++i)
            QVERIFY(!position.Step(25));
        QVERIFY(position.AtEnd());
        QVERIFY(position.Step(25));
        QCOMPARE(position.Frame(), std::optional<int>(25));

        // Back from the end does not wrap.
        position.SeekedToEnd();
        QVERIFY(!position.Step(-25));
        QCOMPARE(position.Frame(), std::optional<int>(225));
    }

    void playbackHidesThePositionUntilItEnds() {
        FragmentPosition position;
        position.Opened(100);
        position.PlaybackStarted();
        QVERIFY(position.Playing());
        QVERIFY(!position.Frame());
        // Seeking while playing: the playback goes on from there, the place stays unknown.
        position.SeekedToStart();
        QVERIFY(!position.Frame());
        QVERIFY(!position.Step(10));
        QVERIFY(!position.Frame());

        position.PlaybackEnded();
        QVERIFY(!position.Playing());
        QVERIFY(position.AtEnd());
        QVERIFY(position.Step(10)); // from the end: back to the start first

        position.PlaybackStarted();
        position.PlaybackStopped();
        QVERIFY(!position.Playing());
        QVERIFY(!position.Frame()); // stopped somewhere along the fragment
        QVERIFY(!position.Step(10));
        position.SeekedToStart();
        QCOMPARE(position.Frame(), std::optional<int>(0));

        // Stopping a player that stands still keeps its place.
        position.SeekedToEnd();
        position.PlaybackStopped();
        QVERIFY(position.AtEnd());
    }

    void fragmentNamesAndProblemTexts() {
        QCOMPARE(FragmentName(QStringLiteral("/srv/course\\images\\$film01.avi")),
                 QStringLiteral("$film01.avi"));
        QCOMPARE(FragmentName(QStringLiteral("/srv/course/images/$clip.avi")),
                 QStringLiteral("$clip.avi"));
        QCOMPARE(FragmentName(QStringLiteral("$bare.avi")), QStringLiteral("$bare.avi"));

        const QString leave = QStringLiteral("нажмите кнопку \"Выход\"");
        QCOMPARE(FragmentProblemNotice(FragmentProblem::Missing,
                                       QStringLiteral("/srv\\images\\$film09.avi")),
                 QStringList({QStringLiteral("Видеофрагмент не найден:"),
                              QStringLiteral("$film09.avi"), leave}));
        QCOMPARE(FragmentProblemNotice(FragmentProblem::Unplayable,
                                       QStringLiteral("/srv\\images\\$film02.avi")),
                 QStringList({QStringLiteral("Видеофрагмент не удается воспроизвести:"),
                              QStringLiteral("$film02.avi"), leave}));
        QCOMPARE(FragmentProblemNotice(FragmentProblem::Missing, QString()),
                 QStringList({QStringLiteral("Видеофрагмент не задан,"), leave}));
    }

    void fragmentExistsOnlyAsAFile() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("images/$folder.avi")));
        QFile file(folder.path() + QStringLiteral("/images/$film01.avi"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(FragmentExists(folder.path() + QStringLiteral("\\images\\$film01.avi")));
        QVERIFY(!FragmentExists(folder.path() + QStringLiteral("\\images\\$film02.avi")));
        QVERIFY(!FragmentExists(folder.path() + QStringLiteral("\\images\\$folder.avi")));
        QVERIFY(!FragmentExists(QString()));
    }
};

QTEST_GUILESS_MAIN(VideoViewerCoreTest)
#include "tst_video_viewer_core.moc"
