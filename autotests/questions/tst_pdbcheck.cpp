// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The question-file checker run as teachers run it, on hand-made Windows-1251 CR LF files.

#include "autotests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Lines(std::initializer_list<const char*> lines) {
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestPdbCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void jsonReproducesTheLoadingRules();
    void refusedFileGivesItsLine_data();
    void refusedFileGivesItsLine();
    void unreadableFile();
    void strictReportsWhatTeachersMustFix();
    void strictPassesACleanCourse();
    void strictNamesPathsOutsideImagesAndTextsWrittenInDots();
    void strictNamesEachSlipAtItsLine_data();
    void strictNamesEachSlipAtItsLine();

private:
    QString write(const QString& relative, const QByteArray& bytes);
    QString writeLines(const QString& relative, const QStringList& lines) {
        return write(relative, Cp1251File(lines));
    }
    Run run(const QStringList& arguments);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPdbCheck::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestPdbCheck::write(const QString& relative, const QByteArray& bytes) {
    const QString path = m_dir->filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

Run TestPdbCheck::run(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PDBCHECK_PATH), arguments);
    Run result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void TestPdbCheck::jsonReproducesTheLoadingRules() {
    // Written byte by byte in Windows-1251: "Тест" / "по курсу" / "." / "Время" / "  20 мин" /
    // "." / "7" / "1" / "." and one question.
    const QByteArray bytes =
        "\xD2\xE5\xF1\xF2\r\n\xEF\xEE \xEA\xF3\xF0\xF1\xF3\r\n.\r\n"
        "\xC2\xF0\xE5\xEC\xFF\r\n  20 \xEC\xE8\xED\r\n.\r\n7\r\n1\r\n.\r\n"
        "1.    \xD7\xF2\xEE \xFD\xF2\xEE?\r\n\\\xF1\xF5\xE5\xEC\xE0\r\n" // "Что это?" "\схема"
        "\xE7\xE0\xEC\xE5\xF2\xEA\xE0\r\n.\r\n"                          // "заметка"
        "#012.htm\r\n\\pic 1.bmp \r\n"
        ",3\r\n"
        "2)!a.jpg\r\n,5 \r\n"
        "3)\xCD\xE5\xF2\r\n,-5x\r\n" // "Нет"
        "4)\xC4\xE0\r\n.\r\n";       // "Да"
    const Run result =
        run({QStringLiteral("--json"), write(QStringLiteral("ortu/pdb1.db"), bytes)});
    QCOMPARE(result.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonObject bank = document.object();
    QCOMPARE(bank[u"title"].toString(), QStringLiteral("Тест по курсу "));
    QCOMPARE(bank[u"parameters"].toArray(), (QJsonArray{QJsonArray{QStringLiteral("Время"), 20}}));
    QCOMPARE(bank[u"questionCount"].toInt(), 1);
    const QJsonArray questions = bank[u"questions"].toArray();
    QCOMPARE(questions.size(), 1);
    const QJsonObject q = questions[0].toObject();
    QCOMPARE(q[u"text"].toString(), QStringLiteral("Что это? \\схема "));
    QCOMPARE(q[u"note"].toString(), QStringLiteral("заметка "));
    QCOMPARE(q[u"textbookPage"].toString(), QStringLiteral("\\html\\012.htm "));
    QCOMPARE(q[u"picture"].toString(), QStringLiteral("\\images\\pic 1.bmp "));
    const QJsonArray options = q[u"options"].toArray();
    QCOMPARE(options.size(), 4);
    const QList<QPair<QString, int>> expected{{QString(), 3},
                                              {QStringLiteral("!a.jpg "), 5},
                                              {QStringLiteral("Нет "), 5},
                                              {QStringLiteral("Да "), 0}};
    for (int i = 0; i < 4; ++i) {
        const QJsonObject option = options[i].toObject();
        QCOMPARE(option[u"text"].toString(), expected[i].first);
        QCOMPARE(option[u"points"].toInt(), expected[i].second);
        QCOMPARE(option[u"isPicture"].toBool(), i == 1);
    }

    // A question without a picture has "picture": null.
    const Run plain =
        run({QStringLiteral("--json"), writeLines(QStringLiteral("ortu/pdb2.db"),
                                                  Lines({"Т", ".", ".", "1", ".", "1.    Вопрос",
                                                         ".", ".", ".", "1)Да", ".100"}))});
    QCOMPARE(plain.exitCode, 0);
    const QJsonObject second =
        QJsonDocument::fromJson(plain.out.toUtf8()).object()[u"questions"][0].toObject();
    QVERIFY(second[u"picture"].isNull());
    QCOMPARE(second[u"textbookPage"].toString(), QStringLiteral("\\html\\"));
}

void TestPdbCheck::refusedFileGivesItsLine_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");
    QStringList sixOptions = Lines({"T", ".", ".", "1", ".", "1.    В", ".", ".", "."});
    for (int i = 1; i <= 6; ++i)
        sixOptions << QStringLiteral("%1)В").arg(i) << QStringLiteral(",0");
    QTest::newRow("six options") << sixOptions
                                 << QStringLiteral(
                                        ":19: Файл вопросов %1, строка 19: в вопросе 1 больше 5");
    QTest::newRow("count") << Lines({"T", ".", ".", "два", "."})
                           << QStringLiteral(":4: 'два' is not a valid integer value");
    QTest::newRow("parameter") << Lines({"T", ".", "Время", "x", ".", "."})
                               << QStringLiteral(":4: Invalid numeric input");
}

void TestPdbCheck::refusedFileGivesItsLine() {
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    const QString path = writeLines(QStringLiteral("ortu/pdb4.db"), lines);
    for (const QStringList& mode : {QStringList{}, QStringList{QStringLiteral("--json")}}) {
        const Run result = run(mode + QStringList{path});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(path + QString(expected).replace(QStringLiteral("%1"), path)),
                 qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
    }
}

void TestPdbCheck::unreadableFile() {
    QCOMPARE(run({m_dir->filePath(QStringLiteral("ortu/none.db"))}).exitCode, 2);
    QCOMPARE(run({QStringLiteral("--json"), m_dir->path()}).exitCode, 2);
    QCOMPARE(run({}).exitCode, 2);
}

void TestPdbCheck::strictReportsWhatTeachersMustFix() {
    write(QStringLiteral("images/pic.bmp"), "BM");
    write(QStringLiteral("images/!a.jpg"), "jpg");
    write(QStringLiteral("html/012.htm"), "<html></html>");
    const QStringList lines =
        Lines({"Т", ".", ".", "5", "."}) +
        // 1 (line 6): everything in order; 70 + 30 makes 100, the negative option is ignored.
        Lines({"Вопрос №1.     Хороший", ".", ".", "#012.htm#раздел", "\\pic.bmp", "1)!a.jpg ",
               ",70", "2)Б", ",-10", "3)В", ".30"}) +
        // 2 (line 17): 60 + 60 never makes 100; picture, page and option picture missing.
        Lines({"Вопрос №2.     Плохой", ".", ".", "#нет.htm", "\\pic.bmp ", "1)!b.jpg", ",60",
               "2)Б", ".60"}) +
        // 3 (line 26): no option worth points, no page, a missing video, an empty line.
        Lines({"Вопрос №3.     Пустой", "", ".", ".", "\\$film.avi", "1)А", ".0"}) +
        // 4 (line 33): the file ends inside it.
        Lines({"Вопрос №4.     Оборванный", "."});
    const QString path = writeLines(QStringLiteral("ortu/pdb7.db"), lines);

    const Run result =
        run({QStringLiteral("--strict"), QStringLiteral("--course"), m_dir->path(), path});
    QCOMPARE(result.exitCode, 1);
    const QStringList reported = result.out.split(u'\n').filter(QStringLiteral("вопрос "));
    const QStringList expected{
        QStringLiteral("вопрос 4 (строка 33): файл закончился внутри вопроса; загружены только "
                       "вопросы до него"),
        QStringLiteral("вопрос 2 (строка 17): баллы верных вариантов не складываются в 100"),
        QStringLiteral("вопрос 2 (строка 17): отметив варианты 1 (60), 2 (60), студент наберёт "
                       "120 баллов, больше 100: верные варианты должны делить 100 баллов, у "
                       "неверных 0"),
        QStringLiteral("вопрос 2 (строка 17): вариант 1: рисунок \\images\\!b.jpg не найден"),
        QStringLiteral("вопрос 2 (строка 17): рисунок \\images\\pic.bmp  не найден (в имени "
                       "лишние пробелы)"),
        QStringLiteral("вопрос 2 (строка 17): страница учебника \\html\\нет.htm не найдена"),
        QStringLiteral("вопрос 3 (строка 26): нет ни одного варианта, за который даются баллы"),
        QStringLiteral("вопрос 3 (строка 26): видеофрагмент \\images\\$film.avi не найден"),
        QStringLiteral("вопрос 3 (строка 26): не указана страница учебника"),
        QStringLiteral("вопрос 3 (строка 27): пустая строка"),
    };
    for (const QString& line : expected)
        QVERIFY2(reported.contains(line), qPrintable(line + QStringLiteral("\n--\n") + result.out));
    QCOMPARE(reported.filter(QStringLiteral("вопрос 1 ")), QStringList());
    QCOMPARE(reported.size(), expected.size());
    QVERIFY(result.out.contains(QStringLiteral("файл: объявлено вопросов: 5, а полных вопросов "
                                               "в файле: 3")));

    // With --json the problems go to stderr and stdout stays JSON.
    const Run json = run({QStringLiteral("--json"), QStringLiteral("--strict"),
                          QStringLiteral("--course"), m_dir->path(), path});
    QCOMPARE(json.exitCode, 1);
    QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object()[u"questionCount"].toInt(), 3);
    QVERIFY(json.err.contains(expected.last()));
}

void TestPdbCheck::strictPassesACleanCourse() {
    write(QStringLiteral("images/$film.avi"), "RIFF");
    write(QStringLiteral("html/012.htm"), "<html></html>");
    const QString path =
        writeLines(QStringLiteral("ortu/pdb12.db"),
                   Lines({"ИТОГОВОЕ ТЕСТИРОВАНИЕ", ".", ".", "1", ".", "Вопрос №1.     Вопрос", ".",
                          ".", "#012.htm", "\\$film.avi", "1)А", ",100", "2)Б", ".0"}));
    // Without --course the folder above the file's folder is the course.
    const Run result = run({QStringLiteral("--strict"), path});
    QVERIFY2(result.exitCode == 0, qPrintable(result.out + result.err));
    QVERIFY(result.out.contains(QStringLiteral("Замечаний нет.")));
    QVERIFY(result.out.contains(QStringLiteral("Заголовок: ИТОГОВОЕ ТЕСТИРОВАНИЕ ")));
    QVERIFY(result.out.contains(QStringLiteral("Вопросов объявлено: 1, загружено: 1")));
    QVERIFY(result.out.contains(QStringLiteral("с видеофрагментом: 1")));
    QVERIFY(result.err.isEmpty());
}

void TestPdbCheck::strictNamesPathsOutsideImagesAndTextsWrittenInDots() {
    write(QStringLiteral("images/pic.bmp"), "BM");
    write(QStringLiteral("secret.png"), "PNG"); // beside images, not in it
    write(QStringLiteral("html/012.htm"), "<html></html>");
    const QStringList lines =
        Lines({"Т", ".", ".", "4", "."}) +
        // 1 (line 6): a picture above images, an option beginning with ",", the text with ".".
        Lines({"Вопрос.№1.     Точка", ".", ".", "#012.htm", "\\..\\secret.png", "1 ,5 км", ",100",
               "2 Б", ".0"}) +
        // 2 (line 15): a drive, an option picture climbing up, options beginning with ".".
        Lines({"Вопрос\\№2.     Черта", ".", ".", "#012.htm", "\\C:\\secret.png",
               "1 !a\\..\\..\\secret.png", ",100", "2 ...все", ".0"}) +
        // 3 (line 24): clean.
        Lines({"Вопрос №3.     Чистый", ".", ".", "#012.htm", "\\pic.bmp", "1 А", ",100", "2 Б",
               ".0"}) +
        // 4 (line 33): a video above images.
        Lines({"Вопрос №4.     Видео", ".", ".", "#012.htm", "\\$clip\\..\\..\\clip.avi", "1 А",
               ",100", "2 Б", ".0"});
    const QString path = writeLines(QStringLiteral("ortu/pdb12.db"), lines);
    const Run result =
        run({QStringLiteral("--strict"), QStringLiteral("--course"), m_dir->path(), path});
    QCOMPARE(result.exitCode, 1);
    const QString outside = QStringLiteral(" ведёт за пределы папки images и не будет открыт");
    const QString dots = QStringLiteral(": в файле данных теста он будет записан между точками");
    const QStringList expected{
        QStringLiteral("вопрос 1 (строка 10): рисунок \\images\\..\\secret.png") + outside,
        QStringLiteral("вопрос 1 (строка 6): текст вопроса (с 7-го знака) начинается с «.»") + dots,
        QStringLiteral("вопрос 1 (строка 11): вариант 1 (с 3-го знака) начинается с «,»") + dots,
        QStringLiteral("вопрос 2 (строка 20): вариант 1: рисунок "
                       "\\images\\!a\\..\\..\\secret.png") +
            outside,
        QStringLiteral("вопрос 2 (строка 19): рисунок \\images\\C:\\secret.png") + outside,
        QStringLiteral("вопрос 2 (строка 15): текст вопроса (с 7-го знака) начинается с «\\»") +
            dots,
        QStringLiteral("вопрос 2 (строка 22): вариант 2 (с 3-го знака) начинается с «.»") + dots,
        QStringLiteral("вопрос 4 (строка 37): видеофрагмент "
                       "\\images\\$clip\\..\\..\\clip.avi") +
            outside,
    };
    const QStringList reported = result.out.split(u'\n').filter(QStringLiteral("вопрос "));
    QCOMPARE(reported, expected);
}

void TestPdbCheck::strictNamesEachSlipAtItsLine_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    // Lines 6-14 hold one clean question; each row changes what an editor gets wrong.
    const QStringList head = Lines({"Т", ".", ".", "1", "."});
    const QStringList question = Lines({"Вопрос №01-Т1. Какой из перечисленных?", ".", ".",
                                        "#012.htm", ".", "1 Да", ",100", "2 Нет", ".0"});
    const auto with = [&](int line, const char* text) {
        QStringList lines = head + question;
        lines[line - 1] = QString::fromUtf8(text);
        return Cp1251File(lines);
    };
    const QString points = QStringLiteral("вопрос 1 (строка 6): отметив варианты ");
    QTest::newRow("two full options")
        << with(14, ".100")
        << points + QStringLiteral("1 (100), 2 (100), студент наберёт 200 баллов");
    QTest::newRow("a wrong option typed 1000")
        << with(14, ".1000") << points + QStringLiteral("1 (100), 2 (1000), студент наберёт 1100");
    QStringList halves = head + question;
    halves.replace(11, QStringLiteral(",50"));
    halves.replace(13, QStringLiteral(",50"));
    halves << QStringLiteral("3 Три") << QStringLiteral(".50");
    QTest::newRow("three halves") << Cp1251File(halves)
                                  << points + QStringLiteral("1 (50), 2 (50), 3 (50), студент "
                                                             "наберёт 150");
    QByteArray utf8;
    for (const QString& line : head + question)
        utf8 += line.toUtf8() + "\r\n";
    QTest::newRow("UTF-8") << utf8
                           << QStringLiteral("файл (строка 1): файл в кодировке UTF-8, а "
                                             "программа читает Windows-1251: студент увидит "
                                             "вместо «Т» «Рў»");
    QTest::newRow("byte-order mark")
        << QByteArray("\xEF\xBB\xBF") + Cp1251File(head + question)
        << QStringLiteral("файл (строка 1): файл в кодировке UTF-8 с меткой порядка байтов");
    QByteArray utf16("\xFF\xFE");
    const QString text = (head + question).join(QStringLiteral("\r\n"));
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QTest::newRow("UTF-16") << utf16 << QStringLiteral("файл (строка 1): файл в кодировке UTF-16");
    QTest::newRow("short number")
        << with(6, "Вопрос №1. Какой из перечисленных?")
        << QStringLiteral("вопрос 1 (строка 6): номер вопроса занимает не девять знаков после "
                          "«Вопрос» (нужно так: «Вопрос №01-Т1. Текст»): студент не увидит "
                          "« №1. Како» и увидит «й из перечисленных?»");
    QTest::newRow("no prefix") << with(11, "Духовная")
                               << QStringLiteral("вопрос 1 (строка 11): вариант 1: программа "
                                                 "отбрасывает первые два знака строки («Ду»)");
    QTest::newRow("line starting with a dot")
        << with(7, ".Продолжение")
        << QStringLiteral("вопрос 1 (строка 7): строка начинается "
                          "с точки");
    QTest::newRow("tab before the points")
        << with(12, "\t,100")
        << QStringLiteral("вопрос 1 (строка 12): перед «,100» стоит "
                          "пробел или табуляция");
    const auto inserted = [&](int line, const char* text) {
        QStringList lines = head + question;
        lines.insert(line - 1, QString::fromUtf8(text));
        return Cp1251File(lines);
    };
    // Slips that change the key or the text without a word from the loader.
    QTest::newRow("option text continued after a comma")
        << inserted(12, ",а также второе")
        << QStringLiteral("вопрос 1 (строка 12): вариант 1: строка начинается с запятой, и "
                          "программа закончит на ней вариант с 0 баллами");
    QTest::newRow("question text continued after a backslash")
        << inserted(7, "\\ продолжение текста")
        << QStringLiteral("вопрос 1 (строка 7): строка начинается с «\\»: программа закончит "
                          "на ней текст вопроса");
    const QString unlike = QStringLiteral("вопрос 1 (строка 11): вариант 1: строка начинается не "
                                          "так, как у остальных вариантов вопроса: программа "
                                          "отбрасывает первые два знака строки ");
    QTest::newRow("no prefix, one-letter word")
        << with(11, "В 1991 году") << unlike + QStringLiteral("(«В ») и покажет «1991 году»");
    QTest::newRow("no prefix, two-letter word")
        << with(11, "На севере") << unlike + QStringLiteral("(«На») и покажет « севере»");
    QTest::newRow("no prefix, two letters") << with(11, "Да") << unlike;
    QTest::newRow("empty option worth points")
        << with(11, "1 ")
        << QStringLiteral("вопрос 1 (строка 11): вариант 1 без текста, а за него даётся 100 "
                          "баллов");
    QTest::newRow("letter O for zero")
        << with(14, ".O")
        << QStringLiteral("вопрос 1 (строка 14): вариант 2: баллы «O» — не число, программа "
                          "засчитает варианту 0");
    QStringList twice = head + question + question;
    twice.replace(3, QStringLiteral("2"));
    twice.replace(13, QStringLiteral(",0"));
    QTest::newRow("last option closed by a comma")
        << Cp1251File(twice)
        << QStringLiteral("вопрос 1 (строка 14): последний вариант закрыт «,» вместо «.»");
}

void TestPdbCheck::strictNamesEachSlipAtItsLine() {
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    write(QStringLiteral("html/012.htm"), "<html></html>");
    const Run result =
        run({QStringLiteral("--strict"), write(QStringLiteral("ortu/pdb1.db"), file)});
    QCOMPARE(result.exitCode, 1);
    const QStringList lines = (result.out + result.err).split(u'\n');
    QVERIFY2(std::any_of(lines.begin(), lines.end(),
                         [&](const QString& line) { return line.startsWith(expected); }),
             qPrintable(expected + QStringLiteral("\n--\n") + result.out + result.err));
}

QTEST_GUILESS_MAIN(TestPdbCheck)
#include "tst_pdbcheck.moc"
