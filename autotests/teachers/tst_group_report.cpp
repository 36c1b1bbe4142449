// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The group report on small groups whose figures were worked out by hand, and on folders that
// hold files it cannot use.

#include "tools/groupreport/group_results.h"
#include "tools/groupreport/item_analysis.h"

#include "tests/control_core.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

// A data file written by the program's writer: the ticked positions of each question in turn.
QByteArray DataFile(const QString& name, const QList<QList<int>>& ticks,
                    const QString& time = QStringLiteral("10:00:00")) {
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
        const Question& question = Questions()[i];
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
    void unusableFilesAreListedAndTheReportGoesOn();
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
    QCOMPARE(items[0].flags, QStringList{QStringLiteral("вариант «неверно 2» не выбран ни разу")});
    QCOMPARE(items[1].flags, QStringList());
    QCOMPARE(items[2].flags, QStringList{QStringLiteral("отрицательная различающая способность")});

    // Facility flags: a question everybody got right, one nobody did.
    QList<StudentResult> easy = students.mid(0, 1) + students.mid(2, 1); // A and C
    const QList<ItemStatistics> easyItems = AnalyseItems(easy);
    QVERIFY(easyItems[0].flags.contains(QStringLiteral("слишком лёгкий: доля баллов 1.00")));
    const QList<ItemStatistics> hard = AnalyseItems(students.mid(3, 1)); // D
    QVERIFY(hard[1].flags.contains(QStringLiteral("слишком трудный: доля баллов 0.00")));
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
                                          "07.12.2026;10:00:00;3;300;300;100.0;100;100;100")));
    QFile html(dir.filePath(QStringLiteral("group.html")));
    QVERIFY(html.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("cut.txt"));
}

QTEST_GUILESS_MAIN(GroupReportTest)
#include "tst_group_report.moc"
