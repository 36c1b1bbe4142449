// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of a control test's data file, on hand-made files in Windows-1251 with CR LF: whole
// files, files cut short at every kind of place, refused files and a failing device.
#include "review/data_file_reader.h"

#include "autotests/support/test_support.h"
#include "platform/text_file.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

namespace {

QByteArray Fixture(const QString& name) {
    QFile file(SourcePath(QStringLiteral("autotests/review/data/") + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FixtureLines(const QString& name) {
    QString text = DecodeCp1251(Fixture(name));
    text.chop(2); // the last CR LF
    return text.split(QStringLiteral("\r\n"));
}

DataFileResult Read(const QByteArray& bytes, ReviewData* data) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadDataFile(&buffer, QStringLiteral("Петров П. П..txt"), data);
}

// Delivers the first `limit` bytes of its data, then fails.
class FailingDevice : public QIODevice {
public:
    FailingDevice(QByteArray data, qint64 limit) : m_data(std::move(data)), m_limit(limit) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }

protected:
    qint64 readData(char* out, qint64 max) override {
        if (m_pos >= m_limit) {
            setErrorString(QStringLiteral("сбой чтения"));
            return -1;
        }
        const qint64 n = std::min(max, m_limit - m_pos);
        memcpy(out, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_limit;
    qint64 m_pos = 0;
};

const QString kWhole = QStringLiteral("three_questions.txt");

} // namespace

class DataFileReaderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsAWholeTest();
    void correctAnswerWithoutItemsEndsItsRecord();
    void blankLinesMarkersAndSeveralCountLines();
    void wrappedTextsAndFilesWrittenBeforeWrapping();
    void linesLongerThanAPieceOfTheFile();
    void cutFilesKeepTheCompleteRecords_data();
    void cutFilesKeepTheCompleteRecords();
    void refusedFilesLeaveNothing_data();
    void refusedFilesLeaveNothing();
    void inputOutputErrors();
};

void DataFileReaderTest::readsAWholeTest() {
    const QByteArray bytes = Fixture(kWhole);
    QVERIFY(bytes.contains("\xC2\xEE\xEF\xF0\xEE\xF1 1\r\n.\r\n")); // "Вопрос 1" in Windows-1251
    const QStringList lines = FixtureLines(kWhole);
    ReviewData data;
    data.ReviewHeader = QStringLiteral("старое");
    const DataFileResult result = Read(bytes, &data);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(data.ReviewCount, 3);
    QCOMPARE(data.ReviewItems.size(), 3);
    // The header line and the totals line, each followed by one blank.
    QCOMPARE(data.ReviewHeader, lines.first() + u' ' + lines.at(52) + u' ');

    const ReviewItem& first = data.Item(1);
    QCOMPARE(first.Heading, QStringLiteral("Вопрос 1 "));
    QCOMPARE(first.QuestionText, lines.at(6) + u' ');
    QCOMPARE(first.Media, QStringLiteral("0"));
    QCOMPARE(first.OptionCount(), 3);
    QCOMPARE(first.OptionText[2],
             QStringLiteral("Государственную, муниципальную, частную и общественную  "));
    QCOMPARE(first.OptionText[3], QStringLiteral("0"));
    QCOMPARE(first.OptionIsPicture, (std::array<bool, 5>{}));
    QCOMPARE(first.GivenAnswer, lines.at(14) + u' ');
    QCOMPARE(first.CorrectAnswer, QStringLiteral("Правильный ответ: [1]- (балл за ответ: 100),  "));
    QCOMPARE(first.AnswerPoints, QStringLiteral("Набрано баллов за ответ: 0 "));

    const ReviewItem& second = data.Item(2);
    QCOMPARE(second.Media, QStringLiteral("\\q_map.bmp"));
    QVERIFY(second.HasMedia() && !second.IsVideo());
    QCOMPARE(second.OptionIsPicture, (std::array<bool, 5>{true, true, false, false, false}));
    QCOMPARE(second.OptionText[0], QStringLiteral("!opt_unipolar.bmp  "));
    QCOMPARE(second.GivenAnswer, QStringLiteral("Ваш ответ: ответа не было, "));
    QVERIFY(data.Item(3).IsVideo());

    // Outside 1..ReviewCount there is only the mark of absence.
    for (const int r : {0, 4, 2701})
        QVERIFY(!data.Item(r).IsFilled() && data.Item(r).OptionText[0] == QStringLiteral("0"));
}

void DataFileReaderTest::correctAnswerWithoutItemsEndsItsRecord() {
    // With no option worth points the "&" stands at the end of the correct-answer line.
    ReviewData data;
    QVERIFY(Read(Fixture(QStringLiteral("one_question_no_points.txt")), &data).ok());
    QCOMPARE(data.Item(1).CorrectAnswer, QStringLiteral("Правильный ответ:  "));
    QCOMPARE(data.Item(1).AnswerPoints, QStringLiteral("Набрано баллов за ответ: 0 "));
    QVERIFY(data.ReviewHeader.endsWith(QStringLiteral("это составляет  0.0% ")));

    // Within a longer file the records after it are read as they were written.
    QStringList lines = FixtureLines(kWhole);
    lines[16] = QStringLiteral("Правильный ответ: &");
    lines.removeAt(17);
    QVERIFY(Read(Cp1251File(lines), &data).ok());
    QCOMPARE(data.ReviewCount, 3);
    QCOMPARE(data.Item(1).CorrectAnswer, QStringLiteral("Правильный ответ:  "));
    QCOMPARE(data.Item(2).Heading, QStringLiteral("Вопрос 2 "));
    QCOMPARE(data.Item(3).Media, QStringLiteral("\\$film01.avi"));
}

void DataFileReaderTest::blankLinesMarkersAndSeveralCountLines() {
    // An empty line joins as a blank; a marker is the first character whatever follows it; the
    // last count line counts; lines after "@" are not read.
    const QStringList lines =
        QStringLiteral("заголовок||.|5| 1|.x|Вопрос 1|.|123456789Текст||..||,,|Да|.,|Ответ|#|"
                       "Верно|&&|10|$|$ ещё|итог|@|после конца")
            .split(u'|');
    ReviewData data;
    const DataFileResult result = Read(Cp1251File(lines), &data);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(data.ReviewHeader, QStringLiteral("заголовок  итог "));
    QCOMPARE(data.ReviewCount, 1);
    const ReviewItem& item = data.Item(1);
    QCOMPARE(item.QuestionText, QStringLiteral("123456789Текст  "));
    QCOMPARE(item.OptionText[0], QStringLiteral(" "));
    QCOMPARE(item.OptionText[1], QStringLiteral("Да "));
    QCOMPARE(item.OptionCount(), 2);
    QCOMPARE(item.AnswerPoints, QStringLiteral("10 "));

    // A count of 0 reads no record and goes on to the totals.
    QVERIFY(Read(Cp1251File(QStringLiteral("з|.|0|.|итог|@").split(u'|')), &data).ok());
    QCOMPARE(data.ReviewCount, 0);
    QCOMPARE(data.ReviewHeader, QStringLiteral("з итог "));
    // Empty lines in the count block hold no number and are passed over.
    const DataFileResult blanks =
        Read(Cp1251File(QStringLiteral("з|.||7|0||.|итог|@").split(u'|')), &data);
    QVERIFY2(blanks.ok(), qPrintable(blanks.message));
    QCOMPARE(data.ReviewCount, 0);
}

void DataFileReaderTest::wrappedTextsAndFilesWrittenBeforeWrapping() {
    // The option "...все перечисленное " as files hold it now (wrapped in dots) and as they held
    // it before: there its line ended the options, and it still does.
    const QString record = QStringLiteral(
        "заголовок|.|1|.|Вопрос 1|.|%1|.|Да |,|%2|.|Вы ответили: |#|Правильный ответ: |&|"
        "Набрано баллов за ответ: 0|$|итог|@");
    ReviewData data;
    QVERIFY(
        Read(Cp1251File(
                 record.arg(QStringLiteral(".\\фон ."), QStringLiteral("....все перечисленное ."))
                     .split(u'|')),
             &data)
            .ok());
    QCOMPARE(data.Item(1).QuestionText, QStringLiteral("\\фон  "));
    QVERIFY(!data.Item(1).HasMedia());
    QCOMPARE(data.Item(1).OptionCount(), 2);
    QCOMPARE(data.Item(1).OptionText[1], QStringLiteral("...все перечисленное  "));
    QCOMPARE(data.Item(1).GivenAnswer, QStringLiteral("Вы ответили:  "));

    QVERIFY(
        Read(Cp1251File(
                 record.arg(QStringLiteral(" №1. Текст "), QStringLiteral("...все перечисленное "))
                     .split(u'|')),
             &data)
            .ok());
    QCOMPARE(data.Item(1).OptionCount(), 2);
    QCOMPARE(data.Item(1).OptionText[1], QString());
    QCOMPARE(data.Item(1).GivenAnswer, QStringLiteral(". Вы ответили:  "));
}

void DataFileReaderTest::linesLongerThanAPieceOfTheFile() {
    // The reader takes the file 64 KiB at a time: a question text whose line end falls on
    // either side of that border, or is split by it, reads whole, and so does all after it.
    QStringList lines = FixtureLines(kWhole);
    const qsizetype before = Cp1251File(lines.mid(0, 6)).size();
    for (qsizetype length = 65536 - before - 3; length <= 65536 - before + 1; ++length) {
        const QString text = QStringLiteral("Вопрос ") + QString(length - 7, u'ж');
        lines[6] = text;
        ReviewData data;
        const DataFileResult result = Read(Cp1251File(lines), &data);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(data.ReviewCount, 3);
        QCOMPARE(data.Item(1).QuestionText, text + u' ');
        QCOMPARE(data.Item(1).OptionCount(), 3);
        QCOMPARE(data.Item(3).Media, QStringLiteral("\\$film01.avi"));
        QCOMPARE(data.ReviewHeader, lines.first() + u' ' + lines.at(52) + u' ');
    }
}

void DataFileReaderTest::cutFilesKeepTheCompleteRecords_data() {
    QTest::addColumn<int>("keptLines");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("says");
    QTest::newRow("after the count") << 4 << 5 << 0 << QStringLiteral("сразу после количества");
    QTest::newRow("inside heading 1")
        << 5 << 6 << 0 << QStringLiteral("вопроса 1, которая начинается в строке 5");
    QTest::newRow("inside options 2")
        << 27 << 28 << 1 << QStringLiteral("вопроса 2, которая начинается в строке 21");
    QTest::newRow("before points 3")
        << 50 << 51 << 2 << QStringLiteral("записано вопросов: 2 из 3");
    QTest::newRow("after record 3") << 52 << 53 << 3 << QStringLiteral("нет итоговой строки");
    QTest::newRow("totals without @") << 53 << 54 << 3 << QStringLiteral("нет итоговой строки");
}

void DataFileReaderTest::cutFilesKeepTheCompleteRecords() {
    QFETCH(int, keptLines);
    QFETCH(int, line);
    QFETCH(int, records);
    QFETCH(QString, says);
    const QStringList whole = FixtureLines(kWhole);
    QByteArray bytes = Cp1251File(whole.mid(0, keptLines));
    for (const bool lastLineEnd : {true, false}) {
        if (!lastLineEnd)
            bytes.chop(2);
        ReviewData data;
        const DataFileResult result = Read(bytes, &data);
        QCOMPARE(result.status, DataFileResult::Status::Truncated);
        QVERIFY(result.usable());
        QCOMPARE(result.line, line);
        QCOMPARE(result.declaredCount, 3);
        QVERIFY2(result.message.contains(QStringLiteral("строка %1: ").arg(line)) &&
                     result.message.contains(says),
                 qPrintable(result.message));
        QCOMPARE(data.ReviewCount, records);
        QCOMPARE(data.ReviewItems.size(), records);
        if (records > 0)
            QCOMPARE(data.Item(records).Heading, QStringLiteral("Вопрос %1 ").arg(records));
        const QString totals = keptLines == 53 ? whole.at(52) + u' ' : QString();
        QCOMPARE(data.ReviewHeader, whole.first() + u' ' + totals);
    }
}

void DataFileReaderTest::refusedFilesLeaveNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    const QStringList whole = FixtureLines(kWhole);
    const auto count = [&whole](const QString& text) {
        QStringList lines = whole;
        lines[2] = text;
        return Cp1251File(lines);
    };
    const int malformed = int(DataFileResult::Status::Malformed);
    const int invalid = int(DataFileResult::Status::InvalidInteger);
    QTest::newRow("empty file") << QByteArray() << malformed << 1
                                << QStringLiteral("строка 1: файл закончился внутри заголовка");
    QTest::newRow("header only") << Cp1251File(whole.mid(0, 1)) << malformed << 2
                                 << QStringLiteral("строка 2: файл закончился внутри заголовка");
    QTest::newRow("count unclosed") << Cp1251File(whole.mid(0, 3)) << malformed << 4
                                    << QStringLiteral("строка 4: файл закончился внутри блока");
    QTest::newRow("count not a number")
        << count(QStringLiteral("три")) << int(DataFileResult::Status::InvalidInteger) << 3
        << QStringLiteral("'три' is not a valid integer value");
    // The count is a signed decimal number; the message shows the line on one line.
    QTest::newRow("count hexadecimal") << count(QStringLiteral("$3")) << invalid << 3
                                       << QStringLiteral("'$3' is not a valid integer value");
    QTest::newRow("count 0x") << count(QStringLiteral("0x2D")) << invalid << 3
                              << QStringLiteral("'0x2D' is not a valid integer value");
    QTest::newRow("count ended by CR CR LF")
        << count(QStringLiteral("3\r")) << invalid << 3
        << QStringLiteral("'3\\r' is not a valid integer value");
    QTest::newRow("count above 2700") << count(QStringLiteral("2701")) << malformed << 3
                                      << QStringLiteral("строка 3: объявлено вопросов: 2701");
    QTest::newRow("negative count") << count(QStringLiteral("-1")) << malformed << 3
                                    << QStringLiteral("строка 3: количество вопросов не может");
    // Record 1 with six options: reading stops at the "," after the fifth.
    QStringList six = whole.mid(0, 13);
    for (int k = 0; k < 3; ++k)
        six << QStringLiteral(",") << QStringLiteral("ещё вариант %1").arg(k);
    QTest::newRow("six options") << Cp1251File(six + whole.mid(13)) << malformed << 18
                                 << QStringLiteral("строка 18: в записи вопроса 1 больше 5");
}

void DataFileReaderTest::refusedFilesLeaveNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(int, line);
    QFETCH(QString, message);
    ReviewData data;
    QVERIFY(Read(Fixture(kWhole), &data).ok());
    const DataFileResult result = Read(bytes, &data);
    QCOMPARE(int(result.status), status);
    QVERIFY(!result.usable());
    QCOMPARE(result.line, line);
    QVERIFY2(result.message.contains(message), qPrintable(result.message));
    QVERIFY(data.ReviewCount == 0 && data.ReviewItems.isEmpty() && data.ReviewHeader.isEmpty());
}

void DataFileReaderTest::inputOutputErrors() {
    const QByteArray bytes = Fixture(kWhole);
    for (const qint64 limit : {qint64(0), qint64(150), qint64(bytes.size() / 2)}) {
        FailingDevice device(bytes, limit);
        ReviewData data;
        const DataFileResult result = ReadDataFile(&device, QStringLiteral("отчёт.txt"), &data);
        QCOMPARE(result.status, DataFileResult::Status::ReadError);
        QVERIFY(result.message.startsWith(QStringLiteral("Ошибка ввода-вывода: отчёт.txt")));
        QVERIFY(result.message.contains(QStringLiteral("сбой чтения")));
        QVERIFY(data.ReviewCount == 0 && data.ReviewItems.isEmpty());
    }
    ReviewData data;
    const DataFileResult missing =
        ReadDataFile(QStringLiteral("/nonexistent/otchet/data1/Петров.txt"), &data);
    QCOMPARE(missing.status, DataFileResult::Status::CannotOpen);
    QVERIFY(missing.message.startsWith(QStringLiteral("Ошибка ввода-вывода")));
}

QTEST_GUILESS_MAIN(DataFileReaderTest)
#include "tst_data_file_reader.moc"
