// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/group_results.h"

#include "platform/text_file.h"
#include "review/data_file_reader.h"
#include "tests/control_core.h"
#include "tests/percent_text.h"

#include <QBuffer>
#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

#include <algorithm>

namespace {

const QString kGroupLabel = QStringLiteral(",  группа: ");
const QString kSpecializationLabel = QStringLiteral(",  специализация: ");
const QString kTestLabel = QStringLiteral(",  тест: ");
const QString kTotalsLabel = QStringLiteral(", задано вопросов: ");
const QString kItemLead = QStringLiteral("]- (балл за ответ: ");

// A field of the header without the joining blank at its end.
QString Chopped(QStringView text) {
    if (text.endsWith(u' '))
        text.chop(1);
    return text.toString();
}

// Reads a signed decimal integer at *pos and moves past it.
bool ReadInteger(QStringView text, qsizetype* pos, qint64* value) {
    qsizetype i = *pos;
    const bool negative = i < text.size() && text[i] == u'-';
    if (negative)
        ++i;
    const qsizetype digits = i;
    qint64 v = 0;
    while (i < text.size() && text[i].isDigit() && i - digits < 12)
        v = v * 10 + text[i++].digitValue();
    if (i == digits || (i < text.size() && text[i].isDigit()))
        return false;
    *value = negative ? -v : v;
    *pos = i;
    return true;
}

bool Expect(QStringView text, qsizetype* pos, QStringView what) {
    if (!text.mid(*pos).startsWith(what))
        return false;
    *pos += what.size();
    return true;
}

// "[1]- (балл за ответ: 100), [3]- (балл за ответ: 0), " after the lead: the positions and
// their points. Blanks after the last item (the joining blank) are allowed.
bool ReadAnswerList(QStringView text, int optionCount, PositionFlags* positions,
                    PositionPoints* points) {
    qsizetype pos = 0;
    int previous = 0;
    for (;;) {
        while (pos < text.size() && text[pos] == u' ')
            ++pos;
        if (pos == text.size())
            return true;
        if (!Expect(text, &pos, u"[") || pos >= text.size())
            return false;
        const int k = text[pos].digitValue();
        ++pos;
        qint64 value = 0;
        if (k <= previous || k > optionCount || !Expect(text, &pos, kItemLead) ||
            !ReadInteger(text, &pos, &value) || !Expect(text, &pos, u"),") ||
            value != qint64(int(value)))
            return false;
        (*positions)[k - 1] = true;
        (*points)[k - 1] = int(value);
        previous = k;
    }
}

// Takes the texts out of the record (it is not used afterwards).
bool ParseRecord(ReviewItem& item, AnsweredQuestion* answer, QString* what) {
    const int count = item.OptionCount();
    answer->text = std::move(item.QuestionText);
    if (answer->text.endsWith(u' '))
        answer->text.chop(1);
    answer->options.reserve(count);
    for (int k = 0; k < count; ++k)
        answer->options << std::move(item.OptionText[k]).trimmed();

    const QString given = item.GivenAnswer;
    const QString none = QStringLiteral("Ваш ответ: ответа не было,");
    const QString givenLead = QStringLiteral("Вы ответили: ");
    PositionPoints givenPoints{};
    if (given.startsWith(givenLead)) {
        if (!ReadAnswerList(QStringView(given).mid(givenLead.size()), count, &answer->ticked,
                            &givenPoints) ||
            std::none_of(answer->ticked.begin(), answer->ticked.end(), [](bool b) { return b; })) {
            *what = QStringLiteral("строка ответа студента не читается");
            return false;
        }
    } else if (given.trimmed() != none) {
        *what = QStringLiteral("нет строки ответа студента");
        return false;
    }

    const QString correctLead = QStringLiteral("Правильный ответ: ");
    PositionFlags correct{};
    if (!item.CorrectAnswer.startsWith(correctLead) ||
        !ReadAnswerList(QStringView(item.CorrectAnswer).mid(correctLead.size()), count, &correct,
                        &answer->points)) {
        *what = QStringLiteral("строка правильного ответа не читается");
        return false;
    }
    for (int k = 0; k < kMaxOptions; ++k) {
        // A ticked option lists its points; an option worth points is in the correct answer.
        const bool worth = answer->points[k] != 0;
        if (correct[k] != worth || (answer->ticked[k] && !correct[k] && givenPoints[k] != 0) ||
            (answer->ticked[k] && correct[k] && givenPoints[k] != answer->points[k])) {
            *what = QStringLiteral("баллы вариантов в ответе и в правильном ответе расходятся");
            return false;
        }
    }

    const QString pointsLead = QStringLiteral("Набрано баллов за ответ: ");
    qsizetype pos = pointsLead.size();
    if (!item.AnswerPoints.startsWith(pointsLead) ||
        !ReadInteger(item.AnswerPoints, &pos, &answer->answerPoints) ||
        !QStringView(item.AnswerPoints).mid(pos).trimmed().isEmpty()) {
        *what = QStringLiteral("строка баллов за ответ не читается");
        return false;
    }
    if (answer->answerPoints != AnswerPoints(answer->ticked, answer->points)) {
        *what = QStringLiteral("баллы за ответ (%1) не соответствуют отмеченным вариантам (%2)")
                    .arg(answer->answerPoints)
                    .arg(AnswerPoints(answer->ticked, answer->points));
        return false;
    }
    return true;
}

// "D T  name,  группа: g,  специализация: s,  qual,  тест: topic"
bool ParseHeader(const QString& line, StudentResult* student) {
    const qsizetype space = line.indexOf(u' ');
    const qsizetype nameStart = line.indexOf(QStringLiteral("  "), space + 1);
    const qsizetype group = line.indexOf(kGroupLabel);
    const qsizetype specialization = line.indexOf(kSpecializationLabel, group + 1);
    const qsizetype test = line.lastIndexOf(kTestLabel);
    if (space <= 0 || nameStart < 0 || group < nameStart || specialization < 0 ||
        test < specialization)
        return false;
    const qsizetype specStart = specialization + kSpecializationLabel.size();
    const qsizetype qualification = line.lastIndexOf(QStringLiteral(",  "), test - 1);
    if (qualification < specStart)
        return false;
    student->date = line.left(space);
    student->time = line.mid(space + 1, nameStart - space - 1);
    student->name = line.mid(nameStart + 2, group - nameStart - 2);
    student->group =
        line.mid(group + kGroupLabel.size(), specialization - group - kGroupLabel.size());
    student->specialization = line.mid(specStart, qualification - specStart);
    student->qualification = line.mid(qualification + 3, test - qualification - 3);
    student->test = line.mid(test + kTestLabel.size());
    return !student->name.isEmpty();
}

// ", задано вопросов: Q,  набрано баллов: S из M возможных  это составляет pct%"
bool ParseTotals(QStringView line, StudentResult* student) {
    qsizetype pos = kTotalsLabel.size();
    qint64 count = 0;
    if (!line.startsWith(kTotalsLabel) || !ReadInteger(line, &pos, &count) ||
        !Expect(line, &pos, u",  набрано баллов: ") || !ReadInteger(line, &pos, &student->points) ||
        !Expect(line, &pos, u" из ") || !ReadInteger(line, &pos, &student->maximum) ||
        !Expect(line, &pos, u" возможных  это составляет "))
        return false;
    const qsizetype percent = line.indexOf(u'%', pos);
    if (percent < 0 || !line.mid(percent + 1).trimmed().isEmpty())
        return false;
    student->percent = line.mid(pos, percent - pos).trimmed().toString();
    student->questionCount = int(count);
    return count == student->questionCount;
}

QString Damaged(const QString& what) {
    return QStringLiteral("файл повреждён: ") + what;
}

QDateTime TakenAt(const StudentResult& student) {
    QDateTime at = QDateTime::fromString(student.date + u' ' + student.time,
                                         QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    if (!at.isValid()) {
        const QLocale locale = ReportLocale();
        at = QDateTime(locale.toDate(student.date, QLocale::ShortFormat),
                       locale.toTime(student.time, QLocale::LongFormat));
    }
    return at;
}

} // namespace

void SharedTexts::Share(QString* text) {
    const auto kept = m_texts.constFind(*text);
    if (kept != m_texts.cend())
        *text = *kept;
    else
        m_texts.insert(*text);
}

QString AnsweredQuestion::ShownText() const {
    return text.mid(9).trimmed();
}

namespace {

// The first line of a usable file's header: the header without its totals.
QString HeaderFirstLine(const QString& header, qsizetype totalsAt) {
    return Chopped(totalsAt >= 0 ? QStringView(header).left(totalsAt) : QStringView(header));
}

// The first line of the bytes a file begins with.
QString FirstLineOf(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf('\n');
    return DecodeCp1251(end >= 0 ? bytes.first(end) : bytes).remove(u'\r');
}

// Whether the reader's verdict lets the file's records be looked at; if not, *reason says why.
bool ReadAccepted(const DataFileResult& read, bool looksLikeData, QString* reason) {
    switch (read.status) {
    case DataFileResult::Status::CannotOpen:
    case DataFileResult::Status::ReadError:
        *reason = QStringLiteral("файл не читается: ") + read.message;
        return false;
    default:
        break;
    }
    if (!looksLikeData) {
        *reason = QStringLiteral("не файл данных теста: в первой строке нет даты, студента, "
                                 "группы и теста");
        return false;
    }
    if (read.status == DataFileResult::Status::Truncated) {
        *reason = QStringLiteral("файл обрывается: ") + read.message;
        return false;
    }
    if (!read.ok()) {
        *reason = Damaged(read.message);
        return false;
    }
    return true;
}

// Reads the totals at the end of the header and checks them against the number of records.
bool TakeTotals(const QString& header, qsizetype totalsAt, int recordCount, StudentResult* student,
                QString* reason) {
    if (totalsAt < 0 || !ParseTotals(Chopped(QStringView(header).mid(totalsAt)), student)) {
        *reason = Damaged(QStringLiteral("итоговая строка не читается"));
        return false;
    }
    if (student->questionCount != recordCount) {
        *reason = Damaged(QStringLiteral("в итогах вопросов %1, а записей вопросов %2")
                              .arg(student->questionCount)
                              .arg(recordCount));
        return false;
    }
    return true;
}

// Reads the question records into student->answers and checks that their points add up to the
// totals.
bool TakeAnswers(ReviewData* data, StudentResult* student, QString* reason, SharedTexts* shared) {
    qint64 sum = 0;
    student->answers.reserve(data->ReviewCount);
    for (int r = 1; r <= data->ReviewCount; ++r) {
        AnsweredQuestion answer;
        QString what;
        if (!ParseRecord(data->ReviewItems[r - 1], &answer, &what)) {
            *reason = Damaged(QStringLiteral("вопрос %1: %2").arg(r).arg(what));
            return false;
        }
        sum += answer.answerPoints;
        if (shared != nullptr) {
            shared->Share(&answer.text);
            for (QString& option : answer.options)
                shared->Share(&option);
        }
        student->answers.append(std::move(answer));
    }
    if (sum != student->points || student->maximum != qint64(student->questionCount) * 100 ||
        student->percent != PercentText(student->points, student->questionCount).trimmed()) {
        *reason = Damaged(QStringLiteral("итоги (%1 из %2, %3%) не сходятся с баллами за "
                                         "ответы (сумма %4)")
                              .arg(student->points)
                              .arg(student->maximum)
                              .arg(student->percent)
                              .arg(sum));
        return false;
    }
    return true;
}

} // namespace

bool ReadStudentResult(QIODevice* device, const QString& fileName, StudentResult* student,
                       QString* reason, SharedTexts* shared) {
    *student = StudentResult{};
    student->file = fileName;
    // The first line tells a data file from anything else (a printable report, a list). It is
    // the header the reader keeps; after a refusal the reader keeps nothing, so it is looked at
    // before reading.
    char head[1024];
    const qint64 peeked = std::max<qint64>(0, device->peek(head, sizeof head));

    ReviewData data;
    const DataFileResult read = ReadDataFile(device, fileName, &data);
    const QString header = data.ReviewHeader;
    const qsizetype totalsAt = header.lastIndexOf(kTotalsLabel);
    const QString firstLine = read.usable() ? HeaderFirstLine(header, totalsAt)
                                            : FirstLineOf(QByteArrayView(head, peeked));
    const bool looksLikeData = ParseHeader(firstLine, student);
    return ReadAccepted(read, looksLikeData, reason) &&
           TakeTotals(header, totalsAt, data.ReviewCount, student, reason) &&
           TakeAnswers(&data, student, reason, shared);
}

QStringList DataFilesOf(const QStringList& folders, QStringList* missing) {
    QStringList files;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists()) {
            if (missing != nullptr)
                missing->append(folder);
            continue;
        }
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files.append(dir.filePath(name));
    }
    return files;
}

namespace {

// One file's reading: the student's result, or why the file is not used.
struct ReadOutcome {
    StudentResult student;
    QString reason;
};

// Reads and checks the files in parallel (each file on its own) and returns their outcomes in the
// files' order, so that the result does not depend on the number of threads.
std::vector<ReadOutcome> ReadFiles(const QStringList& files,
                                   const std::function<void(int, int)>& progress) {
    const int total = int(files.size());
    std::vector<ReadOutcome> outcomes(static_cast<size_t>(total));
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    // Every thread shares the texts of the files it reads through its own table.
    const auto readOne = [&](int i, SharedTexts* shared) {
        ReadOutcome& outcome = outcomes[size_t(i)];
        QFile file(files[i]);
        if (!file.open(QIODevice::ReadOnly)) {
            outcome.reason = QStringLiteral("файл не открывается: ") + file.errorString();
        } else {
            // A file a teacher saved again in UTF-8 is read as he sees it in his editor.
            QByteArray bytes = Cp1251OfEditedText(file.readAll());
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            ReadStudentResult(&buffer, files[i], &outcome.student, &outcome.reason, shared);
        }
        ++done;
    };
    const auto work = [&] {
        SharedTexts shared;
        for (int i = next++; i < total; i = next++)
            readOne(i, &shared);
    };
    const int helpers = std::clamp(QThread::idealThreadCount() - 1, 0, 7);
    std::vector<std::thread> threads;
    for (int t = 0; t < helpers && t + 1 < total; ++t)
        threads.emplace_back(work);
    SharedTexts shared;
    for (int i = next++; i < total; i = next++) {
        readOne(i, &shared);
        if (progress)
            progress(done.load(), total);
    }
    for (std::thread& thread : threads)
        thread.join();
    if (progress)
        progress(total, total);
    return outcomes;
}

// Two files hold the same student's test when name, group and test agree.
QString StudentKey(const StudentResult& student) {
    return student.name.simplified().toCaseFolded() + u'\n' +
           student.group.simplified().toCaseFolded() + u'\n' + student.test.simplified();
}

// Adds a student to the group. Of two files of the same student the later test is kept when both
// tell their time, the first one read otherwise; *reason says why the new file is not used.
void AddStudent(StudentResult&& student, QHash<QString, qsizetype>* byStudent, GroupResults* group,
                QString* reason) {
    const QString key = StudentKey(student);
    const auto earlier = byStudent->constFind(key);
    if (earlier == byStudent->cend()) {
        byStudent->insert(key, group->students.size());
        group->students.append(std::move(student));
        return;
    }
    StudentResult& kept = group->students[*earlier];
    const QDateTime keptAt = TakenAt(kept);
    const QDateTime newAt = TakenAt(student);
    if (keptAt.isValid() && newAt.isValid() && newAt > keptAt) {
        group->unusable.append(
            {kept.file,
             QStringLiteral("тот же студент ещё раз, более поздний тест в ") + student.file});
        kept = std::move(student);
    } else {
        *reason = QStringLiteral("тот же студент уже есть в ") + kept.file;
    }
}

// By test, group and name in the Russian alphabetical order, numbers by their value.
void SortStudents(QList<StudentResult>* students) {
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setNumericMode(true);
    QList<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(students->size());
    for (qsizetype i = 0; i < students->size(); ++i) {
        const StudentResult& s = (*students)[i];
        keys.append({collator.sortKey(s.test + QChar(1) + s.group + QChar(1) + s.name), i});
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QList<StudentResult> sorted;
    sorted.reserve(students->size());
    for (const auto& key : keys)
        sorted.append(std::move((*students)[key.second]));
    *students = std::move(sorted);
}

} // namespace

GroupResults ReadGroup(const QStringList& files, const std::function<void(int, int)>& progress) {
    std::vector<ReadOutcome> outcomes = ReadFiles(files, progress);
    GroupResults group;
    group.filesRead = int(files.size());
    QHash<QString, qsizetype> byStudent; // name, group and test -> index in group.students
    for (qsizetype i = 0; i < files.size(); ++i) {
        ReadOutcome& outcome = outcomes[size_t(i)];
        if (outcome.reason.isEmpty())
            AddStudent(std::move(outcome.student), &byStudent, &group, &outcome.reason);
        if (!outcome.reason.isEmpty())
            group.unusable.append({files[i], outcome.reason});
    }
    SortStudents(&group.students);
    return group;
}
