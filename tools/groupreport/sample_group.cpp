// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/sample_group.h"

#include "tests/control_core.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <random>

namespace {

const char16_t* const kSurnames[] = {
    u"Абрамова",  u"Белов",   u"Васильева",  u"Гусев",   u"Давыдова", u"Егоров",
    u"Жукова",    u"Зайцев",  u"Ильина",     u"Комаров", u"Лебедева", u"Морозов",
    u"Никитина",  u"Орлов",   u"Павлова",    u"Романов", u"Соколова", u"Тарасов",
    u"Уварова",   u"Фёдоров", u"Харитонова", u"Цветков", u"Чернова",  u"Шубин",
    u"Щербакова", u"Юдин",    u"Яковлева",   u"Андреев", u"Борисова", u"Волков"};
const char16_t kInitials[] = u"АБВГДЕЖЗИКЛМНОПРСТУЯ";
constexpr int kSurnameCount = int(std::size(kSurnames));
constexpr int kInitialCount = 20;

const char16_t* const kSpecializations[] = {u"Плавание", u"Лёгкая атлетика", u"Гимнастика",
                                            u"Футбол", u"Биатлон"};
const char16_t* const kQualifications[] = {u"б/р",      u"III разряд", u"II разряд",
                                           u"I разряд", u"КМС",        u"МС"};

// How hard question q is for the generated group: 0 easy .. 1 hard, fixed per question.
double Difficulty(int q) {
    return double((q * 37 + 11) % 17) / 16.0;
}

} // namespace

QString SampleStudentName(int i) {
    return QString::fromUtf16(kSurnames[i % kSurnameCount]) + u' ' +
           QChar(kInitials[(i / kSurnameCount) % kInitialCount]) + QStringLiteral(". ") +
           QChar(kInitials[(i / (kSurnameCount * kInitialCount) + i) % kInitialCount]) +
           QStringLiteral(".");
}

namespace {

// The group's one stream of random numbers: every student and answer draws from it in turn.
class SampleRandom {
public:
    explicit SampleRandom(quint32 seed) : m_engine(seed) {}
    double Unit() { return m_unit(m_engine); }
    std::mt19937::result_type Next() { return m_engine(); }

private:
    std::mt19937 m_engine;
    std::uniform_real_distribution<double> m_unit{0.0, 1.0};
};

CandidateInfo SampleCandidate(int i, const SampleGroupOptions& options) {
    const int perGroup = std::max(1, options.studentsPerGroup);
    return CandidateInfo{SampleStudentName(i), QStringLiteral("ФК-%1").arg(101 + i / perGroup),
                         QString::fromUtf16(kSpecializations[i % std::size(kSpecializations)]),
                         QString::fromUtf16(kQualifications[(i * 7) % std::size(kQualifications)]),
                         options.topic};
}

// The options a student ticks: the whole answer with the given chance, now and then nothing (no
// answer in time), otherwise half of a two-part answer or a wrong option.
PositionFlags SampleTicks(const PositionPoints& points, qsizetype optionCount, double chance,
                          SampleRandom* random) {
    PositionFlags ticked{};
    const double roll = random->Unit();
    QList<int> right, wrong;
    for (int p = 0; p < optionCount; ++p)
        (points[p] > 0 ? right : wrong).append(p);
    if (roll < chance) {
        for (int p : right)
            ticked[p] = true;
    } else if (roll < chance + 0.04) {
        // no answer in time
    } else if (right.size() > 1 && random->Unit() < 0.5) {
        ticked[right[random->Next() % right.size()]] = true; // half of a two-part answer
    } else if (!wrong.isEmpty()) {
        ticked[wrong[random->Next() % wrong.size()]] = true;
    }
    return ticked;
}

// Draws, shows and answers the student's questions as the test would; returns the points.
qint64 WriteSampleAnswers(const QuestionBank& bank, quint32 drawSeed, int count, double ability,
                          SampleRandom* random, ResultReport* writer) {
    const int available = bank.QuestionCount;
    QuestionDraw draw;
    draw.StartDraw(drawSeed);
    qint64 total = 0;
    for (int n = 1; n <= count; ++n) {
        const int q = draw.DrawQuestion(available);
        const Question& question = bank.At(q);
        const QList<int> order = draw.ShuffleOptions(question);
        writer->WriteQuestion(n, question, order);
        PositionPoints points{};
        for (int p = 0; p < order.size(); ++p)
            points[p] = question.Options[order[p] - 1].Points;
        const double chance = std::clamp(ability * (1.25 - 0.6 * Difficulty(q)), 0.0, 1.0);
        const PositionFlags ticked = SampleTicks(points, order.size(), chance, random);
        const qint64 answer = AnswerPoints(ticked, points);
        total += answer;
        writer->WriteAnswer(ticked, points, answer);
    }
    return total;
}

bool SaveDataFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        *error = InputOutputErrorMessage(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QStringList WriteSampleGroup(const QuestionBank& bank, const QString& folder,
                             const SampleGroupOptions& options, QString* error) {
    QStringList written;
    SampleRandom random(options.seed);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (int i = 0; i < options.students; ++i) {
        const CandidateInfo candidate = SampleCandidate(i, options);
        const QDateTime at = options.start.addSecs(qint64(i) * 97);
        const double ability = 0.25 + 0.7 * random.Unit();
        const int span = std::max(0, options.maxQuestions - options.minQuestions);
        const int count =
            std::min(bank.QuestionCount, options.minQuestions + int(random.Next() % (span + 1)));

        QBuffer report;
        QBuffer data;
        report.open(QIODevice::WriteOnly);
        data.open(QIODevice::WriteOnly);
        ResultReport writer;
        writer.OpenReports(&report, QStringLiteral("report"), &data, QStringLiteral("data"),
                           candidate, ReportDateText(at.date(), russian),
                           ReportTimeText(at.time(), russian));
        writer.WriteCount(count);
        const qint64 total = WriteSampleAnswers(bank, options.seed * 7919u + quint32(i), count,
                                                ability, &random, &writer);
        writer.WriteTotals(count, total);
        if (!writer.CloseReports() || writer.Failed()) {
            *error = writer.ErrorMessage();
            return written;
        }
        const QString path = QDir(folder).filePath(candidate.FullName + QStringLiteral(".txt"));
        if (!SaveDataFile(path, data.data(), error))
            return written;
        written << path;
    }
    return written;
}
