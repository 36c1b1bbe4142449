// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/pdbcheck/question_file_check.h"

#include "platform/data_file_text.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>

namespace {

QString StripBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

// The question whose record holds line `line`: the last one beginning at or before it.
int QuestionOfLine(const LoadResult& load, int line) {
    const auto next = std::upper_bound(load.questionLines.begin(), load.questionLines.end(), line);
    return int(next - load.questionLines.begin());
}

// What is found about one question, each with the line it was found at (0: the question's own).
struct Found {
    int line = 0;
    QString text;
};

void CheckPicture(const Question& question, int line, const QString& courseFolder,
                  QList<Found>* found) {
    if (!question.Picture)
        return;
    const QString& picture = *question.Picture;
    const QString name = question.PictureName();
    const QString kind =
        question.IsVideo() ? QStringLiteral("видеофрагмент") : QStringLiteral("рисунок");
    if (!StaysInImagesFolder(name)) {
        found->append({line, QStringLiteral("%1 %2 ведёт за пределы папки images и не будет "
                                            "открыт")
                                 .arg(kind, picture)});
        return;
    }
    if (IsFile(ImagesPath(courseFolder, name)))
        return;
    QString text = question.IsVideo() ? QStringLiteral("видеофрагмент %1 не найден").arg(picture)
                                      : QStringLiteral("рисунок %1 не найден").arg(picture);
    if (StripBlanks(name) != name && IsFile(ImagesPath(courseFolder, StripBlanks(name))))
        text += QStringLiteral(" (в имени лишние пробелы)");
    found->append({0, text});
}

void CheckTextbookPage(const Question& question, const QString& courseFolder, QList<Found>* found) {
    const QString prefix = QStringLiteral("\\html\\");
    QString page = question.TextbookPage.mid(prefix.size());
    const qsizetype anchor = page.indexOf(u'#');
    if (anchor >= 0)
        page.truncate(anchor);
    page = StripBlanks(page);
    if (page.isEmpty())
        found->append({0, QStringLiteral("не указана страница учебника")});
    else if (!IsFile(DataPath(courseFolder, prefix + page)))
        found->append({0, QStringLiteral("страница учебника %1 не найдена").arg(prefix + page)});
}

void CheckOptions(const Question& question, const std::array<int, kMaxOptions>& lines,
                  const QString& courseFolder, QList<Found>* found) {
    for (int i = 0; i < question.OptionCount; ++i) {
        const AnswerOption& option = question.Options[i];
        if (!option.IsPicture)
            continue;
        const QString path = OptionPicturePath(courseFolder, option.Text);
        if (path.isEmpty())
            found->append({lines[i], QStringLiteral("вариант %1: рисунок \\images\\%2 ведёт за "
                                                    "пределы папки images и не будет открыт")
                                         .arg(i + 1)
                                         .arg(StripBlanks(option.Text))});
        else if (!IsFile(path))
            found->append({0, QStringLiteral("вариант %1: рисунок \\images\\%2 не найден")
                                  .arg(i + 1)
                                  .arg(StripBlanks(option.Text))});
    }
    const bool anyPoints =
        std::any_of(question.Options.begin(), question.Options.begin() + question.OptionCount,
                    [](const AnswerOption& o) { return o.Points > 0; });
    if (!anyPoints)
        found->append({0, QStringLiteral("нет ни одного варианта, за который даются баллы")});
    else if (!PointsCanReach100(question))
        found->append({0, QStringLiteral("баллы верных вариантов не складываются в 100")});
}

// Texts that begin with a character the review would read as the end of their block: the data
// file of a control test holds them wrapped in dots.
void CheckDataFileTexts(const Question& question, const std::array<int, kMaxOptions>& lines,
                        QList<Found>* found) {
    const QString note = QStringLiteral(": в файле данных теста он будет записан между точками");
    if (DataFileTextNeedsWrapping(question.Text, DataFileText::Question))
        found->append({0, QStringLiteral("текст вопроса (с 7-го знака) начинается с «%1»")
                                  .arg(question.Text.front()) +
                              note});
    for (int i = 0; i < question.OptionCount; ++i) {
        const QString& text = question.Options[i].Text;
        if (DataFileTextNeedsWrapping(text, DataFileText::Option))
            found->append({lines[i], QStringLiteral("вариант %1 (с 3-го знака) начинается с «%2»")
                                             .arg(i + 1)
                                             .arg(text.front()) +
                                         note});
    }
}

} // namespace

bool PointsCanReach100(const Question& question) {
    QList<int> positive;
    for (int i = 0; i < std::min(question.OptionCount, kMaxOptions); ++i) {
        if (question.Options[i].Points > 0)
            positive.append(question.Options[i].Points);
    }
    for (int subset = 1; subset < (1 << positive.size()); ++subset) {
        qint64 sum = 0;
        for (int i = 0; i < positive.size(); ++i) {
            if (subset & (1 << i))
                sum += positive[i];
        }
        if (sum == 100)
            return true;
    }
    return false;
}

QList<FileProblem> CheckQuestionFile(const QuestionBank& bank, const LoadResult& load,
                                     const QString& courseFolder) {
    QList<FileProblem> problems;
    const int held = bank.QuestionCount + load.extraQuestions;
    if (bank.QuestionCount == 0 && held == 0)
        problems.append({0, 0, QStringLiteral("в файле нет ни одного вопроса")});
    if (load.declaredCount != held)
        problems.append({0, 0,
                         QStringLiteral("объявлено вопросов: %1, а полных вопросов в файле: %2")
                             .arg(load.declaredCount)
                             .arg(held)});
    if (load.endedInsideQuestion > 0) {
        const int q = load.endedInsideQuestion;
        problems.append({q, load.questionLines.value(q - 1),
                         QStringLiteral("файл закончился внутри вопроса; загружены только "
                                        "вопросы до него")});
    }
    if (load.strayTextLine > 0)
        problems.append({0, load.strayTextLine,
                         QStringLiteral("после последнего вопроса текст, не составляющий "
                                        "вопроса")});

    for (int q = 1; q <= bank.QuestionCount; ++q) {
        const Question& question = bank.At(q);
        const std::array<int, kMaxOptions> optionLines = load.optionLines.value(q - 1);
        QList<Found> found;
        CheckOptions(question, optionLines, courseFolder, &found);
        CheckPicture(question, load.pictureLines.value(q - 1), courseFolder, &found);
        CheckTextbookPage(question, courseFolder, &found);
        CheckDataFileTexts(question, optionLines, &found);
        for (const Found& item : found)
            problems.append(
                {q, item.line > 0 ? item.line : load.questionLines.value(q - 1), item.text});
    }

    for (const int line : load.emptyLines)
        problems.append({QuestionOfLine(load, line), line, QStringLiteral("пустая строка")});
    // The file as a whole first, then question by question.
    std::stable_sort(
        problems.begin(), problems.end(),
        [](const FileProblem& a, const FileProblem& b) { return a.question < b.question; });
    return problems;
}

QString FormatProblem(const FileProblem& problem) {
    QString where = problem.question > 0 ? QStringLiteral("вопрос %1").arg(problem.question)
                                         : QStringLiteral("файл");
    if (problem.line > 0)
        where += QStringLiteral(" (строка %1)").arg(problem.line);
    return where + QStringLiteral(": ") + problem.text;
}

QJsonObject BankToJson(const QuestionBank& bank) {
    QJsonArray parameters;
    for (const auto& [label, value] : bank.Parameters)
        parameters.append(QJsonArray{label, value});
    QJsonArray questions;
    for (int q = 1; q <= bank.QuestionCount; ++q) {
        const Question& question = bank.At(q);
        QJsonArray options;
        for (int i = 0; i < question.OptionCount; ++i) {
            const AnswerOption& option = question.Options[i];
            options.append(QJsonObject{{QStringLiteral("text"), option.Text},
                                       {QStringLiteral("points"), option.Points},
                                       {QStringLiteral("isPicture"), option.IsPicture}});
        }
        questions.append(QJsonObject{
            {QStringLiteral("text"), question.Text},
            {QStringLiteral("note"), question.Note},
            {QStringLiteral("textbookPage"), question.TextbookPage},
            {QStringLiteral("picture"),
             question.Picture ? QJsonValue(*question.Picture) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("options"), options}});
    }
    return QJsonObject{{QStringLiteral("title"), bank.Title},
                       {QStringLiteral("parameters"), parameters},
                       {QStringLiteral("questionCount"), bank.QuestionCount},
                       {QStringLiteral("questions"), questions}};
}

QStringList Summary(const QString& path, const QuestionBank& bank, const LoadResult& load) {
    int options = 0;
    int pictures = 0;
    int videos = 0;
    int optionPictures = 0;
    QList<int> byOptionCount(kMaxOptions + 1, 0);
    for (const Question& question : bank.Questions) {
        options += question.OptionCount;
        ++byOptionCount[std::clamp(question.OptionCount, 0, kMaxOptions)];
        if (question.IsVideo())
            ++videos;
        else if (question.Picture)
            ++pictures;
        for (int i = 0; i < question.OptionCount; ++i)
            optionPictures += question.Options[i].IsPicture ? 1 : 0;
    }
    QStringList parameters;
    for (const auto& [label, value] : bank.Parameters)
        parameters << QStringLiteral("%1 = %2").arg(label).arg(value);
    QStringList spread;
    for (int n = 1; n <= kMaxOptions; ++n) {
        if (byOptionCount[n] > 0)
            spread << QStringLiteral("%1 — %2").arg(n).arg(byOptionCount[n]);
    }

    QStringList lines{
        QStringLiteral("Файл: %1").arg(path),
        QStringLiteral("Заголовок: %1").arg(bank.Title),
        QStringLiteral("Параметры: %1")
            .arg(parameters.isEmpty() ? QStringLiteral("нет") : parameters.join(u"; ")),
        QStringLiteral("Вопросов объявлено: %1, загружено: %2")
            .arg(load.declaredCount)
            .arg(bank.QuestionCount),
        QStringLiteral("Вариантов ответа: %1%2")
            .arg(options)
            .arg(spread.isEmpty()
                     ? QString()
                     : QStringLiteral("; вопросов по числу вариантов: ") + spread.join(u", ")),
        QStringLiteral("С рисунком: %1, с видеофрагментом: %2, вариантов-рисунков: %3")
            .arg(pictures)
            .arg(videos)
            .arg(optionPictures),
    };
    if (load.endedInsideQuestion > 0)
        lines << QStringLiteral("Файл закончился внутри вопроса %1: загружены вопросы 1–%2")
                     .arg(load.endedInsideQuestion)
                     .arg(bank.QuestionCount);
    if (load.extraQuestions > 0)
        lines << QStringLiteral("После объявленных вопросов ещё %1 (не загружены)")
                     .arg(load.extraQuestions);
    return lines;
}
