// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The group report on small groups whose figures were worked out by hand, and on folders that
// hold files it cannot use.

#include "tools/groupreport/group_results.h"
#include "tools/groupreport/html_report.h"
#include "tools/groupreport/item_analysis.h"

#include "tests/control_core.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {

Question MakeQuestion(const QString& number, const QString& text,
                      const QList<QPair<QString, int>>& options) {
    Question q;
    q.Text = QStringLiteral(" %1. ").arg(number).leftJustified(9) + text + u' ';
    for (int i = 0; i < options.size(); ++i)
        q.Options[i] = AnswerOption{options[i].first + u' ', options[i].second, false};
    q.OptionCount = int(options.size());
    return q;
}

// The three questions of the hand-computed group; options are shown in file order.
const QList<Question>& Questions() {
    static const QList<Question> questions{
        MakeQuestion(QStringLiteral("№1"), QStringLiteral("Первый вопрос?"),
                     {{QStringLiteral("верно"), 100},
                      {QStringLiteral("неверно 1"), 0},
                      {QStringLiteral("неверно 2"), 0}}),
        MakeQuestion(QStringLiteral("№2"), QStringLiteral("Второй вопрос?"),
                     {{QStringLiteral("верно"), 100}, {QStringLiteral("неверно"), 0}}),
        MakeQuestion(QStringLiteral("№3"), QStringLiteral("Третий вопрос?"),
                     {{QStringLiteral("половина 1"), 50},
                      {QStringLiteral("половина 2"), 50},
                      {QStringLiteral("неверно"), 0}})};
    return questions;
}

// A data file written by the program's writer: the ticked positions of each question in turn, of
// the questions drawn (indices into Questions(); by default the first ones in their order).
QByteArray DataFile(const QString& name, const QList<QList<int>>& ticks,
                    const QString& time = QStringLiteral("10:00:00"),
                    const QList<int>& drawn = {}) {
    QBuffer report, data;
    report.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport writer;
    writer.OpenReports(&report, QStringLiteral("report"), &data, QStringLiteral("data"),
                       {name, QStringLiteral("ФК-1"), QStringLiteral("Плавание"),
                        QStringLiteral("КМС"), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")},
                       QStringLiteral("07.12.2026"), time);
    writer.WriteCount(int(ticks.size()));
    qint64 total = 0;
    for (int i = 0; i < ticks.size(); ++i) {
        const Question& question = Questions()[drawn.isEmpty() ? i : drawn[i]];
        QList<int> order;
        PositionPoints points{};
        for (int p = 1; p <= question.OptionCount; ++p) {
            order << p;
            points[p - 1] = question.Options[p - 1].Points;
        }
        writer.WriteQuestion(i + 1, question, order);
        PositionFlags ticked{};
        for (int p : ticks[i])
            ticked[p - 1] = true;
        const qint64 answer = AnswerPoints(ticked, points);
        total += answer;
        writer.WriteAnswer(ticked, points, answer);
    }
    writer.WriteTotals(int(ticks.size()), total);
    writer.CloseReports();
    return data.data();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Points (q1, q2, q3):  A 100 100 100 = 300,  B 100 0 50 = 150,  C 100 100 0 = 200,
// D 0 0 100 = 100.
const QList<QPair<QString, QList<QList<int>>>> kGroup{
    {QStringLiteral("Акимов А. А."), {{1}, {1}, {1, 2}}},
    {QStringLiteral("Быкова Б. Б."), {{1}, {2}, {1}}},
    {QStringLiteral("Виноградов В. В."), {{1}, {1}, {3}}},
    {QStringLiteral("Голубева Г. Г."), {{2}, {}, {1, 2}}},
};

} // namespace

class GroupReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handComputedItemAnalysis();
    void flagsFromTenAskings();
    void upperLowerSharesTiesAtTheCut();
    void chartAxisAndBands_data();
    void chartAxisAndBands();
    void unusableFilesAreListedAndTheReportGoesOn();
    void reliabilityOfARandomDraw();
    void emptyFolderGivesAnEmptyReport();

private:
    static QList<StudentResult> Read(const QList<QList<QList<int>>>& tests);
};

void GroupReportTest::handComputedItemAnalysis() {
    // Read as the report reads a group: the texts of a question are kept once for all students.
    QList<StudentResult> students;
    SharedTexts shared;
    for (const auto& [name, ticks] : kGroup) {
        QBuffer buffer;
        buffer.setData(DataFile(name, ticks));
        buffer.open(QIODevice::ReadOnly);
        StudentResult student;
        QString reason;
        QVERIFY2(ReadStudentResult(&buffer, name, &student, &reason, &shared), qPrintable(reason));
        students << student;
    }
    for (const StudentResult& student : students) {
        QCOMPARE(student.answers[2].text, students[0].answers[2].text);
        QCOMPARE(student.answers[2].text.constData(), students[0].answers[2].text.constData());
        QCOMPARE(student.answers[2].options.last().constData(),
                 students[0].answers[2].options.last().constData());
    }
    QCOMPARE(students[0].points, 300);
    QCOMPARE(students[1].percent, QStringLiteral("50.0"));

    const QList<ItemStatistics> items = AnalyseItems(students);
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0].shownText, QStringLiteral("Первый вопрос?"));
    // Facility: mean points / 100.  q1 (1+1+1+0)/4, q2 (1+0+1+0)/4, q3 (1+0.5+0+1)/4.
    QCOMPARE(items[0].facility, 0.75);
    QCOMPARE(items[1].facility, 0.5);
    QCOMPARE(items[2].facility, 0.625);
    for (const ItemStatistics& item : items)
        QCOMPARE(item.asked, 4);

    // Point-biserial against the rest, (S - A) / 200 for A, B, C, D:
    // q1: x = 1 1 1 0, rest = 1 .25 .5 .5: sxy .0625, sxx .75, syy .296875 -> 0.132453
    // q2: x = 1 0 1 0, rest = 1 .75 .5 .5: sxy .125, sxx 1, syy .171875 -> 0.301511
    // q3: x = 1 .5 0 1, rest = 1 .5 1 0: sxy -.3125, sxx .6875, syy .6875 -> -0.454545
    QVERIFY(items[0].pointBiserial && items[1].pointBiserial && items[2].pointBiserial);
    QVERIFY(qAbs(*items[0].pointBiserial - 0.132453) < 1e-6);
    QVERIFY(qAbs(*items[1].pointBiserial - 0.301511) < 1e-6);
    QVERIFY(qAbs(*items[2].pointBiserial + 0.454545) < 1e-6);

    // Upper-lower: 27 % of 4 is one student; ranked A 300, C 200, B 150, D 100.
    // q1: A 1 - D 0 = 1;  q2: 1 - 0 = 1;  q3: A 1 - D 1 = 0.
    QCOMPARE(*items[0].upperLower, 1.0);
    QCOMPARE(*items[1].upperLower, 1.0);
    QCOMPARE(*items[2].upperLower, 0.0);

    // Option choices: q1 "верно" by A, B, C; "неверно 1" by D; "неверно 2" by nobody.
    QCOMPARE(items[0].options.size(), 3);
    QCOMPARE(items[0].options[0].text, QStringLiteral("верно"));
    QCOMPARE(items[0].options[0].chosen, 3);
    QCOMPARE(items[0].options[1].chosen, 1);
    QCOMPARE(items[0].options[2].chosen, 0);
    QCOMPARE(items[0].options[2].shown, 4);
    // Four askings are too few to judge a question.
    for (const ItemStatistics& item : items) {
        QVERIFY(!item.judged);
        QCOMPARE(item.flags, QStringList());
    }

    // The same three questions for all: totals 3, 1.5, 2, 1 have the variance 0.729167, the
    // questions .25, .333333 and .229167 (together .8125): alpha = 3/2 (1 - .8125 / .729167)
    // = -0.171429; below 0 it leaves the standard deviation of the percentages as the error,
    // sqrt(.729167) / 3 x 100 = 28.4638.
    const Reliability reliability = TestReliability(students, items);
    QVERIFY(reliability.sameQuestions);
    QCOMPARE(reliability.students, 4);
    QVERIFY(reliability.alpha && reliability.standardError);
    QVERIFY(qAbs(*reliability.alpha + 0.171429) < 1e-6);
    QVERIFY(qAbs(*reliability.standardError - 28.4638) < 1e-4);
}

QList<StudentResult> GroupReportTest::Read(const QList<QList<QList<int>>>& tests) {
    QList<StudentResult> students;
    for (qsizetype i = 0; i < tests.size(); ++i) {
        QBuffer buffer;
        buffer.setData(DataFile(QStringLiteral("Студент %1").arg(i), tests[i]));
        buffer.open(QIODevice::ReadOnly);
        StudentResult student;
        QString reason;
        if (!ReadStudentResult(&buffer, QStringLiteral("file"), &student, &reason))
            qFatal("%s", qPrintable(reason));
        students << student;
    }
    return students;
}

void GroupReportTest::flagsFromTenAskings() {
    QList<QList<QList<int>>> tests;
    for (int i = 0; i < 10; ++i)
        tests << kGroup[i % 4].second;
    const QList<ItemStatistics> nine = AnalyseItems(Read(tests.mid(0, 9)));
    QVERIFY(!nine[0].judged);
    QCOMPARE(nine[0].flags, QStringList());
    const QList<ItemStatistics> ten = AnalyseItems(Read(tests));
    QVERIFY(ten[0].judged);
    QVERIFY(ten[0].flags.contains(QStringLiteral("вариант «неверно 2» не выбран ни разу")));
    const QList<ItemStatistics> easy =
        AnalyseItems(Read(QList<QList<QList<int>>>(10, kGroup[0].second)));
    QVERIFY(easy[0].flags.contains(QStringLiteral("слишком лёгкий: доля баллов 1.00")));
    const QList<ItemStatistics> hard =
        AnalyseItems(Read(QList<QList<QList<int>>>(10, kGroup[3].second)));
    QVERIFY(hard[1].flags.contains(QStringLiteral("слишком трудный: доля баллов 0.00")));

    // A key worth more than 100 is named however rarely the question was asked.
    StudentResult greedy = Read({kGroup[0].second}).first();
    greedy.answers[0].points[1] = 100;
    QCOMPARE(AnalyseItems({greedy})[0].flags,
             QStringList{QStringLiteral("варианты с баллами дают вместе 200 баллов, больше 100: "
                                        "ключ вопроса неверен")});
}

void GroupReportTest::upperLowerSharesTiesAtTheCut() {
    QCOMPARE(UpperLowerGroupSize(4), 1);
    QCOMPARE(UpperLowerGroupSize(6), 2); // 1.62
    QCOMPARE(UpperLowerGroupSize(7), 2);
    QCOMPARE(UpperLowerGroupSize(10), 3);
    QCOMPARE(UpperLowerGroupSize(13), 4); // 3.51
    // Six students, 300, 200, 200, 200, 100 and 0 points: the upper two are the first and a
    // third of each of the three tied at 200, whose first question gives 1, 1 and 0; the lower
    // two are the last two. Question 1: (1 + 2/3) / 2 - (0 + 1) / 2 = 1/3, in any order of names.
    QList<StudentResult> six = Read({{{1}, {1}, {1, 2}},
                                     {{1}, {1}, {3}},
                                     {{1}, {2}, {1, 2}},
                                     {{2}, {1}, {1, 2}},
                                     {{1}, {2}, {3}},
                                     {{2}, {2}, {3}}});
    for (int order = 0; order < 2; ++order) {
        const QList<ItemStatistics> items = AnalyseItems(six);
        QVERIFY(items[0].upperLower);
        QVERIFY2(qAbs(*items[0].upperLower - 1.0 / 3.0) < 1e-9,
                 qPrintable(QString::number(*items[0].upperLower)));
        std::reverse(six.begin(), six.end());
    }
}

void GroupReportTest::chartAxisAndBands_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("step");
    QTest::newRow("1") << 1 << 1 << 1;
    QTest::newRow("10") << 10 << 10 << 1;
    QTest::newRow("11") << 11 << 12 << 2;
    QTest::newRow("14") << 14 << 14 << 2;
    QTest::newRow("37") << 37 << 40 << 5;
    QTest::newRow("120") << 120 << 120 << 20;
}

void GroupReportTest::chartAxisAndBands() {
    QFETCH(int, top);
    QFETCH(int, max);
    QFETCH(int, step);
    const CountAxis axis = RoundCountAxis(top);
    QCOMPARE(axis.max, max);
    QCOMPARE(axis.step, step);

    // A negative result has a band of its own; 0 and 100 fall in the first and the last band.
    QList<StudentResult> students(4);
    const QList<qint64> points{-50, 0, 50, 1000};
    for (int i = 0; i < 4; ++i) {
        students[i].points = points[i];
        students[i].maximum = 1000;
    }
    const QList<QPair<QString, int>> bands = DistributionBands(students);
    QCOMPARE(bands.size(), 11);
    QCOMPARE(bands.first(), qMakePair(QStringLiteral("ниже 0"), 1));
    QCOMPARE(bands[1], qMakePair(QStringLiteral("0–10"), 2));
    QCOMPARE(bands.last(), qMakePair(QStringLiteral("90–100"), 1));
}

void GroupReportTest::unusableFilesAreListedAndTheReportGoesOn() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data1"));
    QDir().mkpath(folder);
    for (const auto& [name, ticks] : kGroup)
        WriteFile(folder + u'/' + name + QStringLiteral(".txt"), DataFile(name, ticks));
    // Cut off in the middle of the second record.
    const QByteArray whole = DataFile(QStringLiteral("Дмитриев Д. Д."), kGroup[0].second);
    WriteFile(folder + QStringLiteral("/cut.txt"),
              whole.left(whole.indexOf(EncodeCp1251(QStringLiteral("Вопрос 2"))) + 40));
    // Damaged: the total raised by hand.
    QByteArray raised = DataFile(QStringLiteral("Ершов Е. Е."), kGroup[1].second);
    raised.replace(EncodeCp1251(QStringLiteral("набрано баллов: 150 из 300")),
                   EncodeCp1251(QStringLiteral("набрано баллов: 300 из 300")));
    WriteFile(folder + QStringLiteral("/raised.txt"), raised);
    // Not a data file at all, and a second (earlier) file of student A.
    WriteFile(folder + QStringLiteral("/notes.txt"),
              EncodeCp1251(QStringLiteral("Список группы\r\n")));
    WriteFile(folder + QStringLiteral("/zz-again.txt"),
              DataFile(kGroup[0].first, {{2}, {2}, {3}}, QStringLiteral("08:00:00")));

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(GROUPREPORT_PATH),
                  {QStringLiteral("--csv"), dir.filePath(QStringLiteral("group.csv")),
                   QStringLiteral("--html"), dir.filePath(QStringLiteral("group.html")), folder});
    QVERIFY(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(out.contains(QStringLiteral("Прочитано файлов: 8; студентов в отчёте: 4; не учтено "
                                         "файлов: 4")),
             qPrintable(out));
    const QStringList lines = out.split(u'\n');
    const auto line = [&](const QString& file) {
        for (const QString& l : lines) {
            if (l.startsWith(QStringLiteral("Не учтён ") + folder + u'/' + file + u':'))
                return l;
        }
        return QString();
    };
    QVERIFY2(line(QStringLiteral("cut.txt")).contains(QStringLiteral("файл обрывается")),
             qPrintable(out));
    QVERIFY2(line(QStringLiteral("raised.txt")).contains(QStringLiteral("не сходятся")),
             qPrintable(out));
    QVERIFY2(line(QStringLiteral("notes.txt")).contains(QStringLiteral("не файл данных")),
             qPrintable(out));
    QVERIFY2(line(QStringLiteral("zz-again.txt")).contains(QStringLiteral("тот же студент")),
             qPrintable(out));
    // The report holds the later test of student A, with the four students.
    QFile csv(dir.filePath(QStringLiteral("group.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QString table = QString::fromUtf8(csv.readAll());
    QCOMPARE(table.count(QStringLiteral("\r\n")), 5);
    QVERIFY(table.contains(QStringLiteral("Акимов А. А.;ФК-1;Плавание;КМС;ИТОГОВОЕ ТЕСТИРОВАНИЕ;"
                                          "07.12.2026;10:00:00;3;300;300;100,0;100;100;100")));
    QFile html(dir.filePath(QStringLiteral("group.html")));
    QVERIFY(html.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("cut.txt"));
}

void GroupReportTest::reliabilityOfARandomDraw() {
    // Two of the three questions each, drawn at random (question, ticks -> share):
    // A q1 {1} 1, q2 {1} 1 = 2;  B q2 {2} 0, q3 {3} 0 = 0;  C q1 {1} 1, q3 {3} 0 = 1;
    // D q3 {1} .5, q1 {1} 1 = 1.5.
    const QList<std::tuple<QString, QList<int>, QList<QList<int>>>> group{
        {QStringLiteral("Акимов А. А."), {0, 1}, {{1}, {1}}},
        {QStringLiteral("Быкова Б. Б."), {1, 2}, {{2}, {3}}},
        {QStringLiteral("Виноградов В. В."), {0, 2}, {{1}, {3}}},
        {QStringLiteral("Голубева Г. Г."), {2, 0}, {{1}, {1}}},
    };
    QList<StudentResult> students;
    for (const auto& [name, drawn, ticks] : group) {
        QBuffer buffer;
        buffer.setData(DataFile(name, ticks, QStringLiteral("10:00:00"), drawn));
        buffer.open(QIODevice::ReadOnly);
        StudentResult student;
        QString reason;
        QVERIFY2(ReadStudentResult(&buffer, name, &student, &reason), qPrintable(reason));
        students << student;
    }
    // Totals 2, 0, 1, 1.5: variance 2.1875 / 3 = .729167. The eight answers 1 1 0 0 1 0 .5 1:
    // sum 4.5, squares 4.25, variance (4.25 - 4.5^2 / 8) / 7 = .245536, for a test of two drawn
    // questions 2 x .245536 = .491071. alpha = 2 (1 - .491071 / .729167) = .653061; the error
    // sqrt(.729167) / 2 x 100 x sqrt(1 - .653061) = 25.1484 points.
    const Reliability reliability = TestReliability(students, AnalyseItems(students));
    QVERIFY(!reliability.sameQuestions);
    QCOMPARE(reliability.students, 4);
    QCOMPARE(reliability.questions, 2);
    QVERIFY(reliability.alpha && reliability.standardError);
    QVERIFY2(qAbs(*reliability.alpha - 0.653061) < 1e-6,
             qPrintable(QString::number(*reliability.alpha)));
    QVERIFY2(qAbs(*reliability.standardError - 25.1484) < 1e-4,
             qPrintable(QString::number(*reliability.standardError)));
}

void GroupReportTest::emptyFolderGivesAnEmptyReport() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data1"));
    QDir().mkpath(folder);
    QProcess process;
    process.start(QStringLiteral(GROUPREPORT_PATH),
                  {QStringLiteral("--csv"), dir.filePath(QStringLiteral("group.csv")),
                   QStringLiteral("--html"), dir.filePath(QStringLiteral("group.html")), folder});
    QVERIFY(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(out.contains(QStringLiteral("Средний процент: — (ни одного студента)")),
             qPrintable(out));
    QFile html(dir.filePath(QStringLiteral("group.html")));
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    QVERIFY(page.contains(QStringLiteral("Отчёт пуст: ни один файл не подошёл.")));
    // No figure of an empty group: neither a mean of 0 nor a chart or a reliability.
    QVERIFY2(!page.contains(QStringLiteral("<td>Средний процент</td><td>0")), qPrintable(page));
    QVERIFY(!page.contains(QStringLiteral("Медиана")));
    QVERIFY(!page.contains(QStringLiteral("Надёжность теста")));
    QVERIFY(!page.contains(QStringLiteral("<svg")));
}

QTEST_GUILESS_MAIN(GroupReportTest)
#include "tst_group_report.moc"
