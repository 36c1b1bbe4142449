// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/pdbcheck/question_file_check.h"

#include "platform/data_file_text.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "questions/points_text.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

constexpr int kHiddenLength = 9; // the characters of a question text the screens hide

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
    for (int i = 0; i < question.OptionCount; ++i) {
        const AnswerOption& option = question.Options[i];
        if (option.Points != 0 && option.Text.trimmed().isEmpty())
            found->append({lines[i], QStringLiteral("вариант %1 без текста, а за него даётся "
                                                    "%2 баллов: студент увидит пустой вариант; "
                                                    "допишите текст после номера или уберите "
                                                    "вариант вместе с его строкой баллов")
                                         .arg(i + 1)
                                         .arg(option.Points)});
    }
    const bool anyPoints =
        std::any_of(question.Options.begin(), question.Options.begin() + question.OptionCount,
                    [](const AnswerOption& o) { return o.Points > 0; });
    if (!anyPoints)
        found->append({0, QStringLiteral("нет ни одного варианта, за который даются баллы")});
    else if (!PointsCanReach100(question))
        found->append({0, QStringLiteral("баллы верных вариантов не складываются в 100")});
    if (AttainablePoints(question) > 100) {
        QStringList rewarded;
        for (int i = 0; i < question.OptionCount; ++i) {
            if (question.Options[i].Points > 0)
                rewarded << QStringLiteral("%1 (%2)").arg(i + 1).arg(question.Options[i].Points);
        }
        found->append({0, QStringLiteral("отметив варианты %1, студент наберёт %2 баллов, "
                                         "больше 100: верные варианты должны делить 100 баллов, "
                                         "у неверных 0")
                              .arg(rewarded.join(QStringLiteral(", ")))
                              .arg(AttainablePoints(question))});
    }
}

// The nine characters after "Вопрос" are the question's number, hidden on the screen: blanks,
// the number (one word, or "№" and a word) and at least one blank. Anything else hides the start
// of the text or shows the end of the number.
void CheckNumber(const Question& question, QList<Found>* found) {
    static const QRegularExpression number(QStringLiteral("^ *(№ ?)?\\S+ +$"));
    const QString hidden = question.Text.left(kHiddenLength);
    if (hidden.size() == kHiddenLength && number.match(hidden).hasMatch() &&
        !question.Text.mid(kHiddenLength).trimmed().isEmpty())
        return;
    found->append({0, QStringLiteral("номер вопроса занимает не девять знаков после «Вопрос» "
                                     "(нужно так: «Вопрос №01-Т1. Текст»): студент не увидит "
                                     "«%1» и увидит «%2»")
                          .arg(hidden, question.Text.mid(kHiddenLength, 30).trimmed())});
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

qint64 AttainablePoints(const Question& question) {
    qint64 sum = 0;
    for (int i = 0; i < std::min(question.OptionCount, kMaxOptions); ++i)
        sum += std::max(question.Options[i].Points, 0);
    return sum;
}

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
                                     const QString& courseFolder,
                                     const QList<FileProblem>& fileText) {
    QList<FileProblem> problems = fileText;
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

    const bool wrongEncoding = std::any_of(fileText.begin(), fileText.end(),
                                           [](const FileProblem& p) { return p.encoding; });
    for (int q = 1; q <= bank.QuestionCount; ++q) {
        const Question& question = bank.At(q);
        const std::array<int, kMaxOptions> optionLines = load.optionLines.value(q - 1);
        QList<Found> found;
        if (!wrongEncoding)
            CheckNumber(question, &found);
        CheckOptions(question, optionLines, courseFolder, &found);
        CheckPicture(question, load.pictureLines.value(q - 1), courseFolder, &found);
        CheckTextbookPage(question, courseFolder, &found);
        if (!wrongEncoding)
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

namespace {

// The encoding of a file that is not Windows-1251, with the line where it shows first.
std::optional<FileProblem> CheckEncoding(const QByteArray& bytes) {
    const QString save = QStringLiteral("сохраните его в кодировке Windows-1251 (в «Блокноте»: "
                                        "«Сохранить как», кодировка ANSI)");
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.contains('\0'))
        return FileProblem{0, 1,
                           QStringLiteral("файл в кодировке UTF-16 (Юникод), а программа читает "
                                          "только Windows-1251: ") +
                               save,
                           true};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return FileProblem{0, 1,
                           QStringLiteral("файл в кодировке UTF-8 с меткой порядка байтов: "
                                          "программа покажет в начале заголовка «п»ї», а русские "
                                          "буквы искажёнными; ") +
                               save,
                           true};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    const qsizetype firstWide =
        std::find_if(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7F; }) -
        text.begin();
    if (utf8.hasError() || firstWide == text.size())
        return std::nullopt;
    return FileProblem{
        0, int(text.left(firstWide).count(u'\n')) + 1,
        QStringLiteral("файл в кодировке UTF-8, а программа читает Windows-1251: "
                       "студент увидит вместо «%1» «%2»; ")
                .arg(
                    text.mid(firstWide, 12).section(u'\n', 0, 0).trimmed(),
                    DecodeCp1251(text.mid(firstWide, 12).section(u'\n', 0, 0).trimmed().toUtf8())) +
            save,
        true};
}

bool IsIntegerRest(const QString& rest) {
    static const QRegularExpression integer(QStringLiteral("^[ \\t]*([-+]?\\d+)?[ \\t]*$"));
    return integer.match(rest).hasMatch();
}

// Walks the lines as the loader reads them and notes every slip of a marker line at the line where
// it happens; a last option closed by "," is found where the next question begins (its first line
// starts with the word the first question's line starts with, "Вопрос"), and the walk goes on
// from there as the teacher meant it.
class TextWalk {
public:
    QList<FileProblem> Run(const QStringList& lines) {
        for (int n = 1; n <= lines.size(); ++n)
            Take(lines[n - 1], n);
        if (m_state == State::OptionStart && m_commaLine > 0)
            AddLastOptionSlip();
        FinishOptions();
        return m_problems;
    }

private:
    enum class State {
        Title,
        Parameters,
        ParameterValue,
        Count,
        Text,
        Note,
        Reference,
        OptionStart,
        OptionRest
    };

    void Add(int line, const QString& text) { m_problems.append({m_question, line, text}); }

    void AddLastOptionSlip() {
        m_problems.append({m_question, m_commaLine,
                           QStringLiteral("последний вариант закрыт «,» вместо «.»: программа "
                                          "ждёт ещё один вариант и прочтёт следующие строки как "
                                          "его текст")});
    }

    void CheckLine(const QString& line, int n, bool inOptions) {
        static const QRegularExpression indentedMarker(
            QStringLiteral("^[ \\t]+([.,][ \\t]*[-+]?\\d*)[ \\t]*$"));
        const QRegularExpressionMatch match = indentedMarker.match(line);
        if (match.hasMatch())
            Add(n, QStringLiteral("перед «%1» стоит пробел или табуляция: программа прочтёт "
                                  "строку как текст, а не как конец блока")
                       .arg(match.captured(1)));
        // Among the options a "." line is also the last option's points (CheckOptionEnd).
        if (!inOptions && line.startsWith(u'.') && !IsIntegerRest(line.mid(1)))
            AddDotText(line, n);
    }

    void AddDotText(const QString& line, int n) {
        Add(n, QStringLiteral("строка начинается с точки: программа закончит на ней блок, "
                              "и «%1» в текст не попадёт; уберите точку или перенесите её "
                              "в конец предыдущей строки")
                   .arg(line.mid(1).trimmed()));
    }

    // A "," or "." line among the options whose rest is not a whole number: points with a slip
    // in them (".O", ",100%"), or, after ",", a line of the option's text, which ends the option
    // with the points its rest gives and starts another one, so that every later points line
    // belongs to the option above the one it was written for. True for such a text line: the
    // walk takes it as the teacher meant it, as text.
    bool CheckOptionEnd(const QString& line, int n) {
        if (IsIntegerRest(line.mid(1)))
            return false;
        static const QRegularExpression number(QStringLiteral("^[-+]?\\d"));
        const QString rest = line.mid(1).trimmed();
        const int points = PointsFromText(QStringView(line).mid(1));
        const bool pointsSlip =
            number.match(rest).hasMatch() ||
            (!rest.contains(u' ') &&
             (rest.size() <= 2 ||
              std::any_of(rest.begin(), rest.end(), [](QChar c) { return c.isDigit(); })));
        if (pointsSlip) {
            const QString marker = line.left(1);
            Add(n, QStringLiteral("вариант %1: баллы «%2» — не число, программа засчитает "
                                  "варианту %3; напишите баллы одними цифрами: «%4»")
                       .arg(m_option)
                       .arg(rest)
                       .arg(points)
                       .arg(marker + QStringLiteral("100» или «") + marker + u'0'));
            return false;
        }
        if (line.startsWith(u'.')) {
            AddDotText(line, n);
            return false;
        }
        Add(n, QStringLiteral("вариант %1: строка начинается с запятой, и программа закончит на "
                              "ней вариант с %2 баллами, а следующие строки прочтёт как новый "
                              "вариант — баллы всех вариантов ниже сдвинутся на один; «%3» в "
                              "текст не попадёт: уберите запятую или перенесите её в конец "
                              "предыдущей строки")
                   .arg(m_option)
                   .arg(points)
                   .arg(rest));
        return true;
    }

    // A text line of the question or its note that begins with "\": it ends the block, and
    // every later block of the question is read from the wrong lines.
    void AddBackslashText(int n, const QString& block) {
        Add(n, QStringLiteral("строка начинается с «\\»: программа закончит на ней %1, и "
                              "остальные блоки вопроса прочтутся со сдвигом (варианты ответа — "
                              "со строки ссылки); уберите «\\» или перенесите его в конец "
                              "предыдущей строки")
                   .arg(block));
    }

    bool StartsQuestion(const QString& line) const {
        return !m_questionWord.isEmpty() && line.startsWith(m_questionWord) &&
               (line.size() == m_questionWord.size() || !line[m_questionWord.size()].isLetter());
    }

    // The first line of an option: the loader drops its first two characters. Without a
    // number and a blank in front, a word of three letters or more loses its start at once; a
    // shorter one ("Да", "В 1991 году") shows against the other options of the question
    // (FinishOptions).
    void CheckOptionPrefix(const QString& line, int n) {
        const bool cutWord =
            line.size() >= 3 && line[1].isLetterOrNumber() && line[2].isLetterOrNumber();
        const bool reported = cutWord || line.startsWith(u'!');
        m_starts.append({m_option, n, line, reported});
        if (reported)
            AddPrefixSlip(m_option, n, line, QString());
    }

    void AddPrefixSlip(int option, int n, const QString& line, const QString& why) {
        Add(n, QStringLiteral("вариант %1: %2программа отбрасывает первые два знака строки "
                              "(«%3») и покажет «%4»; начните строку с номера и пробела: «%5 %6»")
                   .arg(option)
                   .arg(why, line.left(2), line.mid(2, 20))
                   .arg(option)
                   .arg(line.left(22)));
    }

    // Options of one question begin alike ("1 ", "2 "... or "а) ", "б) "...). When all the others
    // begin with a digit, or with a character and a mark, an option that begins with a letter or
    // with two letters or digits has lost its number.
    void FinishOptions() {
        const auto digit = [](const QString& line) { return !line.isEmpty() && line[0].isDigit(); };
        const auto word = [](const QString& line) {
            return line.size() < 2 || line[1].isLetterOrNumber();
        };
        for (const OptionStart& start : m_starts) {
            if (start.reported || start.line.isEmpty())
                continue;
            QList<const OptionStart*> others;
            for (const OptionStart& other : m_starts) {
                if (&other != &start && !other.line.isEmpty())
                    others << &other;
            }
            if (others.isEmpty())
                continue;
            const bool numbered = std::all_of(others.begin(), others.end(), [&](auto* o) {
                return digit(o->line) && !word(o->line);
            });
            const bool marked = std::all_of(others.begin(), others.end(), [&](auto* o) {
                return !word(o->line) && o->line[1] == others.front()->line[1];
            });
            if ((numbered && !digit(start.line)) || (marked && word(start.line)))
                AddPrefixSlip(start.option, start.number, start.line,
                              QStringLiteral("строка начинается не так, как у остальных "
                                             "вариантов вопроса: "));
        }
        m_starts.clear();
    }

    void Take(const QString& line, int n) {
        CheckLine(line, n, m_state == State::OptionStart || m_state == State::OptionRest);
        const bool dot = line.startsWith(u'.');
        const bool closesText = dot || line.startsWith(u'\\');
        switch (m_state) {
        case State::Title:
            m_state = dot ? State::Parameters : State::Title;
            break;
        case State::Parameters:
            m_state = dot ? State::Count : State::ParameterValue;
            break;
        case State::ParameterValue:
            m_state = State::Parameters;
            break;
        case State::Count:
            if (dot)
                StartQuestion();
            break;
        case State::OptionStart:
            if (m_commaLine > 0 && StartsQuestion(line)) {
                AddLastOptionSlip();
                StartQuestion();
                TakeText(line, closesText);
                break;
            }
            if (!line.startsWith(u',') && !dot)
                CheckOptionPrefix(line, n);
            [[fallthrough]];
        case State::OptionRest:
            if ((line.startsWith(u',') || dot) && CheckOptionEnd(line, n)) {
                m_state = State::OptionRest;
            } else if (line.startsWith(u',')) {
                m_state = State::OptionStart;
                m_commaLine = n;
                ++m_option;
            } else if (dot) {
                StartQuestion();
            } else {
                m_state = State::OptionRest;
            }
            break;
        case State::Text:
            if (line.startsWith(u'\\'))
                AddBackslashText(n, QStringLiteral("текст вопроса"));
            TakeText(line, dot);
            break;
        case State::Note:
            if (line.startsWith(u'\\'))
                AddBackslashText(n, QStringLiteral("примечание"));
            m_state = dot ? State::Reference : State::Note;
            break;
        case State::Reference:
            if (closesText) {
                m_state = State::OptionStart;
                m_option = 1;
                m_commaLine = 0;
            }
            break;
        }
    }

    void StartQuestion() {
        FinishOptions();
        m_state = State::Text;
        m_firstTextLine = true;
        ++m_question;
        m_commaLine = 0;
    }

    void TakeText(const QString& line, bool closesText) {
        static const QRegularExpression word(QStringLiteral("^\\p{L}{3,}"));
        if (m_firstTextLine && m_questionWord.isEmpty())
            m_questionWord = word.match(line).captured();
        m_firstTextLine = false;
        if (closesText)
            m_state = State::Note;
    }

    struct OptionStart {
        int option = 0;
        int number = 0; // its line number
        QString line;
        bool reported = false; // its start is reported already
    };

    State m_state = State::Title;
    QList<FileProblem> m_problems;
    QList<OptionStart> m_starts; // the first lines of the options of the question read
    QString m_questionWord;      // the word the first question's line begins with ("Вопрос")
    bool m_firstTextLine = false;
    int m_question = 0;
    int m_option = 0;
    int m_commaLine = 0; // the "," line that closed the last option read, 0 after a "."
};

} // namespace

QList<FileProblem> CheckFileText(const QByteArray& bytes) {
    QList<FileProblem> problems;
    if (const std::optional<FileProblem> encoding = CheckEncoding(bytes)) {
        problems << *encoding;
        return problems; // the lines of a file in another encoding say nothing more
    }
    QStringList lines = DecodeCp1251(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return problems + TextWalk().Run(lines);
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
