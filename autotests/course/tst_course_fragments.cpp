// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every video fragment of the sample course opens in the program's player (Qt Multimedia over
// GStreamer) and has a length, also after a file that failed; one plays to its end.
#include "platform/qt_media_player.h"
#include "test_support.h"

#include <QDir>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

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
        QtMediaPlayer player;
        player.SetDisplay(&display);
        QVERIFY2(player.Open(path), qPrintable(path));
        QVERIFY(!player.Failed());
        QVERIFY(player.LengthInFrames() > 0);
    }

    void aPlayerThatFailedOpensTheNextFragment() {
        QWidget display;
        display.resize(470, 350);
        QtMediaPlayer player;
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
        QtMediaPlayer player;
        player.SetDisplay(&display);
        QVERIFY(player.Open(path));
        QSignalSpy ended(&player, &MediaPlayer::Notify);
        player.Play(true);
        // An event wait: the end of playback arrives as a signal, well before the limit.
        QVERIFY(ended.wait(30000));
        QCOMPARE(ended.count(), 1);
        QVERIFY(!player.Failed());
    }
};

QTEST_MAIN(CourseFragmentsTest)
#include "tst_course_fragments.moc"
