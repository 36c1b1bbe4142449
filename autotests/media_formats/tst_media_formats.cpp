// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Video fragments in the formats course materials come in (AVI with the old Windows codecs,
// Windows Media, MPEG-1, WebM, MP4): a tiny clip of each is made with ffmpeg and played to its
// end through the player the screens use, showing its pictures in a display widget.
#include "platform/media_player.h"

#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {
constexpr int kWidth = 128; // 128 x 96 is the smallest picture H.263 allows
constexpr int kHeight = 96;
} // namespace

class MediaFormatsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        m_ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (m_ffmpeg.isEmpty())
            QSKIP("ffmpeg is not installed: the clips cannot be made");
        QVERIFY(m_dir.isValid());
        SetMediaPlayerFactory({}); // the real player
    }

    void playsToItsEnd_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("encoder");
        QTest::addColumn<QString>("seconds");
        const auto row = [](const char* name, const char* file, QStringList encoder,
                            const char* seconds = "0.5") {
            QTest::newRow(name) << QString::fromLatin1(file) << encoder
                                << QString::fromLatin1(seconds);
        };
        row("MJPEG in AVI", "mjpeg.avi", {"-c:v", "mjpeg", "-pix_fmt", "yuvj420p"});
        row("MPEG-4 Visual (Xvid) in AVI", "mpeg4.avi", {"-c:v", "mpeg4", "-vtag", "XVID"});
        row("MS-MPEG4 v2 in AVI", "msmpeg4v2.avi", {"-c:v", "msmpeg4v2"});
        row("MS-MPEG4 v3 in AVI", "msmpeg4v3.avi", {"-c:v", "msmpeg4"});
        row("Cinepak in AVI", "cinepak.avi", {"-c:v", "cinepak"});
        row("H.263 in 3GP", "h263.3gp", {"-c:v", "h263"});
        row("VP8 in WebM", "vp8.webm", {"-c:v", "libvpx"});
        row("H.264 in MP4", "h264.mp4", {"-c:v", "libx264", "-pix_fmt", "yuv420p"});
        row("H.264 in AVI", "h264.avi", {"-c:v", "libx264", "-pix_fmt", "yuv420p"});
        row("WMV 8 in ASF", "wmv2.wmv", {"-c:v", "wmv2"});
        // The system stream starts its clock half a second in (the muxer's preload): a clip
        // must be longer than that to show a picture.
        row("MPEG-1 system stream", "mpeg1.mpg", {"-c:v", "mpeg1video", "-f", "mpeg"}, "1");
    }

    void playsToItsEnd() {
        QFETCH(QString, file);
        QFETCH(QStringList, encoder);
        QFETCH(QString, seconds);
        const QString path = m_dir.filePath(file);
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start(m_ffmpeg, QStringList{"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                           QStringLiteral("testsrc2=size=%1x%2:rate=25:duration=%3")
                                               .arg(kWidth)
                                               .arg(kHeight)
                                               .arg(seconds)} +
                                   encoder + QStringList{path});
        QVERIFY(ffmpeg.waitForFinished(60000));
        QVERIFY2(ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0,
                 ffmpeg.readAll().constData());

        QWidget display;
        display.resize(kWidth, kHeight);
        display.show();
        MediaPlayer* player = CreateMediaPlayer(&display);
        QVERIFY2(player->Open(path), "the player cannot open it (a GStreamer decoder missing?)");
        QVERIFY(player->LengthInFrames() > 0);
        player->SetDisplay(&display);
        player->SetDisplayRect(display.rect());
        QSignalSpy ended(player, &MediaPlayer::Notify);
        player->Play(true);
        // An event wait: the end of playback arrives as a signal, well before the limit.
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.count(), 1);
        QVERIFY2(!player->Failed(), "the player reported an error instead of the end");
        const QImage last = player->LastFrame();
        QVERIFY2(!last.isNull(), "no picture was decoded");
        QCOMPARE(last.size(), QSize(kWidth, kHeight));
        player->Close();
    }

private:
    QString m_ffmpeg;
    QTemporaryDir m_dir;
};

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MediaFormatsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_media_formats.moc"
