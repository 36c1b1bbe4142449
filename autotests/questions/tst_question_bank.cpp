// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The question file loader: topic to file, block rules, joins and cuts, points, refusals.

#include "autotests/support/test_support.h"
#include "questions/points_text.h"
#include "questions/question_bank.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// A device that hands out its first `failAfter` bytes and then fails, like a file on a
// removed stick.
class FailingDevice : public QIODevice {
public:
    FailingDevice(QByteArray data, qint64 failAfter)
        : m_data(std::move(data)), m_failAfter(failAfter) {
        open(QIODevice::ReadOnly);
    }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char* out, qint64 max) override {
        const qint64 at = pos();
        if (at >= m_failAfter) {
            setErrorString(QStringLiteral("устройство не отвечает"));
            return -1;
        }
        const qint64 n = std::min({max, m_failAfter - at, qint64(m_data.size()) - at});
        memcpy(out, m_data.constData() + at, size_t(n));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_failAfter;
};

const QString kFile = QStringLiteral("pdb3.db");

QStringList Lines(std::initializer_list<const char*> lines) {
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

QStringList Header(const char* count = "1") {
    return Lines({"Итоговый тест", ".", ".", count, "."});
}

// One question record: "1.    " and its text, a note, a textbook page and the option lines.
QStringList Record(const char* text,
                   const QStringList& options = Lines({"1)Да", ",100", "2)Нет", ".0"})) {
    return QStringList{QStringLiteral("1.    ") + QString::fromUtf8(text)} +
           Lines({".", "Примечание", ".", "#012.htm", "."}) + options;
}

LoadResult LoadBytes(QuestionBank* bank, const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return bank->LoadFrom(&buffer, kFile);
}

LoadResult LoadLines(QuestionBank* bank, const QStringList& lines) {
    return LoadBytes(bank, Cp1251File(lines));
}

} // namespace

class TestQuestionBank : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void topicSelectsFile_data();
    void topicSelectsFile();
    void loadOpensTopicFileBelowProgramFolder();
    void readsRealWindows1251Bytes();
    void titleParametersAndCount();
    void questionNoteAndReferenceBlocks();
    void optionBlocksAndTheirPoints();
    void pointsText_data();
    void pointsText();
    void refusals_data();
    void refusals();
    void fileEndingInsideQuestionKeepsTheOnesBefore();
    void everyPrefixLoadsOrRefusesCleanly();
    void deviceFailingPartWay();
    void notesOnWhatTheFileHolds();
};

void TestQuestionBank::topicSelectsFile_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<int>("number");
    QTest::newRow("final test") << QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ") << 12;
    QTest::newRow("5 with blank") << QStringLiteral("5. ") << 5;
    QTest::newRow("5 without blank") << QStringLiteral("5.") << 1;
    QTest::newRow("10 with blank") << QStringLiteral("10. ") << 10;
    QTest::newRow("full title 8") << QStringLiteral("8. Российская геополитика") << 8;
    QTest::newRow("case matters") << QStringLiteral("Итоговое тестирование") << 1;
    QTest::newRow("trailing blank matters") << QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ ") << 1;
}

void TestQuestionBank::topicSelectsFile() {
    QFETCH(QString, topic);
    QFETCH(int, number);
    QCOMPARE(QuestionBank::TopicNumber(topic), number);
    QCOMPARE(QuestionBank::QuestionFileLiteral(topic),
             QStringLiteral("\\ortu\\pdb%1.db").arg(number));
}

void TestQuestionBank::loadOpensTopicFileBelowProgramFolder() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("ortu")));
    for (const char* name : {"pdb12", "pdb5", "pdb1"}) {
        QFile file(folder.filePath(QStringLiteral("ortu/%1.db").arg(QLatin1String(name))));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Cp1251File(Lines({name, ".", ".", "0", "."})));
    }
    QuestionBank bank;
    QVERIFY(bank.Load(folder.path(), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")).ok());
    QCOMPARE(bank.Title, QStringLiteral("pdb12 "));
    QVERIFY(bank.Load(folder.path(), QStringLiteral("5. ")).ok());
    QCOMPARE(bank.Title, QStringLiteral("pdb5 "));
    QVERIFY(bank.Load(folder.path(), QStringLiteral("5.")).ok());
    QCOMPARE(bank.Title, QStringLiteral("pdb1 "));

    const LoadResult missing = bank.Load(folder.path(), QStringLiteral("10. "));
    QCOMPARE(missing.status, LoadResult::Status::CannotOpen);
    QCOMPARE(missing.message, QStringLiteral("Не задан файл вопросов теста"));
    QVERIFY(bank.Title.isEmpty());

#ifdef Q_OS_UNIX
    // A pipe under the name is refused with a message instead of holding the open for ever.
    const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("ortu/pdb10.db")));
    QCOMPARE(::mkfifo(pipe.constData(), 0666), 0);
    const LoadResult fifo = bank.Load(folder.path(), QStringLiteral("10. "));
    QCOMPARE(fifo.status, LoadResult::Status::ReadError);
    QVERIFY2(fifo.message.contains(QStringLiteral("это канал, а не файл")),
             qPrintable(fifo.message));
#endif
}

void TestQuestionBank::readsRealWindows1251Bytes() {
    // "Тест" / "." / "." / "1" / "." / "1.    Вопрос" ... written byte by byte.
    const QByteArray bytes = "\xD2\xE5\xF1\xF2\r\n.\r\n.\r\n1\r\n.\r\n"
                             "1.    \xC2\xEE\xEF\xF0\xEE\xF1\r\n.\r\n.\r\n.\r\n"
                             "1)\xC4\xE0\r\n.100\r\n";
    QuestionBank bank;
    QVERIFY(LoadBytes(&bank, bytes).ok());
    QCOMPARE(bank.Title, QStringLiteral("Тест "));
    QCOMPARE(bank.At(1).Text, QStringLiteral("Вопрос "));
    QCOMPARE(bank.At(1).Options[0].Text, QStringLiteral("Да "));
    QCOMPARE(bank.At(1).Options[0].Points, 100);
}

void TestQuestionBank::titleParametersAndCount() {
    QuestionBank bank;
    // Parameter values skip blanks and line breaks and ignore the rest of their line; of several
    // count lines the last counts.
    const LoadResult result = LoadLines(&bank, Lines({"A", "B", ".", "Время", "", "   15 минут",
                                                      "Уровень", "-$1F", ".", "3", " 1", "."}) +
                                                   Record("Первый") + Record("Второй"));
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(bank.Title, QStringLiteral("A B "));
    QCOMPARE(bank.Parameters, (QList<QPair<QString, int>>{{QStringLiteral("Время"), 15},
                                                          {QStringLiteral("Уровень"), -31}}));
    QCOMPARE(bank.QuestionCount, 1);
    QCOMPARE(bank.Questions.size(), 1);
    QCOMPARE(bank.At(1).Text, QStringLiteral("Первый "));
    QVERIFY(bank.At(2).IsEmpty());
    QVERIFY(bank.At(0).IsEmpty());

    // The largest file there may be: 2700 questions, the last one read like the first.
    QStringList largest = Header("2700");
    for (int q = 0; q < 2700; ++q)
        largest += Record("Вопрос");
    largest.last() = QStringLiteral(".7");
    const LoadResult full = LoadLines(&bank, largest);
    QVERIFY2(full.ok(), qPrintable(full.message));
    QCOMPARE(bank.QuestionCount, 2700);
    QCOMPARE(bank.At(2700).Options[1].Points, 7);
}

void TestQuestionBank::questionNoteAndReferenceBlocks() {
    const QString longText = QStringLiteral("Ж").repeated(70);
    QuestionBank bank;
    const QStringList lines =
        Header("4") +
        // The "\" line closing the question block stays in the text; the picture comes only
        // from the reference block's closing line, untrimmed.
        Lines({"12.   Что изображено", "на рисунке?", "\\не рисунок.bmp", "Заметка", "\\вторая",
               "#page.htm", "\\$film01.avi", "1)Ответ", ".100"}) +
        // A reference block closed at once by \pic.bmp.
        Lines({"1.    Вопрос", ".", ".", "\\pic.bmp", "1)Да", ".100"}) +
        // Texts shorter than the cut; an empty line joins as a blank.
        Lines({"abc", "", ".", ".", "x", "\\рис 2.jpg  ", "1)Да", ".100"}) +
        // Note and textbook page are cut to 50 characters, the text is not.
        QStringList{QStringLiteral("1.    ") + longText, QStringLiteral("."), longText,
                    QStringLiteral("."), QStringLiteral("#") + longText} +
        Lines({".", "1)Да", ".100"});
    const LoadResult result = LoadLines(&bank, lines);
    QVERIFY2(result.ok(), qPrintable(result.message));

    const Question& first = bank.At(1);
    QCOMPARE(first.Text, QStringLiteral("Что изображено на рисунке? \\не рисунок.bmp "));
    QCOMPARE(first.Note, QStringLiteral("Заметка \\вторая "));
    QCOMPARE(first.TextbookPage, QStringLiteral("\\html\\page.htm "));
    QCOMPARE(first.Picture, std::optional<QString>(QStringLiteral("\\images\\$film01.avi")));
    QVERIFY(first.IsVideo());

    QCOMPARE(bank.At(2).TextbookPage, QStringLiteral("\\html\\"));
    QCOMPARE(bank.At(2).Picture, std::optional<QString>(QStringLiteral("\\images\\pic.bmp")));
    QVERIFY(!bank.At(2).IsVideo());

    const Question& third = bank.At(3);
    QCOMPARE(third.Text, QString()); // "abc  " is shorter than 6 characters
    QCOMPARE(third.Note, QString());
    QCOMPARE(third.TextbookPage, QStringLiteral("\\html\\ "));
    QCOMPARE(third.Picture, std::optional<QString>(QStringLiteral("\\images\\рис 2.jpg  ")));

    QCOMPARE(bank.At(4).Text, longText + u' ');
    QCOMPARE(bank.At(4).Note, QStringLiteral("Ж").repeated(50));
    QCOMPARE(bank.At(4).TextbookPage,
             QStringLiteral("\\html\\") + QStringLiteral("Ж").repeated(44));

    QVERIFY(LoadLines(&bank, Header() + Record("Вопрос")).ok());
    QVERIFY(!bank.At(1).Picture.has_value());
}

void TestQuestionBank::optionBlocksAndTheirPoints() {
    QuestionBank bank;
    const QStringList lines =
        Header("3") +
        Record("Пять вариантов", Lines({",3", "2)!a.jpg", ",5 ", "3)Текст в", "две строки", ",-5x",
                                        "4)\\не конец", ",-20", "5)", "."})) +
        Record("Один вариант", Lines({"1)Единственный", ".100"})) +
        Record("Точка с баллами", Lines({"1)А", ".$32"}));
    const LoadResult result = LoadLines(&bank, lines);
    QVERIFY2(result.ok(), qPrintable(result.message));
    const Question& q = bank.At(1);
    QCOMPARE(q.OptionCount, 5);
    const QList<std::tuple<QString, int, bool>> expected{
        {QString(), 3, false},                             // closed at once by ",3"
        {QStringLiteral("!a.jpg "), 5, true},              // ",5 "
        {QStringLiteral("Текст в две строки "), 5, false}, // ",-5x": the sign is dropped
        {QStringLiteral("\\не конец "), -20, false},
        {QStringLiteral(" "), 0, false}, // "5)" joins as "5) "; "." alone is 0 points
    };
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(q.Options[i].Text, std::get<0>(expected[i]));
        QCOMPARE(q.Options[i].Points, std::get<1>(expected[i]));
        QCOMPARE(q.Options[i].IsPicture, std::get<2>(expected[i]));
    }
    QCOMPARE(bank.At(2).OptionCount, 1);
    QCOMPARE(bank.At(2).Options[0].Text, QStringLiteral("Единственный "));
    QCOMPARE(bank.At(2).Options[1].Text, QString());
    QCOMPARE(bank.At(3).Options[0].Points, 50);
}

void TestQuestionBank::pointsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << 0;
    QTest::newRow("leading blanks") << QStringLiteral("  40") << 40;
    QTest::newRow("plus") << QStringLiteral("+7") << 7;
    QTest::newRow("negative") << QStringLiteral("-25") << -25;
    QTest::newRow("dollar hex") << QStringLiteral("$1A") << 26;
    QTest::newRow("0x hex") << QStringLiteral("0x10") << 16;
    QTest::newRow("negative hex") << QStringLiteral("-$10") << -16;
    QTest::newRow("hex with tail") << QStringLiteral("-0xFz") << 15;
    QTest::newRow("letters") << QStringLiteral("abc") << 0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0;
    QTest::newRow("decimal stops at hex digit") << QStringLiteral("12a") << 12;
    QTest::newRow("cyrillic tail") << QStringLiteral("-30 баллов") << 30;
    QTest::newRow("largest") << QStringLiteral("2147483647") << 2147483647;
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("overflow keeps digits before") << QStringLiteral("99999999999") << 999999999;
}

void TestQuestionBank::pointsText() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(PointsFromText(text), value);
}

void TestQuestionBank::refusals_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    using S = LoadResult::Status;

    QStringList sixOptions = Header() + Record("Вопрос", {});
    for (int i = 1; i <= 6; ++i)
        sixOptions << QStringLiteral("%1)Вариант").arg(i) << QStringLiteral(",20");
    QTest::newRow("six options") << sixOptions << int(S::Malformed) << 21
                                 << QStringLiteral("больше 5 вариантов");
    QTest::newRow("2701 questions") << Lines({"T", ".", ".", "2701", "."}) << int(S::Malformed) << 4
                                    << QStringLiteral("не больше 2700");
    QTest::newRow("negative count") << Lines({"T", ".", ".", "5", "-1", "."}) << int(S::Malformed)
                                    << 5 << QStringLiteral("отрицательным");
    QTest::newRow("five parameters")
        << Lines({"T", ".", "А", "1", "Б", "2", "В", "3", "Г", "4", "Д", "5", ".", "0", "."})
        << int(S::Malformed) << 11 << QStringLiteral("больше 4 пар");

    QTest::newRow("count not an integer")
        << Lines({"T", ".", ".", "12 вопросов", "."}) << int(S::InvalidInteger) << 4
        << QStringLiteral("'12 вопросов' is not a valid integer value");
    QTest::newRow("hexadecimal count")
        << Lines({"T", ".", ".", "$3", "."}) << int(S::InvalidInteger) << 4
        << QStringLiteral("'$3' is not a valid integer value");
    QTest::newRow("0x count") << Lines({"T", ".", ".", "0x2D", "."}) << int(S::InvalidInteger) << 4
                              << QStringLiteral("'0x2D' is not a valid integer value");
    QTest::newRow("empty count line") << Lines({"T", ".", ".", "", "."}) << int(S::InvalidInteger)
                                      << 4 << QStringLiteral("'' is not a valid integer value");
    QTest::newRow("parameter not a number")
        << Lines({"T", ".", "Время", "", "пять", ".", "1", "."}) << int(S::InvalidNumericInput) << 5
        << QStringLiteral("Invalid numeric input");
    QTest::newRow("parameter value missing")
        << Lines({"T", ".", "Время", ".", "1", "."}) << int(S::InvalidNumericInput) << 4
        << QStringLiteral("Invalid numeric input");

    QTest::newRow("empty file") << QStringList{} << int(S::Malformed) << 1
                                << QStringLiteral("внутри заголовка");
    QTest::newRow("ends in title")
        << Lines({"A", "B"}) << int(S::Malformed) << 3 << QStringLiteral("внутри заголовка");
    QTest::newRow("ends in parameters") << Lines({"A", ".", "Время", "5"}) << int(S::Malformed) << 5
                                        << QStringLiteral("внутри блока параметров");
    QTest::newRow("ends before parameter value")
        << Lines({"A", ".", "Время", "  "}) << int(S::Malformed) << 5
        << QStringLiteral("до значения параметра «Время»");
    QTest::newRow("ends in count") << Lines({"A", ".", ".", "5"}) << int(S::Malformed) << 5
                                   << QStringLiteral("внутри блока количества");
}

void TestQuestionBank::refusals() {
    QFETCH(QStringList, lines);
    QFETCH(int, status);
    QFETCH(int, line);
    QFETCH(QString, message);
    QuestionBank bank;
    QVERIFY(LoadLines(&bank, Header() + Record("Старый")).ok());
    const LoadResult result = LoadLines(&bank, lines);
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.line, line);
    if (result.status == LoadResult::Status::Malformed) {
        QVERIFY2(result.message.startsWith(
                     QStringLiteral("Файл вопросов %1, строка %2: ").arg(kFile).arg(line)),
                 qPrintable(result.message));
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
    } else {
        QCOMPARE(result.message, message);
    }
    // Nothing of a refused file, nor of the file before it, stays in the bank.
    QCOMPARE(bank.QuestionCount, 0);
    QVERIFY(bank.Questions.isEmpty() && bank.Title.isEmpty() && bank.Parameters.isEmpty());
}

void TestQuestionBank::fileEndingInsideQuestionKeepsTheOnesBefore() {
    QuestionBank bank;
    const QStringList third = Record("Третий").mid(0, 8); // ends inside an option block
    LoadResult result = LoadLines(&bank, Header("4") + Record("Первый") + Record("Второй") + third);
    QVERIFY(result.ok());
    QCOMPARE(bank.QuestionCount, 2);
    QCOMPARE(bank.Questions.size(), 2);
    QCOMPARE(result.declaredCount, 4);
    QCOMPARE(result.endedInsideQuestion, 3);
    QCOMPARE(bank.At(2).Text, QStringLiteral("Второй "));
    QVERIFY(bank.At(3).IsEmpty());

    // Fewer questions than declared, the file ending right after a question.
    result = LoadLines(&bank, Header("3") + Record("Один"));
    QVERIFY(result.ok());
    QCOMPARE(bank.QuestionCount, 1);
    QCOMPARE(result.endedInsideQuestion, 2);
}

void TestQuestionBank::everyPrefixLoadsOrRefusesCleanly() {
    const QByteArray whole =
        Cp1251File(Header("3") + Record("Первый") +
                   Record("Второй", Lines({"1)!a.jpg", ",50", "2)Б", ".50"})) + Record("Третий"));
    QuestionBank full;
    QVERIFY(LoadBytes(&full, whole).ok());
    QCOMPARE(full.QuestionCount, 3);

    int previousCount = 0;
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        QuestionBank bank;
        const LoadResult result = LoadBytes(&bank, whole.left(size));
        if (!result.ok()) {
            // Only the header can be cut short enough to refuse (a count line cut between its
            // CR and LF keeps the CR and is no integer).
            QVERIFY(result.status == LoadResult::Status::Malformed ||
                    result.status == LoadResult::Status::InvalidInteger);
            QCOMPARE(previousCount, 0);
            QCOMPARE(bank.QuestionCount, 0);
            continue;
        }
        QVERIFY(bank.QuestionCount >= previousCount);
        QCOMPARE(bank.Questions.size(), bank.QuestionCount);
        for (int q = 1; q <= bank.QuestionCount; ++q) {
            QCOMPARE(bank.At(q).Text, full.At(q).Text);
            QVERIFY(bank.At(q).OptionCount >= 1);
        }
        previousCount = bank.QuestionCount;
    }
    QCOMPARE(previousCount, 3);
}

void TestQuestionBank::deviceFailingPartWay() {
    const QByteArray bytes = Cp1251File(Header("2") + Record("Первый") + Record("Второй"));
    // The last case fails inside the file's last line, after everything the bank needs.
    for (const qint64 failAfter :
         {qint64(0), qint64(7), qint64(bytes.size() / 2), qint64(bytes.size() - 3)}) {
        QuestionBank bank;
        QVERIFY(LoadLines(&bank, Header() + Record("Старый")).ok());
        FailingDevice device(bytes, failAfter);
        const LoadResult result = bank.LoadFrom(&device, kFile);
        QCOMPARE(result.status, LoadResult::Status::ReadError);
        QVERIFY(result.line >= 1);
        QVERIFY2(result.message.contains(kFile), qPrintable(result.message));
        QCOMPARE(bank.QuestionCount, 0);
        QVERIFY(bank.Questions.isEmpty());
    }
    FailingDevice whole(bytes, bytes.size());
    QuestionBank bank;
    QVERIFY(bank.LoadFrom(&whole, kFile).ok());
    QCOMPARE(bank.QuestionCount, 2);
}

void TestQuestionBank::notesOnWhatTheFileHolds() {
    QuestionBank bank;
    QStringList lines = Header("1") + Record("Первый") + Record("Лишний") + Lines({"", "хвост"});
    lines.insert(1, QString()); // an empty line in the title: line 2
    const LoadResult result = LoadLines(&bank, lines);
    QVERIFY(result.ok());
    QCOMPARE(bank.Title, QStringLiteral("Итоговый тест  "));
    QCOMPARE(bank.QuestionCount, 1);
    QCOMPARE(result.extraQuestions, 1);
    QCOMPARE(result.questionLines, (QList<int>{7, 17}));
    QCOMPARE(result.emptyLines, (QList<int>{2, 27}));
    QCOMPARE(result.strayTextLine, 28);
}

QTEST_GUILESS_MAIN(TestQuestionBank)
#include "tst_question_bank.moc"
