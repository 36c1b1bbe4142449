// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keeper/keeper_session.h"

#include "platform/paths.h"
#include "platform/regular_file.h"
#include "questions/answer_points.h"
#include "tests/attempt_journal.h"
#include "tests/candidate_name.h"
#include "tests/percent_text.h"
#include "tests/result_lock.h"
#include "tests/training_core.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

constexpr qint64 kLargestDataFile = 64 * 1024 * 1024;

// A request line: UTF-8 and no control character but the TABs that part the fields.
bool WellFormed(const QByteArray& line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
            return false;
    }
    return QString::fromUtf8(line).toUtf8() == line;
}

// A whole decimal number in [low, high], without sign, blanks or leading zeros.
bool Number(const QByteArray& field, int low, int high, int* value) {
    if (field.isEmpty() || field.size() > 9 || (field.size() > 1 && field[0] == '0'))
        return false;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return false;
    }
    *value = field.toInt();
    return *value >= low && *value <= high;
}

// A name the data folder holds as "<name>.txt": one file name, nothing that leads elsewhere.
bool DataFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           name.toUtf8().size() <= 240;
}

// The account that made the opened file: of the file itself, not of a name looked up again.
uint OwnerOf(const QFile& file) {
#ifdef Q_OS_UNIX
    struct stat info {};
    return ::fstat(file.handle(), &info) == 0 ? uint(info.st_uid) : uint(-2);
#else
    return QFileInfo(file.fileName()).ownerId();
#endif
}

} // namespace

KeeperSession::KeeperSession(QString programFolder, KeeperCaller caller)
    : m_programFolder(std::move(programFolder)), m_caller(caller) {}

QByteArray KeeperSession::Field(const QString& text) {
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString KeeperSession::Unescaped(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return QString::fromUtf8(out);
}

QByteArray KeeperSession::Error(const QString& reason) {
    return "ERROR\t" + Field(reason);
}

QByteArray KeeperSession::Handle(const QByteArray& line) {
    if (!WellFormed(line))
        return Error(QStringLiteral("malformed: not UTF-8 text or a control character"));
    const QList<QByteArray> fields = line.split('\t');
    const QByteArray& command = fields[0];
    if (command == "BYE" && fields.size() == 1) {
        if (m_journalOpen)
            Journal(QStringLiteral("прервана"));
        if (m_report.IsOpen())
            m_report.CloseReports(); // the report keeps the interrupted test's block
        m_stage = Stage::Closed;
        return "OK";
    }
    switch (m_stage) {
    case Stage::Greeting:
        if (line == "HELLO\t1") {
            m_stage = Stage::Idle;
            return "OK\t1";
        }
        return Error(QStringLiteral("out of order: HELLO 1 comes first"));
    case Stage::Idle:
    case Stage::Finished:
    case Stage::Stopped:
        if (command == "TAKE")
            return Take(fields);
        if (command == "CONTROL")
            return Control(fields);
        if (command == "TRAINING")
            return Training(fields);
        if (command == "LIST" && fields.size() == 1)
            return List();
        if (command == "DATA")
            return Data(fields);
        break;
    case Stage::Ready:
        if (line == "NEXT")
            return Next();
        if (line == "END" && m_training)
            return Result();
        break;
    case Stage::Asked:
        if (command == "ANSWER")
            return Answer(fields);
        if (command == "TICKS" && m_training)
            return Ticks(fields);
        if (line == "END" && m_training)
            return Result();
        break;
    case Stage::Closed:
        return Error(QStringLiteral("out of order: the conversation has ended"));
    }
    static const QList<QByteArray> known{"HELLO",  "TAKE",  "CONTROL", "TRAINING", "NEXT",
                                         "ANSWER", "TICKS", "END",     "LIST",     "DATA"};
    if (!known.contains(command))
        return Error(QStringLiteral("malformed: unknown request"));
    return Error(QStringLiteral("out of order: %1").arg(QString::fromUtf8(command)));
}

QByteArray KeeperSession::LoadQuestions(const QString& topic, int count) {
    const LoadResult loaded = m_bank.Load(m_programFolder, topic);
    if (!loaded.ok()) {
        const bool missing = loaded.status == LoadResult::Status::CannotOpen;
        return "REFUSED\t" + QByteArray(missing ? "missing" : "questions") + '\t' +
               Field(loaded.message);
    }
    m_questionsToAsk = std::min(count, m_bank.QuestionCount);
    if (m_questionsToAsk < 1)
        return "REFUSED\tempty\t" +
               Field(QStringLiteral("В файле вопросов нет ни одного вопроса."));
    return {};
}

QByteArray KeeperSession::Begin(bool training) {
    m_training = training;
    m_draw.StartDraw();
    m_shown = 0;
    m_total = 0;
    m_stage = Stage::Ready;
    return "READY\t" + QByteArray::number(m_questionsToAsk) + '\t' + Field(m_bank.Title);
}

QByteArray KeeperSession::Control(const QList<QByteArray>& fields) {
    int count = 0;
    if (fields.size() != 7 || !Number(fields[6], 1, kMaxQuestions, &count))
        return Error(QStringLiteral("malformed: CONTROL takes five texts and a count"));
    if (m_controlTaken) // one control test for each start of the program
        return Error(QStringLiteral("out of order: a control test was already taken"));
    m_candidate = {QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]),
                   QString::fromUtf8(fields[3]), QString::fromUtf8(fields[4]),
                   QString::fromUtf8(fields[5])};
    if (const QByteArray refusal = NameRefusal(m_candidate.FullName); !refusal.isEmpty())
        return refusal;
    if (const QByteArray refusal = LoadQuestions(m_candidate.Topic, count); !refusal.isEmpty())
        return refusal;
    if (m_takenName && m_takenName->FullName() == m_candidate.FullName)
        m_report.HoldNameLock(std::move(m_takenName));
    m_takenName.reset();
    const QDateTime now = ReportNow();
    if (!(m_report.OpenReports(m_programFolder, m_candidate, ReportDateText(now.date()),
                               ReportTimeText(now.time())) &&
          m_report.WriteCount(m_questionsToAsk))) {
        const QString message = m_report.ErrorMessage();
        m_report.CloseReports();
        const bool inUse = message == ResultNameLock::InUseMessage(m_candidate.FullName);
        return "REFUSED\t" + QByteArray(inUse ? "inuse" : "results") + '\t' + Field(message);
    }
    m_controlTaken = true;
    m_journalOpen = true;
    Journal(QStringLiteral("начата"), now); // the moment of the report's header
    return Begin(false);
}

QByteArray KeeperSession::NameRefusal(const QString& fullName) const {
    // The menu's own check, made again: the program that sends the name may be another.
    const QString problem = CandidateNameProblem(
        fullName, {DataPath(m_programFolder, QStringLiteral("\\otchet\\print otchet")),
                   DataPath(m_programFolder, QStringLiteral("\\otchet\\data1"))});
    return problem.isEmpty() ? QByteArray() : "REFUSED\tname\t" + Field(problem);
}

QByteArray KeeperSession::Take(const QList<QByteArray>& fields) {
    if (fields.size() != 2 || fields[1].isEmpty())
        return Error(QStringLiteral("malformed: TAKE takes one name"));
    if (m_controlTaken || m_takenName)
        return Error(QStringLiteral("out of order: a name was already taken"));
    if (const QByteArray refusal = NameRefusal(QString::fromUtf8(fields[1])); !refusal.isEmpty())
        return refusal;
    ResultNameLock::Attempt attempt =
        ResultNameLock::Acquire(m_programFolder, QString::fromUtf8(fields[1]));
    if (!attempt.lock)
        return "REFUSED\t" + QByteArray(attempt.inUse ? "inuse" : "results") + '\t' +
               Field(attempt.message);
    m_takenName = std::move(attempt.lock);
    return "OK";
}

QByteArray KeeperSession::Training(const QList<QByteArray>& fields) {
    int count = 0;
    if (fields.size() != 3 || !Number(fields[2], 1, kMaxQuestions, &count))
        return Error(QStringLiteral("malformed: TRAINING takes a topic and a count"));
    if (const QByteArray refusal = LoadQuestions(QString::fromUtf8(fields[1]), count);
        !refusal.isEmpty())
        return refusal;
    return Begin(true);
}

QByteArray KeeperSession::Ticks(const QList<QByteArray>& fields) {
    PositionFlags ticked{};
    QByteArray refusal;
    if (!ReadTicks(fields, &ticked, &refusal))
        return refusal;
    const bool any = std::find(ticked.begin(), ticked.end(), true) != ticked.end();
    switch (VerdictFor(any, int(AnswerPoints(ticked, m_points)))) {
    case Verdict::Hidden:
        return "VERDICT\thidden";
    case Verdict::Right:
        return "VERDICT\tright";
    case Verdict::Wrong:
        return "VERDICT\twrong";
    case Verdict::Incomplete:
        break;
    }
    return "VERDICT\tincomplete";
}

QByteArray KeeperSession::Result() {
    if (m_training) // the questions never shown count as asked
        m_stage = Stage::Idle;
    else
        m_stage = Stage::Finished;
    return "RESULT\t" + QByteArray::number(m_questionsToAsk) + '\t' + QByteArray::number(m_total) +
           '\t' + QByteArray::number(qint64(m_questionsToAsk) * 100) + '\t' +
           PercentText(m_total, m_questionsToAsk).trimmed().toUtf8();
}

bool KeeperSession::ReadTicks(const QList<QByteArray>& fields, PositionFlags* ticked,
                              QByteArray* refusal) const {
    if (fields.size() != 2 || fields[1].size() != kMaxOptions) {
        *refusal = Error(QStringLiteral("malformed: five ticks are expected"));
        return false;
    }
    for (int p = 1; p <= kMaxOptions; ++p) {
        const char c = fields[1][p - 1];
        if (c != '0' && c != '1') {
            *refusal = Error(QStringLiteral("malformed: a tick is 0 or 1"));
            return false;
        }
        (*ticked)[p - 1] = c == '1';
        if ((*ticked)[p - 1] && p > m_optionCount) {
            *refusal = Error(QStringLiteral("malformed: position %1 shows no option").arg(p));
            return false;
        }
    }
    return true;
}

QByteArray KeeperSession::Next() {
    ++m_shown;
    const Question& question = m_bank.At(m_draw.DrawQuestion(m_bank.QuestionCount));
    const QList<int> order = question.IsEmpty() ? QList<int>() : m_draw.ShuffleOptions(question);
    if (!m_training && !m_report.WriteQuestion(m_shown, question, order))
        return Stop(m_shown);
    m_points.fill(0);
    m_optionCount = int(order.size());
    QByteArray reply = "QUESTION\t" + QByteArray::number(m_shown) + '\t' + Field(question.Text) +
                       '\t' + Field(question.Picture.value_or(QString())) + '\t' +
                       Field(question.TextbookPage);
    for (int p = 1; p <= m_optionCount; ++p) {
        const AnswerOption& option = question.Options[order[p - 1] - 1];
        m_points[p - 1] = option.Points;
        reply += '\t' + Field(option.Text);
    }
    m_stage = Stage::Asked;
    return reply;
}

QByteArray KeeperSession::Answer(const QList<QByteArray>& fields) {
    PositionFlags ticked{};
    QByteArray refusal;
    if (!ReadTicks(fields, &ticked, &refusal))
        return refusal;
    const qint64 points = AnswerPoints(ticked, m_points);
    if (!m_training && !m_report.WriteAnswer(ticked, m_points, points))
        return Stop(m_shown);
    m_total += points;
    if (m_shown < m_questionsToAsk) {
        m_stage = Stage::Ready;
        return "SAVED\t" + QByteArray::number(m_shown);
    }
    if (!m_training &&
        (!m_report.WriteTotals(m_questionsToAsk, m_total) || !m_report.CloseReports()))
        return Stop(0);
    if (!m_training)
        Journal(QStringLiteral("окончена ") + PercentText(m_total, m_questionsToAsk).trimmed() +
                QLatin1Char('%'));
    return Result();
}

QByteArray KeeperSession::Stop(int firstLost) {
    const QString message = m_report.ErrorMessage();
    m_report.CloseReports();
    Journal(QStringLiteral("прервана"));
    m_stage = Stage::Stopped;
    return "STOPPED\t" + QByteArray::number(firstLost) + '\t' + Field(message);
}

void KeeperSession::Journal(const QString& event, const QDateTime& now) {
    if (!m_journalOpen)
        return;
    m_journalOpen = event == QStringLiteral("начата");
    // A journal that cannot be written stops no test: the result files hold the test.
    AppendToJournal(m_programFolder,
                    {ReportDateText(now.date()), ReportTimeText(now.time()), m_candidate.FullName,
                     m_caller.uid, m_caller.login, QSysInfo::machineHostName(), event});
}

QByteArray KeeperSession::List() {
    const QDir folder(DataPath(m_programFolder, QStringLiteral("\\otchet\\data1")));
    QByteArray reply = "NAMES";
    for (const QFileInfo& info : folder.entryInfoList({QStringLiteral("*.txt")},
                                                      QDir::Files | QDir::NoSymLinks, QDir::Name)) {
        if (m_caller.MayRead(info.ownerId()))
            reply += '\t' + Field(info.fileName().chopped(4));
    }
    return reply;
}

QByteArray KeeperSession::Data(const QList<QByteArray>& fields) {
    if (fields.size() != 2 || !DataFileName(QString::fromUtf8(fields[1])))
        return Error(QStringLiteral("malformed: DATA takes one name"));
    const QString path =
        DataPath(m_programFolder, ResultReport::DataFileLiteral(QString::fromUtf8(fields[1])));
    if (QFileInfo(path).isSymLink())
        return Error(QStringLiteral("refused: not a regular file"));
    QFile file;
    if (const QString reason = OpenRegularFileForReading(path, &file); !reason.isEmpty())
        return Error(QStringLiteral("refused: ") + reason);
    if (!m_caller.MayRead(OwnerOf(file)))
        return "REFUSED\towner\t" +
               Field(QStringLiteral("Файл «%1» записан тестированием другого студента: открыть "
                                    "можно только свои результаты.")
                         .arg(QString::fromUtf8(fields[1]) + QStringLiteral(".txt")));
    if (file.size() > kLargestDataFile)
        return Error(QStringLiteral("refused: the file is too large"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Error(QStringLiteral("refused: ") + file.errorString());
    return "FILE\t" + bytes.toBase64();
}
