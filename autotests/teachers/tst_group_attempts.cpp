// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The group report's list of attempts, read from the printable reports that the program's writer
// leaves: a test killed for a fresh draw, and a finished test taken again, are seen with the time
// each began; and the accounts the keeper's attempt journal names for each name.

#include "platform/text_file.h"
#include "tests/attempt_journal.h"
#include "tests/result_report.h"
#include "tools/groupreport/attempts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

Question OneQuestion() {
    Question q;
    q.Text = QStringLiteral(" 1.      Вопрос? ");
    q.Options[0] = AnswerOption{QStringLiteral("верно "), 100, false};
    q.Options[1] = AnswerOption{QStringLiteral("неверно "), 0, false};
    q.OptionCount = 2;
    return q;
}

// One control test under `name` in the course folder: `answers` answers of `count` questions,
// each given `points`; the totals only when every question was answered (a killed program writes
// no more).
void TakeTest(const QString& course, const QString& name, const QString& time, int count,
              int answers, qint64 points = 100) {
    ResultReport writer;
    QVERIFY(writer.OpenReports(course,
                               {name, QStringLiteral("ФК-1"), QStringLiteral("Плавание"),
                                QStringLiteral("КМС"), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")},
                               QStringLiteral("07.12.2026"), time));
    QVERIFY(writer.WriteCount(count));
    for (int i = 1; i <= answers; ++i) {
        QVERIFY(writer.WriteQuestion(i, OneQuestion(), {1, 2}));
        QVERIFY(writer.WriteAnswer({true, false, false, false, false}, {100, 0, 0, 0, 0}, points));
    }
    if (answers == count)
        QVERIFY(writer.WriteTotals(count, points * count));
    QVERIFY(writer.CloseReports());
}

} // namespace

class GroupAttemptsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyAttemptIsListedWithItsTime();
    void filesSavedAgainInUtf8ReadAsBefore();
};

void GroupAttemptsTest::everyAttemptIsListedWithItsTime() {
    QTemporaryDir course;
    QVERIFY(QDir(course.path()).mkpath(QStringLiteral("otchet/data1")));
    QVERIFY(QDir(course.path()).mkpath(QStringLiteral("otchet/print otchet")));
    const QString ivanov = QStringLiteral("Иванов И. И.");
    // Killed after two answers, killed again before any, then a whole test: the data file holds
    // only the last.
    TakeTest(course.path(), ivanov, QStringLiteral("09:05:03"), 3, 2);
    TakeTest(course.path(), ivanov, QStringLiteral("09:07:41"), 3, 0);
    TakeTest(course.path(), ivanov, QStringLiteral("09:08:10"), 2, 2);
    TakeTest(course.path(), QStringLiteral("Петров П. П."), QStringLiteral("09:06:00"), 2, 2);
    // A finished test taken again: the second result replaced the first in the data file.
    const QString sidorov = QStringLiteral("Сидоров С. С.");
    TakeTest(course.path(), sidorov, QStringLiteral("09:10:00"), 2, 2);
    TakeTest(course.path(), sidorov, QStringLiteral("09:20:00"), 2, 2, 0);
    // The keeper's journal: Ivanov's name was tested from two accounts.
    const auto started = [&](const QString& name, uint uid, const QString& login) {
        QCOMPARE(AppendToJournal(course.path(),
                                 {QStringLiteral("07.12.2026"), QStringLiteral("09:00:00"), name,
                                  uid, login, QStringLiteral("pc-07"), QStringLiteral("начата")}),
                 QString());
    };
    started(ivanov, 1001, QStringLiteral("ivanov"));
    started(sidorov, 1003, QStringLiteral("sidorov"));
    started(ivanov, 1002, QStringLiteral("petrov"));
    started(ivanov, 1001, QStringLiteral("ivanov"));

    const QString data = course.filePath(QStringLiteral("otchet/data1"));
    const GroupAttempts group = ReadGroupAttempts({data});
    QCOMPARE(group.reportsRead, 3);
    QCOMPARE(group.students.size(), 2);
    const StudentAttempts& retaken = group.students[1];
    QCOMPARE(retaken.name, sidorov);
    QCOMPARE(retaken.attempts.size(), 2);
    QCOMPARE(retaken.attempts[0].percent, QStringLiteral("100.0"));
    QCOMPARE(retaken.attempts[1].percent, QStringLiteral("0.0"));
    const StudentAttempts& student = group.students.first();
    QCOMPARE(student.name, ivanov);
    QCOMPARE(student.attempts.size(), 3);
    QVERIFY(student.attempts[2].finished);
    const QList<ReportAttempt> interrupted = student.Interrupted();
    QCOMPARE(interrupted.size(), 2);
    QCOMPARE(interrupted[0].date, QStringLiteral("07.12.2026"));
    QCOMPARE(interrupted[0].time, QStringLiteral("09:05:03"));
    QCOMPARE(interrupted[0].answers, 2);
    QCOMPARE(interrupted[1].time, QStringLiteral("09:07:41"));
    QCOMPARE(interrupted[1].answers, 0);

    // The command says it, and so does its page; a folder without reports beside it is named
    // instead of being passed over as if nothing had been interrupted.
    QTemporaryDir lone;
    QProcess process;
    process.start(QStringLiteral(GROUPREPORT_PATH),
                  {QStringLiteral("--csv"), course.filePath(QStringLiteral("g.csv")),
                   QStringLiteral("--html"), course.filePath(QStringLiteral("g.html")), data,
                   lone.path()});
    QVERIFY(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString& line :
         {QStringLiteral("Попытка: Иванов И. И., начата 07.12.2026 09:05:03, прервана, ответов: 2"),
          QStringLiteral("Попытка: Сидоров С. С., начата 07.12.2026 09:10:00, итог 100.0%"),
          QStringLiteral("Попытка: Сидоров С. С., начата 07.12.2026 09:20:00, итог 0.0%"),
          QStringLiteral("Учётные записи: Иванов И. И.: ivanov (1001), petrov (1002) — имя "
                         "тестировалось с нескольких учётных записей"),
          QStringLiteral("Учётные записи: Сидоров С. С.: sidorov (1003)\n")})
        QVERIFY2(out.contains(line), qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("Попытка: Петров")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("Попытки не проверены: рядом с ") + lone.path()),
             qPrintable(out));
    QFile page(course.filePath(QStringLiteral("g.html")));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QVERIFY(html.contains(QStringLiteral("<tr><td>Иванов И. И.</td><td>07.12.2026 09:07:41</td>"
                                         "<td>прервана, ответов: 0</td><td>3</td></tr>")));
    QVERIFY(html.contains(QStringLiteral("<tr><td>Сидоров С. С.</td><td>07.12.2026 09:10:00</td>"
                                         "<td>100.0%</td><td>2</td></tr>")));
    QVERIFY(html.contains(QStringLiteral("<tr><td>Иванов И. И.</td><td>ivanov (1001), petrov "
                                         "(1002)</td><td><strong>")));
    QVERIFY(html.indexOf(QStringLiteral("id=\"attempts\"")) <
            html.lastIndexOf(QStringLiteral("</body>")));
}

// A teacher opened both files in an editor that saved them in UTF-8 (Windows editors put a
// byte-order mark first): the finished test is still read as finished, with its result, and the
// data file is counted.
void GroupAttemptsTest::filesSavedAgainInUtf8ReadAsBefore() {
    QTemporaryDir course;
    QVERIFY(QDir(course.path()).mkpath(QStringLiteral("otchet/data1")));
    QVERIFY(QDir(course.path()).mkpath(QStringLiteral("otchet/print otchet")));
    const QString name = QStringLiteral("Сидоров С. С.");
    TakeTest(course.path(), name, QStringLiteral("09:10:00"), 2, 1);
    TakeTest(course.path(), name, QStringLiteral("09:20:00"), 2, 2);
    const auto saveInUtf8 = [](const QString& path, const QByteArray& mark) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = DecodeCp1251(file.readAll());
        file.close();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.write(mark + text.toUtf8()) > 0);
    };
    const QString data = course.filePath(QStringLiteral("otchet/data1"));
    saveInUtf8(
        course.filePath(QStringLiteral("otchet/print otchet/") + name + QStringLiteral(".txt")),
        QByteArray("\xEF\xBB\xBF"));
    saveInUtf8(data + u'/' + name + QStringLiteral(".txt"), QByteArray());

    const GroupAttempts group = ReadGroupAttempts({data});
    QCOMPARE(group.students.size(), 1);
    QCOMPARE(group.students[0].attempts.size(), 2);
    QCOMPARE(group.students[0].Interrupted().size(), 1);
    QCOMPARE(group.students[0].attempts[1].percent, QStringLiteral("100.0"));

    QProcess process;
    process.start(QStringLiteral(GROUPREPORT_PATH),
                  {QStringLiteral("--csv"), course.filePath(QStringLiteral("g.csv")),
                   QStringLiteral("--html"), course.filePath(QStringLiteral("g.html")), data});
    QVERIFY(process.waitForFinished(60000));
    const QString out =
        QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    QVERIFY2(process.exitCode() == 0, qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("не файл данных")), qPrintable(out));
    QFile csv(course.filePath(QStringLiteral("g.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(csv.readAll()).contains(name));
}

QTEST_GUILESS_MAIN(GroupAttemptsTest)
#include "tst_group_attempts.moc"
