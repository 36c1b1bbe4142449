// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding, data paths, integer texts and the Windows-1251 CR LF text layer.
#include "platform/display_scale.h"
#include "platform/integer_text.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A device that accepts writes until a byte budget is spent, then fails.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 budget) : m_budget(budget) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        if (len > m_budget)
            return -1;
        m_budget -= len;
        written.append(data, len);
        return len;
    }

private:
    qint64 m_budget;
};
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A display scaled below 800 x 600 is scaled less, never below its own pixels.
    void scaleShrink_data() {
        QTest::addColumn<QSize>("logical");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("shrink");
        QTest::newRow("1920x1080 at 200 %") << QSize(960, 540) << 2.0 << 0.9;
        QTest::newRow("1280x720 at 150 %") << QSize(853, 480) << 1.5 << 0.8;
        QTest::newRow("1024x768 at 125 %") << QSize(819, 614) << 1.25 << 1.0;
        QTest::newRow("2560x1440 at 200 %") << QSize(1280, 720) << 2.0 << 1.0;
        QTest::newRow("800x600 at 200 %: its own pixels") << QSize(400, 300) << 2.0 << 0.5;
        QTest::newRow("640x480 unscaled") << QSize(640, 480) << 1.0 << 1.0;
    }
    void scaleShrink() {
        QFETCH(QSize, logical);
        QFETCH(double, scale);
        QFETCH(double, shrink);
        QCOMPARE(ScaleShrink(logical, scale), shrink);
    }
    void roundsHalfToEven_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("half");
        QTest::newRow("1025") << 1025 << 512;
        QTest::newRow("1027") << 1027 << 514;
        QTest::newRow("333 (1024-691)") << 333 << 166;
        QTest::newRow("317 (768-451)") << 317 << 158;
        QTest::newRow("243") << 243 << 122;
        QTest::newRow("218") << 218 << 109;
        QTest::newRow("-1") << -1 << 0;
        QTest::newRow("-3") << -3 << -2;
        QTest::newRow("even") << 800 << 400;
    }
    void roundsHalfToEven() {
        QFETCH(int, value);
        QFETCH(int, half);
        QCOMPARE(HalfOf(value), half);
    }

    void roundsScaledSizes() {
        QCOMPARE(RoundHalfEven(2.5), 2);
        QCOMPARE(RoundHalfEven(3.5), 4);
        QCOMPARE(RoundHalfEven(2.4999), 2);
        QCOMPARE(RoundHalfEven(-2.5), -2);
    }

    void mapsLiteralSeparators() {
        QCOMPARE(DataPath(QStringLiteral("/home/course"), QStringLiteral("\\ortu\\pdb12.db")),
                 QStringLiteral("/home/course/ortu/pdb12.db"));
        QCOMPARE(
            DataPath(QStringLiteral("/c"), QStringLiteral("\\otchet\\print otchet\\Иванов.txt")),
            QStringLiteral("/c/otchet/print otchet/Иванов.txt"));
    }

    void picturesStayInTheImagesFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("stays");
        QTest::newRow("plain") << QStringLiteral("q_map.bmp") << true;
        QTest::newRow("video") << QStringLiteral("$film01.avi") << true;
        QTest::newRow("option picture") << QStringLiteral("!a.jpg") << true;
        QTest::newRow("subfolder") << QStringLiteral("sub\\a.jpg") << true;
        QTest::newRow("dots inside a name") << QStringLiteral("a..b.jpg") << true;
        QTest::newRow("up") << QStringLiteral("..\\..\\secret.png") << false;
        QTest::newRow("up with slashes") << QStringLiteral("x/../../secret.png") << false;
        QTest::newRow("up at the end") << QStringLiteral("sub\\..") << false;
        QTest::newRow("dots Windows drops") << QStringLiteral("... \\secret.png") << false;
        QTest::newRow("root") << QStringLiteral("\\secret.png") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
        QTest::newRow("server") << QStringLiteral("\\\\server\\share\\a.png") << false;
        QTest::newRow("drive") << QStringLiteral("C:\\secret.png") << false;
        QTest::newRow("drive relative") << QStringLiteral("c:secret.png") << false;
        QTest::newRow("device") << QStringLiteral("sub\\Con.jpg") << false;
        QTest::newRow("nul character")
            << QStringLiteral("a.png") + QChar(0) + QStringLiteral("x") << false;
    }
    void picturesStayInTheImagesFolder() {
        QFETCH(QString, name);
        QFETCH(bool, stays);
        QCOMPARE(StaysInImagesFolder(name), stays);
        QCOMPARE(ImagesPath(QStringLiteral("/c"), name).isEmpty(), !stays);
        QCOMPARE(OptionPicturePath(QStringLiteral("/c"), name + QStringLiteral("  ")).isEmpty(),
                 !stays);
    }

    void convertsIntegerTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "900" << true << 900;
        QTest::newRow("leading blanks") << "  12" << true << 12;
        QTest::newRow("negative") << "-5" << true << -5;
        QTest::newRow("plus") << "+7" << true << 7;
        QTest::newRow("dollar hex") << "$1F" << true << 31;
        QTest::newRow("0x hex") << "0x10" << true << 16;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blank only") << "   " << false << 0;
        QTest::newRow("trailing blank") << "12 " << false << 0;
        QTest::newRow("letters") << "десять" << false << 0;
        QTest::newRow("mixed") << "10a" << false << 0;
        QTest::newRow("overflow") << "3000000000" << false << 0;
        QTest::newRow("int min") << "-2147483648" << true << int(-2147483648LL);
    }
    void convertsIntegerTexts() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto result = TextToInteger(text);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, value);
    }

    void namesTheBadIntegerText() {
        QCOMPARE(NotValidIntegerMessage(QStringLiteral("10a")),
                 QStringLiteral("'10a' is not a valid integer value"));
    }

    void readsCp1251Lines() {
        // "Вопрос" in Windows-1251, a CR LF line, a bare LF line, a last line without an end.
        QByteArray bytes("\xC2\xEE\xEF\xF0\xEE\xF1\r\nA\rB\nlast");
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        Cp1251LineReader reader(&buffer);
        QString line;
        QVERIFY(reader.readLine(&line));
        QCOMPARE(line, QStringLiteral("Вопрос"));
        QVERIFY(reader.readLine(&line));
        QCOMPARE(line, QStringLiteral("A\rB"));
        QVERIFY(reader.readLine(&line));
        QCOMPARE(line, QStringLiteral("last"));
        QCOMPARE(reader.lineNumber(), 3);
        QVERIFY(!reader.readLine(&line));
        QVERIFY(line.isEmpty());
    }

    void writesCp1251CrLf() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Cp1251LineWriter writer(&buffer);
        QVERIFY(writer.writeLine(QStringLiteral("Ответ")));
        QVERIFY(writer.writeLine(QString()));
        QCOMPARE(buffer.data(), QByteArray("\xCE\xF2\xE2\xE5\xF2\r\n\r\n"));
        QCOMPARE(buffer.data(), Cp1251File({QStringLiteral("Ответ"), QString()}));
    }

    void reportsAFailedWriteAndEveryLaterOne() {
        FailingDevice device(8);
        Cp1251LineWriter writer(&device);
        QVERIFY(writer.writeLine(QStringLiteral("abc")));   // 5 bytes
        QVERIFY(!writer.writeLine(QStringLiteral("defg"))); // 6 bytes do not fit in 3
        QVERIFY(!writer.ok());
        QVERIFY(!writer.writeLine(QStringLiteral("x"))); // would fit, but the file is broken
        QCOMPARE(device.written, QByteArray("abc\r\n"));
    }

    void writtenFileIsOnDiskAtOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        Cp1251LineWriter writer(&file);
        QVERIFY(writer.writeLine(QStringLiteral("Иванов")));
        // Still open: another reader sees the line already.
        QStringList lines;
        QVERIFY(ReadCp1251Lines(path, &lines));
        QCOMPARE(lines, QStringList{QStringLiteral("Иванов")});
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
