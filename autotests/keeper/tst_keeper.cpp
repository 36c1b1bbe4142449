// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The exam keeper over its protocol: a whole control test gives the result files the program
// writes itself, byte for byte, and every malformed, out-of-order or forged request is refused
// without touching them.

#include "autotests/keeper/keeper_course.h"
#include "keeper/keeper_session.h"
#include "platform/paths.h"
#include "platform/regular_file.h"
#include "questions/answer_points.h"
#include "tests/attempt_journal.h"
#include "tests/percent_text.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

namespace {

const QString kName = QStringLiteral("Сидоров С. С.");
const QByteArray kControl =
    "CONTROL\t" + kName.toUtf8() + "\tФК-1\tПлавание\tКМС\tИТОГОВОЕ ТЕСТИРОВАНИЕ\t";

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One keeper process serving a course folder of its own.
class Keeper {
public:
    Keeper() {
        m_process.setProgram(QStringLiteral(KEEPER_PATH));
        m_process.setArguments({QStringLiteral("--course"), m_course.Path()});
        m_process.start();
    }
    ~Keeper() {
        m_process.closeWriteChannel();
        m_process.waitForFinished(30000);
    }
    // Sends one request and returns the answer's line.
    QByteArray Ask(const QByteArray& request) {
        m_process.write(request + '\n');
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(30000))
                return "(no answer)";
        return m_process.readLine().chopped(1);
    }
    QString Data() const { return m_course.Data(kName); }
    QString Report() const { return m_course.Report(kName); }
    QString Course() const { return m_course.Path(); }

private:
    KeeperCourse m_course;
    QProcess m_process;
};

} // namespace

class KeeperTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeTestWritesTheProgramsFiles();
    void refusals_data();
    void refusals();
    void takenNameIsKeptForTheControlTest();
    void lostTakenNameTouchesNothing();
    void classmatesDataFileIsRefused_data();
    void classmatesDataFileIsRefused();
    void trainingGivesVerdictsAndWritesNothing();
    void everyAnswerIsForcedToTheDiskBeforeTheNext();
};

void KeeperTest::wholeTestWritesTheProgramsFiles() {
    Keeper keeper;
    QCOMPARE(keeper.Ask("HELLO\t1"), QByteArray("OK\t1"));
    QCOMPARE(keeper.Ask(kControl + "5"), QByteArray("READY\t2\tТест "));
    // The program learns texts and order, never points; the keeper scores the ticks.
    QuestionBank bank;
    QVERIFY(bank.Load(keeper.Course(), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")).ok());
    QList<std::pair<Question, QList<int>>> shown;
    qint64 expectedTotal = 0;
    const QList<QByteArray> ticks{"11000", "10100"};
    for (int n = 1; n <= 2; ++n) {
        const QList<QByteArray> fields = keeper.Ask("NEXT").split('\t');
        QCOMPARE(fields.value(0), QByteArray("QUESTION"));
        QCOMPARE(fields.value(1), QByteArray::number(n));
        const auto question =
            std::find_if(bank.Questions.begin(), bank.Questions.end(), [&](const Question& q) {
                return q.Text == KeeperSession::Unescaped(fields[2]);
            });
        QVERIFY(question != bank.Questions.end());
        QCOMPARE(fields.size(), 5 + question->OptionCount);
        QList<int> order;
        PositionPoints points{};
        for (int p = 1; p <= question->OptionCount; ++p) {
            const QString text = KeeperSession::Unescaped(fields[4 + p]);
            for (int i = 1; i <= question->OptionCount; ++i)
                if (question->Options[i - 1].Text == text)
                    order << i;
            points[p - 1] = question->Options[order.last() - 1].Points;
        }
        QCOMPARE(int(order.size()), question->OptionCount);
        shown.append({*question, order});
        // Only the positions that show an option are ticked.
        QByteArray tick =
            ticks[n - 1].left(question->OptionCount) + QByteArray(5 - question->OptionCount, '0');
        PositionFlags flags{};
        for (int p = 0; p < 5; ++p)
            flags[p] = tick[p] == '1';
        expectedTotal += AnswerPoints(flags, points);
        const QByteArray answer = keeper.Ask("ANSWER\t" + tick);
        if (n == 1)
            QCOMPARE(answer, QByteArray("SAVED\t1"));
        else
            QCOMPARE(answer, "RESULT\t2\t" + QByteArray::number(expectedTotal) + "\t200\t" +
                                 PercentText(expectedTotal, 2).trimmed().toUtf8());
    }

    // The same test through the program's own writer, at the moment the keeper wrote down.
    const QByteArray data = FileBytes(keeper.Data());
    QBuffer report, expectedData;
    report.open(QIODevice::WriteOnly);
    expectedData.open(QIODevice::WriteOnly);
    ResultReport writer;
    // The date and time the keeper wrote in the data file's first line.
    QStringList dataLines;
    QVERIFY(ReadCp1251Lines(keeper.Data(), &dataLines));
    const QString moment = dataLines.first().section(QStringLiteral("  "), 0, 0);
    writer.OpenReports(&report, QStringLiteral("r"), &expectedData, QStringLiteral("d"),
                       {kName, QStringLiteral("ФК-1"), QStringLiteral("Плавание"),
                        QStringLiteral("КМС"), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")},
                       moment.section(u' ', 0, 0), moment.section(u' ', 1));
    writer.WriteCount(2);
    for (int n = 1; n <= 2; ++n) {
        const auto& [question, order] = shown[n - 1];
        writer.WriteQuestion(n, question, order);
        PositionFlags flags{};
        PositionPoints points{};
        for (int p = 1; p <= order.size(); ++p) {
            flags[p - 1] = ticks[n - 1][p - 1] == '1';
            points[p - 1] = question.Options[order[p - 1] - 1].Points;
        }
        writer.WriteAnswer(flags, points, AnswerPoints(flags, points));
    }
    writer.WriteTotals(2, expectedTotal);
    QVERIFY(writer.CloseReports());
    QCOMPARE(data, expectedData.data());
    QCOMPARE(FileBytes(keeper.Report()), report.data());
    QCOMPARE(keeper.Ask("BYE"), QByteArray("OK"));

    // The attempt journal beside the reports: its start and its end, with the account that ran
    // the keeper.
    const QList<JournalLine> journal =
        ReadJournal(DataPath(keeper.Course(), AttemptJournalLiteral()));
    QCOMPARE(journal.size(), 2);
    QCOMPARE(journal[0].date + u' ' + journal[0].time, moment);
    QCOMPARE(journal[0].name, kName);
    QCOMPARE(journal[0].uid, QFileInfo(keeper.Data()).ownerId());
    QCOMPARE(journal[0].event, QStringLiteral("начата"));
    QCOMPARE(journal[1].event, QStringLiteral("окончена ") +
                                   PercentText(expectedTotal, 2).trimmed() + QLatin1Char('%'));
}

void KeeperTest::refusals_data() {
    // The requests before the refused one, the refused one, and the start of the refusal.
    QTest::addColumn<QList<QByteArray>>("before");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("refusal");
    const QList<QByteArray> hello{"HELLO\t1"};
    const QList<QByteArray> asked{"HELLO\t1", kControl + "2", "NEXT"};
    const QList<QByteArray> answered{"HELLO\t1", kControl + "1", "NEXT", "ANSWER\t00000"};
    QTest::newRow("no greeting") << QList<QByteArray>{} << kControl + "2"
                                 << QByteArray("ERROR\tout of order");
    QTest::newRow("another version")
        << QList<QByteArray>{} << QByteArray("HELLO\t2") << QByteArray("ERROR\tout of order");
    QTest::newRow("a forged total")
        << asked << QByteArray("TOTALS\t2\t200") << QByteArray("ERROR\tmalformed: unknown request");
    QTest::newRow("points sent with the ticks")
        << asked << QByteArray("ANSWER\t10000\t100") << QByteArray("ERROR\tmalformed");
    QTest::newRow("a tick where no option is")
        << asked << QByteArray("ANSWER\t00001") << QByteArray("ERROR\tmalformed");
    QTest::newRow("a tick not 0 or 1")
        << asked << QByteArray("ANSWER\t1x000") << QByteArray("ERROR\tmalformed");
    QTest::newRow("an answer before its question")
        << hello + QList<QByteArray>{kControl + "2"} << QByteArray("ANSWER\t10000")
        << QByteArray("ERROR\tout of order");
    QTest::newRow("two questions at once")
        << asked << QByteArray("NEXT") << QByteArray("ERROR\tout of order");
    QTest::newRow("a second test after the result")
        << answered << kControl + "2" << QByteArray("ERROR\tout of order");
    QTest::newRow("a verdict during a control test")
        << asked << QByteArray("TICKS\t10000") << QByteArray("ERROR\tout of order");
    QTest::newRow("a name taken during a test")
        << asked << QByteArray("TAKE\tПетров П. П.") << QByteArray("ERROR\tout of order");
    QTest::newRow("a control character")
        << hello << kControl + "2\r" << QByteArray("ERROR\tmalformed");
    QTest::newRow("not UTF-8") << hello << QByteArray("DATA\t\xff\xfe")
                               << QByteArray("ERROR\tmalformed");
    QTest::newRow("a count that is no number")
        << hello << kControl + "-1" << QByteArray("ERROR\tmalformed");
    QTest::newRow("a data file outside the folder")
        << hello << QByteArray("DATA\t../../ortu/pdb12") << QByteArray("ERROR\tmalformed");
    // Names the menu refuses, sent by a program of the student's own.
    QTest::newRow("a name with an invisible character")
        << hello << QByteArray("TAKE\tПетров\xE2\x80\x8B П. П.") << QByteArray("REFUSED\tname\t");
    QTest::newRow("a Windows device name")
        << hello << QByteArray("CONTROL\tCON\tФК-1\tПлавание\tКМС\tИТОГОВОЕ ТЕСТИРОВАНИЕ\t2")
        << QByteArray("REFUSED\tname\t");
    QTest::newRow("a request too long") << hello << QByteArray(100 * 1024, 'A')
                                        << QByteArray("ERROR\tmalformed: the request is too long");
}

void KeeperTest::refusals() {
    QFETCH(QList<QByteArray>, before);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, refusal);
    Keeper keeper;
    for (const QByteArray& line : before) {
        const QByteArray answer = keeper.Ask(line);
        QVERIFY2(!answer.startsWith("ERROR") && !answer.startsWith("REFUSED"), answer.constData());
    }
    const QByteArray data = FileBytes(keeper.Data());
    const QByteArray report = FileBytes(keeper.Report());
    const QByteArray answer = keeper.Ask(request);
    QVERIFY2(answer.startsWith(refusal), answer.constData());
    // Nothing changed, and the conversation goes on.
    QCOMPARE(FileBytes(keeper.Data()), data);
    QCOMPARE(FileBytes(keeper.Report()), report);
    QCOMPARE(keeper.Ask("BYE"), QByteArray("OK"));
}

void KeeperTest::takenNameIsKeptForTheControlTest() {
    // The menu takes the name before the control screen opens; a second PC is refused then,
    // and the control test under the name keeps the lock it was handed.
    Keeper first;
    QCOMPARE(first.Ask("HELLO\t1"), QByteArray("OK\t1"));
    QCOMPARE(first.Ask("TAKE\t" + kName.toUtf8()), QByteArray("OK"));
    QProcess second;
    second.start(QStringLiteral(KEEPER_PATH), {QStringLiteral("--course"), first.Course()});
    second.write("HELLO\t1\nTAKE\t" + kName.toUtf8() + "\nBYE\n");
    QVERIFY(second.waitForFinished(30000));
    const QList<QByteArray> answers = second.readAllStandardOutput().split('\n');
    QVERIFY2(answers.value(1).startsWith("REFUSED\tinuse\tПод именем «Сидоров С. С.»"),
             answers.value(1).constData());
    QVERIFY(first.Ask(kControl + "2").startsWith("READY\t2"));
    QVERIFY(first.Ask("NEXT").startsWith("QUESTION\t1"));
}

void KeeperTest::lostTakenNameTouchesNothing() {
    // The keeper that took the name stood still past the lock's lifetime; another PC took the
    // name and runs its control test. The first is refused and leaves that test's files alone.
    KeeperCourse course;
    KeeperSession frozen(course.Path());
    QCOMPARE(frozen.Handle("HELLO\t1"), QByteArray("OK\t1"));
    QCOMPARE(frozen.Handle("TAKE\t" + kName.toUtf8()), QByteArray("OK"));
    const QString lock = course.Data(kName).chopped(4) + QStringLiteral(".lock");
    const QByteArray otherLock =
        "4242\ncourse-testing\npc-07\n" + QByteArray(32, 'f') + '\n' + QByteArray(36, 'f') + '\n';
    const QByteArray otherData = "data of the test on pc-07\r\n";
    const QByteArray otherReport = "report of the test on pc-07\r\n";
    for (const auto& [path, bytes] : {std::pair{lock, otherLock},
                                      {course.Data(kName), otherData},
                                      {course.Report(kName), otherReport}}) {
        QFile::remove(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    const QByteArray answer = frozen.Handle(kControl + "2");
    QVERIFY2(answer.startsWith("REFUSED\tinuse\t"), answer.constData());
    QCOMPARE(FileBytes(course.Data(kName)), otherData);
    QCOMPARE(FileBytes(course.Report(kName)), otherReport);
    QCOMPARE(FileBytes(lock), otherLock);
}

void KeeperTest::classmatesDataFileIsRefused_data() {
    // Who asks for a data file that this test's account made.
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("owner");
    QTest::addColumn<bool>("teacher");
    QTest::addColumn<bool>("served");
    QTest::newRow("a keeper run as the user") << false << false << false << true;
    QTest::newRow("the student who made it") << true << true << false << true;
    QTest::newRow("a classmate") << true << false << false << false;
    QTest::newRow("a teacher") << true << false << true << true;
}

void KeeperTest::classmatesDataFileIsRefused() {
    QFETCH(bool, installed);
    QFETCH(bool, owner);
    QFETCH(bool, teacher);
    QFETCH(bool, served);
    KeeperCourse course;
    const QByteArray bytes = "07.12.2026 09:05:03  Сидоров С. С.\r\n.\r\n";
    {
        QFile file(course.Data(kName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    const uint account = QFileInfo(course.Data(kName)).ownerId();
    KeeperSession session(course.Path(), {installed, owner ? account : account + 1, teacher, {}});
    QCOMPARE(session.Handle("HELLO\t1"), QByteArray("OK\t1"));
    const QByteArray names = session.Handle("LIST");
    const QByteArray data = session.Handle("DATA\t" + kName.toUtf8());
    if (served) {
        QCOMPARE(names, "NAMES\t" + kName.toUtf8());
        QCOMPARE(data, "FILE\t" + bytes.toBase64());
        return;
    }
    QCOMPARE(names, QByteArray("NAMES"));
    QVERIFY2(data.startsWith("REFUSED\towner\t") &&
                 KeeperSession::Unescaped(data).contains(QStringLiteral("другого студента")),
             data.constData());
}

void KeeperTest::trainingGivesVerdictsAndWritesNothing() {
    Keeper keeper;
    QCOMPARE(keeper.Ask("HELLO\t1"), QByteArray("OK\t1"));
    QCOMPARE(keeper.Ask("TRAINING\tИТОГОВОЕ ТЕСТИРОВАНИЕ\t1"), QByteArray("READY\t1\tТест "));
    const QList<QByteArray> question = keeper.Ask("NEXT").split('\t');
    QCOMPARE(question.value(0), QByteArray("QUESTION"));
    // The verdict of each set of ticks, from the points the program never sees (the test's
    // option texts name them: "- вариант i на P баллов").
    QByteArray right(5, '0'), wrong(5, '0'), half(5, '0');
    for (int p = 1; p < question.size() - 4; ++p) {
        const QString text = KeeperSession::Unescaped(question[4 + p]);
        if (text.contains(QStringLiteral("на 0 ")))
            wrong[p - 1] = '1';
        else
            right[p - 1] = '1';
        if (text.contains(QStringLiteral("на 50 ")) && !half.contains('1'))
            half[p - 1] = '1';
    }
    QCOMPARE(keeper.Ask("TICKS\t00000"), QByteArray("VERDICT\thidden"));
    QCOMPARE(keeper.Ask("TICKS\t" + wrong), QByteArray("VERDICT\twrong"));
    if (half.contains('1'))
        QCOMPARE(keeper.Ask("TICKS\t" + half), QByteArray("VERDICT\tincomplete"));
    QCOMPARE(keeper.Ask("TICKS\t" + right), QByteArray("VERDICT\tright"));
    const QByteArray tick = right;
    QCOMPARE(keeper.Ask("ANSWER\t" + tick), QByteArray("RESULT\t1\t100\t100\t100.0"));
    QVERIFY(QDir(keeper.Course() + QStringLiteral("/otchet/data1")).isEmpty());
    QVERIFY(QDir(keeper.Course() + QStringLiteral("/otchet/print otchet")).isEmpty());
}

// The keeper's own writer, in this process so that its forcings to the disk can be counted and
// one of them failed.
void KeeperTest::everyAnswerIsForcedToTheDiskBeforeTheNext() {
#ifdef Q_OS_LINUX
    KeeperCourse course;
    // Each forcing to the disk, with the data file's last line at that moment.
    QStringList forced;
    int failing = 0; // the forcing of the data file that fails (counted from 1), 0: none
    int dataSyncs = 0;
    SetDiskSyncHookForTesting([&](const QFileDevice& file) {
        // The result files are opened by descriptor: the system names the file.
        const QString path =
            QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(file.handle())).symLinkTarget();
        if (path.endsWith(QLatin1String("/attempts.log"))) {
            forced << QStringLiteral("journal");
            return 0;
        }
        if (QFileInfo(path).dir().dirName() != QLatin1String("data1")) {
            forced << QStringLiteral("report");
            return 0;
        }
        const QList<QByteArray> lines = FileBytes(course.Data(kName)).split('\n');
        forced << QStringLiteral("data ") +
                      QString::fromLatin1(lines.value(lines.size() - 2)).trimmed();
        return ++dataSyncs == failing ? EIO : 0;
    });
    const auto unhook = qScopeGuard([] { SetDiskSyncHookForTesting(nullptr); });
    const auto test = [&](KeeperSession& session) {
        QCOMPARE(session.Handle("HELLO\t1"), QByteArray("OK\t1"));
        QVERIFY(session.Handle(kControl + "2").startsWith("READY\t2\t"));
    };

    {
        KeeperSession session(course.Path());
        test(session);
        QVERIFY(session.Handle("NEXT").startsWith("QUESTION\t1\t"));
        QVERIFY(session.Handle("ANSWER\t10000").startsWith("SAVED\t1"));
        QVERIFY(session.Handle("NEXT").startsWith("QUESTION\t2\t"));
        QVERIFY(session.Handle("ANSWER\t10000").startsWith("RESULT\t2\t"));
    }
    QCOMPARE(forced, (QStringList{QStringLiteral("report"), QStringLiteral("data ."),
                                  QStringLiteral("journal"), QStringLiteral("report"),
                                  QStringLiteral("data $"), QStringLiteral("report"),
                                  QStringLiteral("data $"), QStringLiteral("report"),
                                  QStringLiteral("data @"), QStringLiteral("journal")}));

    // The disk refuses the second answer: the test stops there and says why.
    forced.clear();
    dataSyncs = 0;
    failing = 3;
    KeeperSession session(course.Path());
    test(session);
    QVERIFY(session.Handle("NEXT").startsWith("QUESTION\t1\t"));
    QVERIFY(session.Handle("ANSWER\t10000").startsWith("SAVED\t1"));
    QVERIFY(session.Handle("NEXT").startsWith("QUESTION\t2\t"));
    const QByteArray stopped = session.Handle("ANSWER\t10000");
    QVERIFY2(stopped.startsWith("STOPPED\t2\t"), stopped.constData());
    QVERIFY2(KeeperSession::Unescaped(stopped).contains(QStringLiteral("ошибка ввода-вывода")),
             stopped.constData());
    QCOMPARE(forced.size(), 8);
    QCOMPARE(forced.last(), QStringLiteral("journal"));
    QCOMPARE(ReadJournal(DataPath(course.Path(), AttemptJournalLiteral())).last().event,
             QStringLiteral("прервана"));
    QVERIFY(session.Handle("NEXT").startsWith("ERROR\t"));
#else
    QSKIP("names an open file through /proc");
#endif
}

QTEST_GUILESS_MAIN(KeeperTest)
#include "tst_keeper.moc"
