// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the test settings typed on the administration screen.
#include "tests/test_settings.h"

#include <QtTest>

class TestSettingsReading : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsCountAndSeconds_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<int>("fileCount");
        QTest::addColumn<int>("expectedCount");
        QTest::addColumn<int>("expectedSeconds");
        QTest::newRow("defaults") << "10"
                                  << "900" << 40 << 10 << 900;
        QTest::newRow("capped at the file") << "50"
                                            << "60" << 40 << 40 << 60;
        QTest::newRow("equal to the file") << "40"
                                           << "60" << 40 << 40 << 60;
        QTest::newRow("one question") << "1"
                                      << "60" << 40 << 1 << 60;
        QTest::newRow("one-question file") << "10"
                                           << "60" << 1 << 1 << 60;
        QTest::newRow("leading blanks and sign") << "  +7"
                                                 << " -5" << 40 << 7 << -5;
        QTest::newRow("zero seconds run out at once") << "3"
                                                      << "0" << 40 << 3 << 0;
    }
    void readsCountAndSeconds() {
        QFETCH(QString, count);
        QFETCH(QString, seconds);
        QFETCH(int, fileCount);
        QFETCH(int, expectedCount);
        QFETCH(int, expectedSeconds);
        const SettingsReading reading = ReadTestSettings(count, seconds, fileCount);
        QVERIFY2(reading.ok, qPrintable(reading.message));
        QCOMPARE(reading.QuestionCount, expectedCount);
        QCOMPARE(reading.Seconds, expectedSeconds);
        QVERIFY(reading.message.isEmpty());
    }

    void refusesWhatCannotStartATest_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<int>("fileCount");
        QTest::addColumn<QString>("message");
        QTest::newRow("count not a number")
            << "десять"
            << "900" << 40 << "'десять' is not a valid integer value";
        QTest::newRow("count empty") << ""
                                     << "900" << 40 << "'' is not a valid integer value";
        QTest::newRow("count with trailing text")
            << "10 "
            << "900" << 40 << "'10 ' is not a valid integer value";
        QTest::newRow("count too large")
            << "2147483648"
            << "900" << 40 << "'2147483648' is not a valid integer value";
        // Settings are signed decimal numbers: no "$" or "0x" prefix.
        QTest::newRow("hexadecimal count") << "$A"
                                           << "900" << 40 << "'$A' is not a valid integer value";
        QTest::newRow("hexadecimal seconds")
            << "10"
            << "0x3C" << 40 << "'0x3C' is not a valid integer value";
        QTest::newRow("seconds not a number")
            << "10"
            << "15 мин" << 40 << "'15 мин' is not a valid integer value";
        QTest::newRow("count checked first") << "x"
                                             << "y" << 40 << "'x' is not a valid integer value";
        QTest::newRow("zero questions")
            << "0"
            << "900" << 40 << "Количество вопросов должно быть не меньше 1.";
        QTest::newRow("negative questions")
            << "-3"
            << "900" << 40 << "Количество вопросов должно быть не меньше 1.";
        QTest::newRow("file without questions")
            << "10"
            << "900" << 0 << "В файле вопросов нет ни одного вопроса.";
    }
    void refusesWhatCannotStartATest() {
        QFETCH(QString, count);
        QFETCH(QString, seconds);
        QFETCH(int, fileCount);
        QFETCH(QString, message);
        const SettingsReading reading = ReadTestSettings(count, seconds, fileCount);
        QVERIFY(!reading.ok);
        QCOMPARE(reading.message, message);
    }
};

QTEST_GUILESS_MAIN(TestSettingsReading)
#include "tst_test_settings.moc"
