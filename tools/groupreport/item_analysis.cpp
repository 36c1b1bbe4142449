// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/item_analysis.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

struct Observation {
    const StudentResult* student;
    qsizetype place;            // the student's place in the list, which is sorted by name
    double share;               // the question's points / 100
    std::optional<double> rest; // the rest of the test as a share of its maximum
};

std::optional<double> Correlation(const QList<Observation>& observations) {
    QList<std::pair<double, double>> pairs;
    for (const Observation& o : observations) {
        if (o.rest)
            pairs.append({o.share, *o.rest});
    }
    const qsizetype n = pairs.size();
    if (n < 2)
        return std::nullopt;
    double mx = 0, my = 0;
    for (const auto& [x, y] : pairs)
        mx += x, my += y;
    mx /= double(n);
    my /= double(n);
    double sxy = 0, sxx = 0, syy = 0;
    for (const auto& [x, y] : pairs) {
        sxy += (x - mx) * (y - my);
        sxx += (x - mx) * (x - mx);
        syy += (y - my) * (y - my);
    }
    if (sxx <= 1e-12 || syy <= 1e-12)
        return std::nullopt;
    return sxy / std::sqrt(sxx * syy);
}

// The mean share of the first n observations (ranked best first or worst first), students tied
// at the n-th place sharing the places left.
double GroupMean(const QList<Observation>& ranked, qsizetype n) {
    const double edge = ranked[n - 1].student->Share();
    double sum = 0;
    qsizetype above = 0;
    double tiedSum = 0;
    qsizetype tied = 0;
    for (const Observation& o : ranked) {
        if (o.student->Share() == edge) {
            tiedSum += o.share;
            ++tied;
        } else if (tied == 0) {
            sum += o.share; // ranked above the edge: wholly in the group
            ++above;
        } else {
            break; // past the tied students: outside the group
        }
    }
    sum += tiedSum * double(n - above) / double(tied);
    return sum / double(n);
}

std::optional<double> UpperLower(QList<Observation> observations) {
    const qsizetype count = observations.size();
    if (count < 2)
        return std::nullopt;
    std::sort(observations.begin(), observations.end(),
              [](const Observation& a, const Observation& b) {
                  return a.student->Share() > b.student->Share();
              });
    const qsizetype n = UpperLowerGroupSize(count);
    const double upper = GroupMean(observations, n);
    std::reverse(observations.begin(), observations.end());
    const double lower = GroupMean(observations, n);
    return upper - lower;
}

double Variance(const QList<double>& values) {
    if (values.size() < 2)
        return 0;
    double mean = 0;
    for (double v : values)
        mean += v;
    mean /= double(values.size());
    double sum = 0;
    for (double v : values)
        sum += (v - mean) * (v - mean);
    return sum / double(values.size() - 1);
}

QString Figure(double value) {
    return QString::number(value, 'f', 2);
}

// Counts how often each of the answer's options was shown and chosen.
void CountOptions(const AnsweredQuestion& answer, ItemStatistics* item) {
    for (int k = 0; k < answer.options.size(); ++k) {
        // A question has a handful of options: a look through them beats hashing.
        const QString& text = answer.options[k];
        const auto found = std::find_if(item->options.begin(), item->options.end(),
                                        [&](const OptionUse& o) { return o.text == text; });
        OptionUse& use = found != item->options.end()
                             ? *found
                             : item->options.emplaceBack(OptionUse{text, answer.points[k], 0, 0});
        ++use.shown;
        use.chosen += answer.ticked[k] ? 1 : 0;
    }
}

// One item per question text in the order they first turn up, with every student's answer to it.
void CollectAnswers(const QList<StudentResult>& students, QList<ItemStatistics>* items,
                    QList<QList<Observation>>* observations) {
    QHash<QString, qsizetype> index;
    for (qsizetype place = 0; place < students.size(); ++place) {
        const StudentResult& student = students[place];
        for (const AnsweredQuestion& answer : student.answers) {
            auto found = index.constFind(answer.text);
            if (found == index.cend()) {
                found = index.insert(answer.text, items->size());
                ItemStatistics item;
                item.text = answer.text;
                item.shownText = answer.ShownText();
                items->append(item);
                observations->append(QList<Observation>());
            }
            const qsizetype i = *found;
            ItemStatistics& item = (*items)[i];
            ++item.asked;
            std::optional<double> rest;
            if (student.questionCount > 1)
                rest = double(student.points - answer.answerPoints) /
                       (double(student.questionCount - 1) * 100.0);
            (*observations)[i].append({&student, place, double(answer.answerPoints) / 100.0, rest});
            CountOptions(answer, &item);
        }
    }
}

void FlagItem(ItemStatistics* item) {
    // A key worth more than 100 is a fault of the question file, whatever the answers say.
    qint64 attainable = 0;
    for (const OptionUse& option : item->options)
        attainable += std::max(option.points, 0);
    if (attainable > 100)
        item->flags << QStringLiteral("варианты с баллами дают вместе %1 баллов, больше 100: "
                                      "ключ вопроса неверен")
                           .arg(attainable);
    item->judged = item->asked >= kMinAskedToJudge;
    if (!item->judged)
        return;
    if ((item->pointBiserial && *item->pointBiserial < 0) ||
        (item->upperLower && *item->upperLower < 0))
        item->flags << QStringLiteral("отрицательная различающая способность");
    if (item->facility < 0.2)
        item->flags
            << QStringLiteral("слишком трудный: доля баллов %1").arg(Figure(item->facility));
    if (item->facility > 0.9)
        item->flags << QStringLiteral("слишком лёгкий: доля баллов %1").arg(Figure(item->facility));
    for (const OptionUse& option : item->options) {
        if (option.chosen == 0)
            item->flags << QStringLiteral("вариант «%1» не выбран ни разу").arg(option.text);
    }
}

// The item's facility and discrimination, its options by points, and its flags.
void Summarise(const QList<Observation>& observations, ItemStatistics* item) {
    double sum = 0;
    for (const Observation& o : observations)
        sum += o.share;
    item->facility = sum / double(item->asked);
    QList<double> shares;
    for (const Observation& o : observations)
        shares << o.share;
    item->variance = Variance(shares);
    item->pointBiserial = Correlation(observations);
    item->upperLower = UpperLower(observations);
    std::stable_sort(item->options.begin(), item->options.end(),
                     [](const OptionUse& a, const OptionUse& b) {
                         if (a.points != b.points)
                             return a.points > b.points;
                         return a.text < b.text;
                     });
    FlagItem(item);
}

} // namespace

qsizetype UpperLowerGroupSize(qsizetype count) {
    return std::max<qsizetype>(1, qsizetype(std::lround(kUpperLowerShare * double(count))));
}

Reliability TestReliability(const QList<StudentResult>& students,
                            const QList<ItemStatistics>& items) {
    Reliability result;
    QHash<qsizetype, int> byCount;
    for (const StudentResult& student : students)
        ++byCount[student.answers.size()];
    int mostCommon = 0;
    for (auto it = byCount.cbegin(); it != byCount.cend(); ++it) {
        if (it.value() > mostCommon || (it.value() == mostCommon && it.key() > result.questions)) {
            mostCommon = it.value();
            result.questions = int(it.key());
        }
    }
    const int k = result.questions;
    result.students = mostCommon;
    // One form for all: every student was asked k questions and every question all of them.
    result.sameQuestions = mostCommon == students.size() && items.size() == k &&
                           std::all_of(items.begin(), items.end(), [&](const ItemStatistics& item) {
                               return item.asked == mostCommon;
                           });
    QList<double> totals;
    double sum = 0, squares = 0; // of every answer's share
    for (const StudentResult& student : students) {
        if (student.answers.size() != k)
            continue;
        double total = 0;
        for (const AnsweredQuestion& answer : student.answers) {
            const double share = double(answer.answerPoints) / 100.0;
            total += share;
            sum += share;
            squares += share * share;
        }
        totals << total;
    }
    const double totalVariance = Variance(totals);
    if (result.students < 2 || k < 2 || totalVariance <= 1e-12)
        return result;
    double answerVariance = 0;
    if (result.sameQuestions) {
        for (const ItemStatistics& item : items)
            answerVariance += item.variance;
    } else {
        const double n = double(result.students) * double(k);
        answerVariance = double(k) * (squares - sum * sum / n) / (n - 1.0);
    }
    const double alpha = double(k) / double(k - 1) * (1.0 - answerVariance / totalVariance);
    result.alpha = alpha;
    result.standardError =
        std::sqrt(totalVariance) / double(k) * 100.0 * std::sqrt(1.0 - std::max(alpha, 0.0));
    return result;
}

QList<ItemStatistics> AnalyseItems(const QList<StudentResult>& students) {
    QList<ItemStatistics> items;
    QList<QList<Observation>> observations;
    CollectAnswers(students, &items, &observations);
    for (qsizetype i = 0; i < items.size(); ++i)
        Summarise(observations[i], &items[i]);
    // In the order of the questions' numbers (the start of their texts), numbers by value.
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setNumericMode(true);
    std::stable_sort(items.begin(), items.end(),
                     [&](const ItemStatistics& a, const ItemStatistics& b) {
                         return collator.compare(a.text, b.text) < 0;
                     });
    return items;
}
