// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The two result files of a control test, byte for byte, the percentage and the points of an
// answer, and what happens when a file cannot be opened or a device stops taking bytes.
#include "platform/paths.h"
#include "platform/regular_file.h"
#include "test_support.h"
#include "tests/control_core.h"
#include "tests/percent_text.h"
#include "tests/result_lock.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(PositionFlags)
Q_DECLARE_METATYPE(PositionPoints)

namespace {

QByteArray Bytes(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

// Accepts `capacity` bytes, then refuses every write (a disk that fills up part-way).
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : m_capacity(capacity) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        const qint64 room = m_capacity - written.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("device full"));
            return -1;
        }
        const qint64 n = std::min(room, length);
        written.append(data, n);
        return n;
    }

private:
    qint64 m_capacity;
};

CandidateInfo Ivanov() {
    return {QStringLiteral("Иванов И. И."), QStringLiteral("ТС-21"),
            QStringLiteral("Лёгкая атлетика"), QStringLiteral("КМС"),
            QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};
}

Question MakeQuestion(const QString& text, std::optional<QString> picture,
                      const QList<QPair<QString, int>>& options) {
    Question q;
    q.Text = text;
    q.Picture = std::move(picture);
    for (int i = 0; i < options.size(); ++i)
        q.Options[i] = AnswerOption{options[i].first, options[i].second,
                                    options[i].first.startsWith(QLatin1Char('!'))};
    q.OptionCount = int(options.size());
    return q;
}

// A test of two questions: a picture question answered with a right and a wrong option, and a
// video question whose options are all worth 0, left unanswered.
const Question kFirst = MakeQuestion(QStringLiteral("  1.    Сколько игроков в команде? "),
                                     QStringLiteral("\\images\\pole.jpg"),
                                     {{QStringLiteral("11 игроков "), 100},
                                      {QStringLiteral("9 игроков "), 0},
                                      {QStringLiteral("!schema.jpg "), 0}});
const Question kSecond = MakeQuestion(QStringLiteral("  2.    Что показано на видео? "),
                                      QStringLiteral("\\images\\$clip.avi"),
                                      {{QStringLiteral("да "), 0}, {QStringLiteral("нет "), 0}});

bool WriteSmallTest(ResultReport& report, QIODevice* printable, QIODevice* data) {
    bool ok =
        report.OpenReports(printable, QStringLiteral("print"), data, QStringLiteral("data"),
                           Ivanov(), QStringLiteral("07.12.2026"), QStringLiteral("09:05:03"));
    ok = report.WriteCount(2) && ok;
    // Shown in the order: picture option, 11 players, 9 players.
    ok = report.WriteQuestion(1, kFirst, {3, 1, 2}) && ok;
    const PositionFlags ticked{true, true, false, false, false};
    const PositionPoints points{0, 100, 0, 0, 0};
    ok = report.WriteAnswer(ticked, points, AnswerPoints(ticked, points)) && ok;
    ok = report.WriteQuestion(2, kSecond, {2, 1}) && ok;
    ok = report.WriteAnswer({}, {}, 0) && ok;
    ok = report.WriteTotals(2, 0) && ok;
    return report.CloseReports() && ok;
}

const QString kExpectedReport = QStringLiteral(
    "=======================================================\r\n"
    "07.12.2026  09:05:03\r\n"
    "ФИО: Иванов И. И.,  группа: ТС-21,  специализация: Лёгкая атлетика,  "
    "квалификация: КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ\r\n"
    "          Ваши результаты:\r\n"
    "  Вопрос 1\r\n"
    "  1.    Сколько игроков в команде? \r\n"
    "Вы ответили: [1]- (балл за ответ: 0), [2]- (балл за ответ: 100), \r\n"
    "Правильный ответ: [2]- (балл за ответ: 100), \r\n"
    "Набрано баллов за ответ: 0\r\n"
    "  Вопрос 2\r\n"
    "  2.    Что показано на видео? \r\n"
    "Ваш ответ: ответа не было,\r\n"
    "Правильный ответ: Набрано баллов за ответ: 0\r\n"
    "--------\r\n"
    "Задано вопросов: 2,  набрано баллов: 0 из 200 возможных,  это составляет  0.0%\r\n"
    "=======================================================\r\n");

const QString kExpectedData = QStringLiteral(
    "07.12.2026 09:05:03  Иванов И. И.,  группа: ТС-21,  специализация: Лёгкая атлетика,  "
    "КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ\r\n"
    ".\r\n"
    "2\r\n"
    ".\r\n"
    "Вопрос 1\r\n"
    ".\r\n"
    "  1.    Сколько игроков в команде? \r\n"
    "\\pole.jpg\r\n"
    "!schema.jpg \r\n,\r\n11 игроков \r\n,\r\n9 игроков \r\n.\r\n"
    "Вы ответили: [1]- (балл за ответ: 0), [2]- (балл за ответ: 100), \r\n"
    "#\r\n"
    "Правильный ответ: [2]- (балл за ответ: 100), \r\n"
    "&\r\n"
    "Набрано баллов за ответ: 0\r\n"
    "$\r\n"
    "Вопрос 2\r\n"
    ".\r\n"
    "  2.    Что показано на видео? \r\n"
    "\\$clip.avi\r\n"
    "нет \r\n,\r\nда \r\n.\r\n"
    "Ваш ответ: ответа не было,\r\n"
    "#\r\n"
    "Правильный ответ: &\r\n"
    "Набрано баллов за ответ: 0\r\n"
    "$\r\n"
    ", задано вопросов: 2,  набрано баллов: 0 из 200 возможных  это составляет  0.0%\r\n"
    "@\r\n");

void MakeResultFolders(const QTemporaryDir& folder) {
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("otchet/print otchet")));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("otchet/data1")));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ResultReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bothFilesByteForByte();
    void answerLines_data();
    void answerLines();
    void percentage_data();
    void percentage();
    void answerPoints_data();
    void answerPoints();
    void deviceFailingPartWayIsNeverSilent();
    void missingFolderOrForeignNameWritesNothing();
    void dateAndTimeOfTheHeader();
    void plantedFileIsNeverWrittenThrough_data();
    void plantedFileIsNeverWrittenThrough();
    void failedWriteGivesTheSystemsReason();
    void answersReachTheDiskAndTheNameIsHeld();
    void nameInUseIsRefusedBeforeAnyFile();
    void leftBehindLockStopsHolding();
    void clonedPcIsAnotherPc();
    void lockErrorSaysTheSystemsReason();
    void lostFileStopsTheWriter_data();
    void lostFileStopsTheWriter();
    void cutLastLineIsEndedBeforeANewBlock_data();
    void cutLastLineIsEndedBeforeANewBlock();
};

void ResultReportTest::bothFilesByteForByte() {
    QBuffer printable;
    QBuffer data;
    printable.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    QVERIFY(WriteSmallTest(report, &printable, &data));
    QVERIFY(!report.Failed());
    QCOMPARE(printable.data(), Bytes(kExpectedReport));
    QCOMPARE(data.data(), Bytes(kExpectedData));
    // Windows-1251 itself: "ФИО: Иванов" and "Вопрос" as single bytes.
    QVERIFY(printable.data().contains("\xD4\xC8\xCE: \xC8\xE2\xE0\xED\xEE\xE2"));
    QVERIFY(data.data().startsWith("07.12.2026 09:05:03  \xC8\xE2\xE0\xED\xEE\xE2"));
    QVERIFY(data.data().contains("\r\n\xC2\xEE\xEF\xF0\xEE\xF1 2\r\n.\r\n"));
}

void ResultReportTest::answerLines_data() {
    QTest::addColumn<PositionFlags>("ticked");
    QTest::addColumn<PositionPoints>("points");
    QTest::addColumn<QString>("lines");
    QTest::newRow("positions 1 and 3")
        << PositionFlags{true, false, true, false, false} << PositionPoints{50, 0, 50, 0, 0}
        << QStringLiteral("Вы ответили: [1]- (балл за ответ: 50), [3]- (балл за ответ: 50), \r\n"
                          "Правильный ответ: [1]- (балл за ответ: 50), [3]- (балл за ответ: 50), "
                          "\r\nНабрано баллов за ответ: 100\r\n");
    QTest::newRow("negative option counts as correct")
        << PositionFlags{false, false, false, false, true} << PositionPoints{100, 0, 0, 0, -20}
        << QStringLiteral("Вы ответили: [5]- (балл за ответ: -20), \r\n"
                          "Правильный ответ: [1]- (балл за ответ: 100), [5]- (балл за ответ: -20), "
                          "\r\nНабрано баллов за ответ: -20\r\n");
}

void ResultReportTest::answerLines() {
    QFETCH(PositionFlags, ticked);
    QFETCH(PositionPoints, points);
    QFETCH(QString, lines);
    QBuffer printable;
    QBuffer data;
    printable.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    QVERIFY(report.OpenReports(&printable, QStringLiteral("print"), &data, QStringLiteral("data"),
                               Ivanov(), QStringLiteral("d"), QStringLiteral("t")));
    const qsizetype headerEnd = printable.data().size();
    QVERIFY(report.WriteAnswer(ticked, points, AnswerPoints(ticked, points)));
    QCOMPARE(printable.data().mid(headerEnd), Bytes(lines));
}

void ResultReportTest::percentage_data() {
    QTest::addColumn<qint64>("points");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("text");
    QTest::newRow("750 of 10") << qint64(750) << 10 << QStringLiteral("75.0");
    QTest::newRow("75 of 10") << qint64(75) << 10 << QStringLiteral(" 7.5");
    QTest::newRow("nothing") << qint64(0) << 3 << QStringLiteral(" 0.0");
    QTest::newRow("all") << qint64(1000) << 10 << QStringLiteral("100.0");
    QTest::newRow("0.25 up") << qint64(1) << 4 << QStringLiteral(" 0.3");
    QTest::newRow("12.75 up") << qint64(51) << 4 << QStringLiteral("12.8");
    QTest::newRow("two thirds") << qint64(200) << 3 << QStringLiteral("66.7");
    QTest::newRow("one third") << qint64(100) << 3 << QStringLiteral("33.3");
    // 0.15 is 0.149999999999999994... in 18 digits: the digit after the first decimal is 4.
    QTest::newRow("0.15 as a double") << qint64(3) << 20 << QStringLiteral(" 0.1");
    QTest::newRow("negative") << qint64(-25) << 1 << QStringLiteral("-25.0");
    QTest::newRow("no questions") << qint64(0) << 0 << QStringLiteral(" 0.0");
}

void ResultReportTest::percentage() {
    QFETCH(qint64, points);
    QFETCH(int, questions);
    QFETCH(QString, text);
    QCOMPARE(PercentText(points, questions), text);
}

void ResultReportTest::answerPoints_data() {
    QTest::addColumn<PositionFlags>("ticked");
    QTest::addColumn<PositionPoints>("points");
    QTest::addColumn<qint64>("expected");
    const PositionPoints halves{50, 0, 50, 0, 0};
    QTest::newRow("nothing ticked") << PositionFlags{} << halves << qint64(0);
    QTest::newRow("one half") << PositionFlags{true, false, false, false, false} << halves
                              << qint64(50);
    QTest::newRow("both halves") << PositionFlags{true, false, true, false, false} << halves
                                 << qint64(100);
    QTest::newRow("right and wrong")
        << PositionFlags{true, true, true, false, false} << halves << qint64(0);
    QTest::newRow("negative counts") << PositionFlags{true, false, false, true, false}
                                     << PositionPoints{100, 0, 0, -30, 0} << qint64(70);
    QTest::newRow("no overflow") << PositionFlags{true, true, true, true, true}
                                 << PositionPoints{2147483647, 2147483647, 2147483647, 2147483647,
                                                   2147483647}
                                 << qint64(5) * 2147483647;
}

void ResultReportTest::answerPoints() {
    QFETCH(PositionFlags, ticked);
    QFETCH(PositionPoints, points);
    QFETCH(qint64, expected);
    QCOMPARE(AnswerPoints(ticked, points), expected);
}

void ResultReportTest::deviceFailingPartWayIsNeverSilent() {
    const QByteArray fullReport = Bytes(kExpectedReport);
    const QByteArray fullData = Bytes(kExpectedData);
    // The data file stops taking bytes at every point of the test in turn, and so does the
    // report: the failure is always reported, and what reached the device is what was written.
    for (const bool failData : {true, false}) {
        const qint64 total = failData ? fullData.size() : fullReport.size();
        for (qint64 capacity = 0; capacity < total; capacity += 13) {
            FailingDevice failing(capacity);
            QBuffer other;
            other.open(QIODevice::WriteOnly);
            ResultReport report;
            const bool ok = failData ? WriteSmallTest(report, &other, &failing)
                                     : WriteSmallTest(report, &failing, &other);
            const QString where =
                QStringLiteral("%1 after %2 bytes").arg(failData ? "data" : "report").arg(capacity);
            QVERIFY2(!ok, qPrintable(where));
            QVERIFY2(report.Failed(), qPrintable(where));
            QVERIFY2(report.ErrorMessage().startsWith(QStringLiteral("Ошибка ввода-вывода: ") +
                                                      (failData ? "data" : "print")),
                     qPrintable(report.ErrorMessage()));
            QVERIFY(report.ErrorMessage().contains(QStringLiteral("запись не удалась")));
            QCOMPARE(failing.written, (failData ? fullData : fullReport).left(capacity));
            // Nothing more is written once a write failed.
            QVERIFY(!report.WriteTotals(1, 1));
            QCOMPARE(failing.written.size(), capacity);
        }
    }
    // A writer that was never opened refuses too, with a message.
    ResultReport unopened;
    QVERIFY(!unopened.WriteCount(1));
    QVERIFY(unopened.ErrorMessage().startsWith(QStringLiteral("Ошибка ввода-вывода")));
}

void ResultReportTest::missingFolderOrForeignNameWritesNothing() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("otchet/data1")));
    const QString dataPath = folder.filePath(QStringLiteral("otchet/data1/Иванов И. И..txt"));
    {
        QFile earlier(dataPath);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier test\r\n");
    }
    ResultReport report;
    QVERIFY(!report.OpenReports(folder.path(), Ivanov(), QStringLiteral("d"), QStringLiteral("t")));
    QVERIFY(!report.IsOpen());
    QCOMPARE(report.ErrorMessage(),
             QStringLiteral("Ошибка ввода-вывода: %1/otchet/print otchet/Иванов И. И..txt "
                            "(нет папки %1/otchet/print otchet)")
                 .arg(folder.path()));
    // The data file of the earlier test is left as it was.
    QCOMPARE(FileBytes(dataPath), QByteArray("earlier test\r\n"));
    QVERIFY(!report.WriteCount(1));

    // A name that climbs out of the result folders is refused before anything is opened.
    MakeResultFolders(folder);
    for (const QString& name :
         {QStringLiteral("../../escaped"), QStringLiteral("a/b"), QStringLiteral("..\\escaped")}) {
        CandidateInfo candidate = Ivanov();
        candidate.FullName = name;
        QVERIFY2(
            !report.OpenReports(folder.path(), candidate, QStringLiteral("d"), QStringLiteral("t")),
            qPrintable(name));
        QVERIFY(report.ErrorMessage().contains(QStringLiteral("недопустимое имя файла")));
    }
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("escaped.txt"))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("otchet/escaped.txt"))));
    QCOMPARE(QDir(folder.filePath(QStringLiteral("otchet/print otchet")))
                 .entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList());
}

void ResultReportTest::dateAndTimeOfTheHeader() {
    const QDateTime moment(QDate(2026, 12, 7), QTime(9, 5, 3));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QCOMPARE(ReportDateText(moment.date(), russian), QStringLiteral("07.12.2026"));
    QCOMPARE(ReportTimeText(moment.time(), russian), QStringLiteral("09:05:03"));
    // No time-zone name, whatever the locale's long format adds.
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(ReportTimeText(moment.time(), american), QStringLiteral("9:05:03 AM"));

    // The system's formats, Russian where the system names no locale.
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ReportDateText(moment.date()), QStringLiteral("07.12.2026"));
    QLocale::setDefault(american);
    QCOMPARE(ReportDateText(moment.date()), QStringLiteral("12/7/26"));
    QLocale::setDefault(QLocale::system());

    SetReportClockForTesting(moment);
    QCOMPARE(ReportNow(), moment);
    SetReportClockForTesting(std::nullopt);
    QVERIFY(ReportNow() != moment);
}

QTEST_GUILESS_MAIN(ResultReportTest)
#include "tst_result_report.moc"

namespace {

const QString kName = QStringLiteral("Иванов И. И.");

// A lock file of the program: process, program, host, machine id and boot id. With a host, the
// lock of a test that ran on another PC; without one, of this PC.
QByteArray LockContents(qint64 pid, const QByteArray& host = {}, const QByteArray& machine = {}) {
    const bool here = host.isEmpty();
    const QByteArray machineId = !machine.isEmpty() ? machine
                                 : here             ? QSysInfo::machineUniqueId()
                                                    : QByteArray(32, 'f');
    const QByteArray boot = here ? QSysInfo::bootUniqueId() : QByteArray(36, 'f');
    return QByteArray::number(pid) + "\ncourse-testing\n" +
           (here ? QSysInfo::machineHostName().toUtf8() : host) + '\n' + machineId + '\n' + boot +
           '\n';
}

void PlantLock(const QString& lockPath, const QByteArray& contents) {
    QFile::remove(lockPath);
    QFile file(lockPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void SetAge(const QString& path, std::chrono::minutes age) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-60 * age.count()),
                             QFileDevice::FileModificationTime));
}

bool OpenIvanov(ResultReport& report, const QString& folder) {
    return report.OpenReports(folder, Ivanov(), QStringLiteral("d"), QStringLiteral("t"));
}

} // namespace

void ResultReportTest::plantedFileIsNeverWrittenThrough_data() {
    // What a student plants under a classmate's result file, in which folder, and the reason
    // given for it.
    QTest::addColumn<QString>("plant");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("reason");
    for (const QString& folder : {QStringLiteral("data1"), QStringLiteral("print otchet")}) {
        const QByteArray f = folder.toUtf8();
        QTest::newRow("symbolic link, " + f) << "symlink" << folder << "символическая ссылка";
        QTest::newRow("hard link, " + f) << "hardlink" << folder << "жёсткая ссылка";
        QTest::newRow("pipe, " + f) << "fifo" << folder << "канал";
        QTest::newRow("folder, " + f) << "folder" << folder << "это папка";
    }
    QTest::newRow("pipe with a reader") << "fifo+reader"
                                        << "data1"
                                        << "это канал";
    QTest::newRow("data folder a link") << "linked folder"
                                        << "data1"
                                        << "символическая ссылка";
}

void ResultReportTest::plantedFileIsNeverWrittenThrough() {
    QFETCH(QString, plant);
    QFETCH(QString, folder);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString victim = dir.filePath(QStringLiteral("victim.txt"));
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a classmate's results\r\n");
    }
    const QString planted = dir.filePath(QStringLiteral("otchet/%1/%2.txt").arg(folder, kName));
    const QByteArray plantedName = QFile::encodeName(planted);
    int reader = -1;
    if (plant == QLatin1String("symlink"))
        QVERIFY(QFile::link(victim, planted));
    else if (plant == QLatin1String("hardlink"))
        QCOMPARE(::link(QFile::encodeName(victim).constData(), plantedName.constData()), 0);
    else if (plant.startsWith(QLatin1String("fifo")))
        QCOMPARE(::mkfifo(plantedName.constData(), 0666), 0);
    else if (plant == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(planted));
    if (plant == QLatin1String("fifo+reader")) {
        reader = ::open(plantedName.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
    }
    if (plant == QLatin1String("linked folder")) {
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QDir(dir.filePath(QStringLiteral("otchet"))).rmdir(QStringLiteral("data1")));
        QVERIFY(QFile::link(elsewhere, dir.filePath(QStringLiteral("otchet/data1"))));
    }

    ResultReport report;
    QVERIFY(!OpenIvanov(report, dir.path()));
    QVERIFY(!report.IsOpen());
    const QString named = plant == QLatin1String("linked folder")
                              ? dir.filePath(QStringLiteral("otchet/data1/%1.txt").arg(kName))
                              : planted;
    QVERIFY2(report.ErrorMessage().startsWith(QStringLiteral("Ошибка ввода-вывода: ") + named),
             qPrintable(report.ErrorMessage()));
    QVERIFY2(report.ErrorMessage().contains(reason), qPrintable(report.ErrorMessage()));
    QVERIFY(!report.HoldsNameLock());
    // Nothing went through the plant, and no line was written anywhere.
    QCOMPARE(FileBytes(victim), QByteArray("a classmate's results\r\n"));
    if (reader >= 0) {
        char byte;
        QCOMPARE(::read(reader, &byte, 1), ssize_t(0));
        ::close(reader);
    }
    QDirIterator files(dir.filePath(QStringLiteral("otchet")), QDir::Files | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo info(files.next());
        if (info.isFile() && !info.isSymLink()) // no file made beside the plant, no lock left
            QVERIFY2(info.absoluteFilePath() == QFileInfo(planted).absoluteFilePath(),
                     qPrintable(info.absoluteFilePath()));
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("elsewhere/%1.txt").arg(kName))));
}

void ResultReportTest::failedWriteGivesTheSystemsReason() {
    // A full disk: the system's reason, never "Unknown error".
    QFile full(QStringLiteral("/dev/full"));
    QVERIFY(full.open(QIODevice::WriteOnly));
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    QVERIFY(!report.OpenReports(&full, QStringLiteral("print"), &data, QStringLiteral("data"),
                                Ivanov(), QStringLiteral("d"), QStringLiteral("t")));
    QCOMPARE(report.ErrorMessage(),
             QStringLiteral("Ошибка ввода-вывода: print (запись не удалась: на диске нет места "
                            "(код %1))")
                 .arg(ENOSPC));

    // A file that cannot be forced to the disk (a pipe) says why, too.
    int ends[2];
    QCOMPARE(::pipe(ends), 0);
    QFile pipe;
    QVERIFY(pipe.open(ends[1], QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    QCOMPARE(SyncToDisk(&pipe), SystemErrorText(EINVAL));
    ::close(ends[0]);

    for (const int code : {EIO, ENOSPC, EROFS, ETIMEDOUT, 4095, 0}) {
        const QString text = SystemErrorText(code);
        QVERIFY2(!text.isEmpty() && !text.contains(QStringLiteral("Unknown")), qPrintable(text));
    }
    QCOMPARE(SystemErrorText(EIO),
             QStringLiteral("ошибка ввода-вывода на диске или в сети (код %1)").arg(EIO));
}

void ResultReportTest::answersReachTheDiskAndTheNameIsHeld() {
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString lockPath = DataPath(dir.path(), ResultNameLock::LockFileLiteral(kName));
    ResultReport report;
    QVERIFY(OpenIvanov(report, dir.path()));
    QVERIFY(report.HoldsNameLock());
    QVERIFY(QFile::exists(lockPath));
    QVERIFY(report.CloseReports());
    QVERIFY(!report.HoldsNameLock());
    QVERIFY(!QFile::exists(lockPath));

    // The files the writer opened itself: the data file holds the answer once WriteAnswer
    // returned, read through a second handle as another program would.
    QVERIFY(OpenIvanov(report, dir.path()));
    QVERIFY(report.WriteCount(1));
    QVERIFY(report.WriteQuestion(1, kFirst, {1, 2, 3}));
    QVERIFY(report.WriteAnswer({true, false, false, false, false}, {100, 0, 0, 0, 0}, 100));
    const QByteArray data =
        FileBytes(dir.filePath(QStringLiteral("otchet/data1/%1.txt").arg(kName)));
    QVERIFY(data.endsWith(Bytes(QStringLiteral("Набрано баллов за ответ: 100\r\n$\r\n"))));
    QVERIFY(report.WriteTotals(1, 100));
    QVERIFY(report.CloseReports());
}

void ResultReportTest::nameInUseIsRefusedBeforeAnyFile() {
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString dataPath = dir.filePath(QStringLiteral("otchet/data1/%1.txt").arg(kName));
    const QString reportPath =
        dir.filePath(QStringLiteral("otchet/print otchet/%1.txt").arg(kName));
    ResultReport first;
    QVERIFY(OpenIvanov(first, dir.path()));
    QVERIFY(first.WriteCount(3));
    const QByteArray firstData = FileBytes(dataPath);
    const QByteArray firstReport = FileBytes(reportPath);

    // The menu's attempt and the writer's own: both refused, the first test's files intact.
    const ResultNameLock::Attempt attempt = ResultNameLock::Acquire(dir.path(), kName);
    QVERIFY(!attempt.lock);
    QVERIFY(attempt.inUse);
    QCOMPARE(attempt.message, ResultNameLock::InUseMessage(kName));
    QVERIFY(attempt.message.startsWith(
        QStringLiteral("Под именем «Иванов И. И.» уже идёт контрольное тестирование")));
    ResultReport second;
    QVERIFY(!OpenIvanov(second, dir.path()));
    QCOMPARE(second.ErrorMessage(), ResultNameLock::InUseMessage(kName));
    QVERIFY(first.WriteQuestion(1, kFirst, {1, 2, 3}));
    QCOMPARE(FileBytes(dataPath).left(firstData.size()), firstData);
    QCOMPARE(FileBytes(reportPath).left(firstReport.size()), firstReport);

    // Another name is free; once the first test ended, its name is free again and a new test
    // overwrites the data file as always.
    CandidateInfo petrov = Ivanov();
    petrov.FullName = QStringLiteral("Петров П. П.");
    ResultReport other;
    QVERIFY(other.OpenReports(dir.path(), petrov, QStringLiteral("d"), QStringLiteral("t")));
    QVERIFY(first.CloseReports());
    QVERIFY(OpenIvanov(second, dir.path()));
    QVERIFY(second.CloseReports());
    QVERIFY(FileBytes(dataPath).startsWith(firstData.left(firstData.indexOf('\n'))));
    QVERIFY(!FileBytes(dataPath).contains(Bytes(QStringLiteral("Вопрос 1"))));

    // A lock handed over by the menu is the one the writer keeps.
    ResultNameLock::Attempt taken = ResultNameLock::Acquire(dir.path(), kName);
    QVERIFY(taken.lock);
    ResultReport handed;
    handed.HoldNameLock(std::move(taken.lock));
    QVERIFY(OpenIvanov(handed, dir.path()));
    QVERIFY(!ResultNameLock::Acquire(dir.path(), kName).lock);
    QVERIFY(handed.CloseReports());
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).lock);

    // A handed lock lost while its PC stood still: another PC took the name and runs its test.
    // The writer is refused and touches none of that test's files.
    taken = ResultNameLock::Acquire(dir.path(), kName);
    QVERIFY(taken.lock);
    handed.HoldNameLock(std::move(taken.lock));
    const QString lockPath = DataPath(dir.path(), ResultNameLock::LockFileLiteral(kName));
    PlantLock(lockPath, LockContents(4242, "pc-07"));
    const QByteArray otherData = FileBytes(dataPath) + "other PC's test\r\n";
    const QByteArray otherReport = FileBytes(reportPath) + "other PC's test\r\n";
    for (const auto& [path, bytes] : {std::pair{dataPath, otherData}, {reportPath, otherReport}}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QVERIFY(!OpenIvanov(handed, dir.path()));
    QCOMPARE(handed.ErrorMessage(), ResultNameLock::InUseMessage(kName));
    handed.CloseReports();
    QCOMPARE(FileBytes(dataPath), otherData);
    QCOMPARE(FileBytes(reportPath), otherReport);
    QCOMPARE(FileBytes(lockPath), LockContents(4242, "pc-07"));
}

void ResultReportTest::leftBehindLockStopsHolding() {
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString lockPath = DataPath(dir.path(), ResultNameLock::LockFileLiteral(kName));
    const auto plant = [&](const QByteArray& contents, std::chrono::minutes age) {
        QFile::remove(lockPath);
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        SetAge(lockPath, age);
    };
    // Another PC's lock, renewed a minute ago: the test there is running.
    const QByteArray otherPc = LockContents(4242, "another-pc");
    QVERIFY(!otherPc.isEmpty());
    plant(otherPc, std::chrono::minutes(1));
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).inUse);
    // Not renewed for longer than the stale time: that PC crashed, the name is free.
    plant(otherPc, ResultNameLock::kStaleAfter + std::chrono::minutes(1));
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).lock);
    // A process of this PC that is gone frees the name at once.
    QProcess gone;
    gone.start(QStringLiteral("cat"));
    QVERIFY(gone.waitForStarted());
    const qint64 gonePid = gone.processId();
    gone.closeWriteChannel();
    QVERIFY(gone.waitForFinished());
    plant(LockContents(gonePid), std::chrono::minutes(0));
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).lock);

    // The holder renews its lock on every tick of its timer, so a long test keeps its name.
    ResultNameLock::Attempt held = ResultNameLock::Acquire(dir.path(), kName);
    QVERIFY(held.lock);
    QVERIFY(held.lock->RenewTimer->isActive());
    QCOMPARE(held.lock->RenewTimer->interval(), 60 * 1000);
    SetAge(lockPath, ResultNameLock::kStaleAfter + std::chrono::minutes(1));
    QVERIFY(RunOut(held.lock->RenewTimer));
    QVERIFY(QFileInfo(lockPath).lastModified().secsTo(QDateTime::currentDateTime()) < 60);
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).inUse);
}

void ResultReportTest::clonedPcIsAnotherPc() {
    // PCs cloned from one image share the machine id, and each was started on its own: a lock of
    // another host name with this machine id is another PC's running test, not a left-behind
    // lock of this one.
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString lockPath = DataPath(dir.path(), ResultNameLock::LockFileLiteral(kName));
    PlantLock(lockPath, LockContents(999999, "pc-07", QSysInfo::machineUniqueId()));
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).inUse);
    SetAge(lockPath, ResultNameLock::kStaleAfter + std::chrono::minutes(1));
    QVERIFY(ResultNameLock::Acquire(dir.path(), kName).lock);
}

void ResultReportTest::lockErrorSaysTheSystemsReason() {
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString tooLong(300, QLatin1Char('x'));
    const ResultNameLock::Attempt attempt = ResultNameLock::Acquire(dir.path(), tooLong);
    QVERIFY(!attempt.lock && !attempt.inUse);
    QVERIFY2(attempt.message.contains(SystemErrorText(ENAMETOOLONG)), qPrintable(attempt.message));
}

void ResultReportTest::lostFileStopsTheWriter_data() {
    // What happens under the running test's files, and the reason the writer gives.
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("data file deleted") << "delete data"
                                       << "файл удалён";
    QTest::newRow("report deleted") << "delete report"
                                    << "файл удалён";
    QTest::newRow("data file replaced") << "replace data"
                                        << "заменён другим файлом";
    QTest::newRow("folders removed") << "remove folders"
                                     << "удалена";
    QTest::newRow("name taken by another PC") << "take lock"
                                              << "на другом компьютере (pc-07)";
}

void ResultReportTest::lostFileStopsTheWriter() {
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString dataPath = dir.filePath(QStringLiteral("otchet/data1/%1.txt").arg(kName));
    const QString reportPath =
        dir.filePath(QStringLiteral("otchet/print otchet/%1.txt").arg(kName));
    const QString lockPath = DataPath(dir.path(), ResultNameLock::LockFileLiteral(kName));
    ResultReport report;
    QVERIFY(OpenIvanov(report, dir.path()));
    QVERIFY(report.WriteCount(2));
    QVERIFY(report.WriteQuestion(1, kFirst, {1, 2, 3}));

    const QByteArray planted = "planted\r\n";
    if (fault == QLatin1String("delete data"))
        QVERIFY(QFile::remove(dataPath));
    else if (fault == QLatin1String("delete report"))
        QVERIFY(QFile::remove(reportPath));
    else if (fault == QLatin1String("replace data")) {
        QVERIFY(QFile::remove(dataPath));
        QFile file(dataPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(planted);
    } else if (fault == QLatin1String("remove folders"))
        QVERIFY(QDir(dir.filePath(QStringLiteral("otchet"))).removeRecursively());
    else
        PlantLock(lockPath, LockContents(4242, "pc-07"));

    QVERIFY(!report.WriteAnswer({true, false, false, false, false}, {100, 0, 0, 0, 0}, 100));
    QVERIFY2(report.ErrorMessage().startsWith(QStringLiteral("Ошибка ввода-вывода: ")) &&
                 report.ErrorMessage().contains(reason),
             qPrintable(report.ErrorMessage()));
    QVERIFY(!report.WriteTotals(2, 100));
    report.CloseReports();
    if (fault == QLatin1String("replace data"))
        QCOMPARE(FileBytes(dataPath), planted);
    if (fault == QLatin1String("take lock")) // the other PC's lock stays its own
        QCOMPARE(FileBytes(lockPath), LockContents(4242, "pc-07"));
}

void ResultReportTest::cutLastLineIsEndedBeforeANewBlock_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("stopped after CR")
        << QByteArray("=====\r\nscore\r") << QByteArray("=====\r\nscore\r\n");
    QTest::newRow("stopped inside a line")
        << QByteArray("=====\r\nsco") << QByteArray("=====\r\nsco\r\n");
    QTest::newRow("complete") << QByteArray("=====\r\n") << QByteArray("=====\r\n");
    QTest::newRow("ended by LF by hand") << QByteArray("=====\n") << QByteArray("=====\n");
}

void ResultReportTest::cutLastLineIsEndedBeforeANewBlock() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, kept);
    QTemporaryDir dir;
    MakeResultFolders(dir);
    const QString reportPath =
        dir.filePath(QStringLiteral("otchet/print otchet/%1.txt").arg(kName));
    {
        QFile file(reportPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    ResultReport report;
    QVERIFY(OpenIvanov(report, dir.path()));
    QVERIFY(report.CloseReports());
    QCOMPARE(FileBytes(reportPath).left(kept.size() + 57), kept + QByteArray(55, '=') + "\r\n");
}
