// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/question_bank.h"

#include "platform/integer_text.h"
#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"
#include "questions/points_text.h"

#include <QFile>

#include <algorithm>
#include <chrono>

namespace {

// The topic titles in the order of their question files: title i opens "pdb<i+1>.db".
const char16_t* const kTopicTitles[] = {
    u"1. Понятие общества, его основные типы",
    u"2. Движущие силы и основные направления развития",
    u"3. Общая характеристика современных международных отношений",
    u"4. Проблемы перехода к информационному обществу",
    u"5. ",
    u"6. ",
    u"7. ",
    u"8. Российская геополитика",
    u"9. ",
    u"10. ",
    u"11. ",
    u"ИТОГОВОЕ ТЕСТИРОВАНИЕ",
};

constexpr int kMaxNoteLength = 50;
constexpr int kMaxTextbookPageLength = 50;

bool BeginsWith(const QString& line, char16_t c) {
    return !line.isEmpty() && line.front() == c;
}

// Reads one question file from the top, line by line, once. A line's first character decides
// its role: "." ends a block, "\" ends a text block (and carries a picture name at the end of
// the reference block), "," ends an option that another option follows.
class QuestionFileParser {
public:
    QuestionFileParser(QIODevice* device, const QString& fileName, QuestionBank* bank,
                       LoadResult* result)
        : m_reader(device), m_device(device), m_fileName(fileName), m_bank(bank), m_result(result) {
    }

    bool Parse() { return ParseTitle() && ParseParameters() && ParseCount() && ParseQuestions(); }

private:
    enum class RecordEnd { Complete, EndOfFile, TooManyOptions };

    bool Next(QString* line) {
        if (!m_reader.readLine(line))
            return false;
        if (line->isEmpty())
            m_result->emptyLines.append(m_reader.lineNumber());
        else if (m_firstTextLine == 0)
            m_firstTextLine = m_reader.lineNumber();
        return true;
    }

    // Reads lines up to the first one that begins with `closerA` or `closerB` and returns that
    // line in *closing. Every other line is joined, each followed by one blank; with
    // joinBackslash a closing line that begins with "\" is joined too. False when the file
    // ends (or fails) first.
    bool ReadBlock(char16_t closerA, char16_t closerB, bool joinBackslash, QString* joined,
                   QString* closing) {
        joined->clear();
        while (Next(closing)) {
            const bool closes = BeginsWith(*closing, closerA) || BeginsWith(*closing, closerB);
            if (!closes || (joinBackslash && BeginsWith(*closing, u'\\'))) {
                joined->append(*closing);
                joined->append(u' ');
            }
            if (closes)
                return true;
        }
        return false;
    }

    // Reads one question record; when `lines` is given, the picture line and the first line of
    // every option go there.
    RecordEnd ReadQuestion(Question* question, int* pictureLine = nullptr,
                           std::array<int, kMaxOptions>* optionLines = nullptr) {
        QString joined;
        QString closing;
        if (!ReadBlock(u'.', u'\\', true, &joined, &closing))
            return RecordEnd::EndOfFile;
        question->Text = joined.mid(6);

        if (!ReadBlock(u'.', u'\\', true, &joined, &closing))
            return RecordEnd::EndOfFile;
        question->Note = joined.left(kMaxNoteLength);

        if (!ReadBlock(u'.', u'\\', false, &joined, &closing))
            return RecordEnd::EndOfFile;
        question->TextbookPage =
            (QStringLiteral("\\html\\") + joined.mid(1)).left(kMaxTextbookPageLength);
        if (BeginsWith(closing, u'\\')) {
            question->Picture = QStringLiteral("\\images\\") + closing.mid(1);
            if (pictureLine != nullptr)
                *pictureLine = m_reader.lineNumber();
        }

        for (int i = 1;; ++i) {
            if (optionLines != nullptr)
                (*optionLines)[i - 1] = m_reader.lineNumber() + 1;
            if (!ReadBlock(u',', u'.', false, &joined, &closing))
                return RecordEnd::EndOfFile;
            AnswerOption& option = question->Options[i - 1];
            option.Text = joined.mid(2);
            option.Points = PointsFromText(QStringView(closing).mid(1));
            option.IsPicture = option.Text.startsWith(u'!');
            if (BeginsWith(closing, u'.')) {
                question->OptionCount = i;
                return RecordEnd::Complete;
            }
            if (i == kMaxOptions)
                return RecordEnd::TooManyOptions;
        }
    }

    bool ParseTitle() {
        QString closing;
        if (!ReadBlock(u'.', u'.', false, &m_bank->Title, &closing))
            return EndOfFile(
                QStringLiteral("файл закончился внутри заголовка: нет строки, начинающейся с «.»"));
        return true;
    }

    bool ParseParameters() {
        QString line;
        for (;;) {
            if (!Next(&line))
                return EndOfFile(QStringLiteral(
                    "файл закончился внутри блока параметров: нет строки, начинающейся с «.»"));
            if (BeginsWith(line, u'.'))
                return true;
            if (m_bank->Parameters.size() == kMaxParameters)
                return Refuse(m_reader.lineNumber(),
                              QStringLiteral("в блоке параметров больше %1 пар «название — "
                                             "значение»")
                                  .arg(kMaxParameters));
            const QString label = line;
            // The value: blanks and line breaks before it are skipped, the rest of its line
            // after it is ignored.
            QStringView token;
            while (token.isEmpty()) {
                if (!Next(&line))
                    return EndOfFile(
                        QStringLiteral("файл закончился до значения параметра «%1»").arg(label));
                const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
                const auto begin = std::find_if_not(line.cbegin(), line.cend(), isBlank);
                const auto end = std::find_if(begin, line.cend(), isBlank);
                token = QStringView(begin, end);
            }
            const std::optional<int> value = TextToInteger(token.toString());
            if (!value)
                return Fail(LoadResult::Status::InvalidNumericInput, m_reader.lineNumber(),
                            QStringLiteral("Invalid numeric input"));
            m_bank->Parameters.append({label, *value});
        }
    }

    bool ParseCount() {
        QString line;
        int count = 0;
        int countLine = 0;
        for (;;) {
            if (!Next(&line))
                return EndOfFile(QStringLiteral("файл закончился внутри блока количества "
                                                "вопросов: нет строки, начинающейся с «.»"));
            if (BeginsWith(line, u'.'))
                break;
            const std::optional<int> value = DecimalTextToInteger(line);
            if (!value)
                return Fail(LoadResult::Status::InvalidInteger, m_reader.lineNumber(),
                            NotValidIntegerMessage(line));
            count = *value;
            countLine = m_reader.lineNumber();
        }
        m_result->declaredCount = count;
        if (count > kMaxQuestions)
            return Refuse(countLine, QStringLiteral("объявлено вопросов: %1, а в файле вопросов "
                                                    "их может быть не больше %2")
                                         .arg(count)
                                         .arg(kMaxQuestions));
        if (count < 0)
            return Refuse(
                countLine,
                QStringLiteral("количество вопросов не может быть отрицательным: %1").arg(count));
        return true;
    }

    bool ParseQuestions() {
        const int declared = m_result->declaredCount;
        m_bank->Questions.reserve(declared);
        for (int q = 1; q <= declared; ++q) {
            m_result->questionLines.append(m_reader.lineNumber() + 1);
            Question question;
            int pictureLine = 0;
            std::array<int, kMaxOptions> optionLines{};
            switch (ReadQuestion(&question, &pictureLine, &optionLines)) {
            case RecordEnd::Complete:
                m_bank->Questions.append(std::move(question));
                m_result->pictureLines.append(pictureLine);
                m_result->optionLines.append(optionLines);
                break;
            case RecordEnd::TooManyOptions:
                return Refuse(m_reader.lineNumber(),
                              QStringLiteral("в вопросе %1 больше %2 вариантов ответа")
                                  .arg(q)
                                  .arg(kMaxOptions));
            case RecordEnd::EndOfFile:
                if (m_reader.error())
                    return ReadFailure();
                // The file ends inside question q: keep the questions before it, so that no
                // half-read question is ever shown or scored.
                m_result->endedInsideQuestion = q;
                m_bank->QuestionCount = m_bank->Questions.size();
                return true;
            }
        }
        m_bank->QuestionCount = m_bank->Questions.size();
        ScanRest();
        // The file is read to its end: a device that fails there may have cut the last line
        // taken into the bank short.
        return m_reader.error() ? ReadFailure() : true;
    }

    // Counts what follows the declared questions without loading it: whole question records
    // beyond the declared count, and text that forms none.
    void ScanRest() {
        for (;;) {
            const int start = m_reader.lineNumber() + 1;
            m_firstTextLine = 0;
            Question scratch;
            const RecordEnd end = ReadQuestion(&scratch);
            if (end == RecordEnd::Complete) {
                m_result->questionLines.append(start);
                ++m_result->extraQuestions;
                continue;
            }
            if (end == RecordEnd::TooManyOptions)
                m_result->strayTextLine = start;
            else if (m_firstTextLine != 0)
                m_result->strayTextLine = m_firstTextLine;
            return;
        }
    }

    bool EndOfFile(const QString& what) {
        if (m_reader.error())
            return ReadFailure();
        return Refuse(m_reader.lineNumber() + 1, what);
    }

    bool ReadFailure() {
        return Fail(LoadResult::Status::ReadError, m_reader.lineNumber() + 1,
                    InputOutputErrorMessage(m_fileName, m_device->errorString()));
    }

    bool Refuse(int line, const QString& what) {
        return Fail(LoadResult::Status::Malformed, line,
                    QStringLiteral("Файл вопросов %1, строка %2: %3")
                        .arg(m_fileName, QString::number(line), what));
    }

    bool Fail(LoadResult::Status status, int line, const QString& message) {
        m_result->status = status;
        m_result->line = line;
        m_result->message = message;
        return false;
    }

    Cp1251LineReader m_reader;
    QIODevice* m_device;
    QString m_fileName;
    QuestionBank* m_bank;
    LoadResult* m_result;
    int m_firstTextLine = 0;
};

} // namespace

const Question& QuestionBank::At(int q) const {
    static const Question empty;
    return q >= 1 && q <= Questions.size() ? Questions[q - 1] : empty;
}

int QuestionBank::TopicNumber(const QString& topic) {
    for (int i = 0; i < int(std::size(kTopicTitles)); ++i) {
        if (topic == QStringView(kTopicTitles[i]))
            return i + 1;
    }
    return 1;
}

QString QuestionBank::QuestionFileLiteral(const QString& topic) {
    return QStringLiteral("\\ortu\\pdb%1.db").arg(TopicNumber(topic));
}

LoadResult QuestionBank::Load(const QString& programFolder, const QString& topic) {
    return LoadFile(DataPath(programFolder, QuestionFileLiteral(topic)));
}

LoadResult QuestionBank::LoadFile(const QString& path) {
    Clear();
    QFile file(path);
    bool notOpened = false;
    // A pipe or a device under the name would hold the program in its open for ever: only a
    // regular file is read.
    if (const QString reason = OpenRegularFileForReading(path, &file, &notOpened);
        !reason.isEmpty()) {
        LoadResult result;
        result.status = notOpened ? LoadResult::Status::CannotOpen : LoadResult::Status::ReadError;
        result.message =
            notOpened ? QStringLiteral("Не задан файл вопросов теста")
                      : QStringLiteral("Файл вопросов не читается: %1 (%2)").arg(path, reason);
        return result;
    }
    return LoadFrom(&file, path);
}

LoadResult QuestionBank::LoadFrom(QIODevice* device, const QString& fileName) {
    Clear();
    LoadResult result;
    if (device == nullptr || !device->isReadable()) {
        result.status = LoadResult::Status::CannotOpen;
        result.message = QStringLiteral("Не задан файл вопросов теста");
        return result;
    }
    QuestionFileParser parser(device, fileName, this, &result);
    if (!parser.Parse())
        Clear();
    return result;
}

void QuestionBank::Clear() {
    Title.clear();
    Parameters.clear();
    QuestionCount = 0;
    Questions.clear();
}

void QuestionDraw::StartDraw() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seed{std::uint32_t(ticks), std::uint32_t(std::uint64_t(ticks) >> 32),
                       std::uint32_t(wall), std::uint32_t(std::uint64_t(wall) >> 32)};
    m_random.seed(seed);
    m_drawn.fill(false);
}

void QuestionDraw::StartDraw(std::uint32_t seed) {
    m_random.seed(seed);
    m_drawn.fill(false);
}

int QuestionDraw::DrawQuestion(int questionCount) {
    // Uniform among the questions not drawn yet: pick the r-th of them.
    const int n = std::clamp(questionCount, 0, kMaxQuestions);
    int remaining = 0;
    for (int q = 1; q <= n; ++q)
        remaining += m_drawn[q] ? 0 : 1;
    if (remaining == 0)
        return 0;
    int r = std::uniform_int_distribution<int>(0, remaining - 1)(m_random);
    for (int q = 1; q <= n; ++q) {
        if (!m_drawn[q] && r-- == 0) {
            m_drawn[q] = true;
            return q;
        }
    }
    return 0; // not reached
}

QList<int> QuestionDraw::ShuffleOptions(const Question& question) {
    // Display positions are filled in order, each with an option picked uniformly among those
    // not placed yet.
    QList<int> unplaced;
    for (int i = 1; i <= std::clamp(question.OptionCount, 0, kMaxOptions); ++i)
        unplaced.append(i);
    QList<int> order;
    while (!unplaced.isEmpty()) {
        const int r = std::uniform_int_distribution<int>(0, int(unplaced.size()) - 1)(m_random);
        order.append(unplaced.takeAt(r));
    }
    return order;
}

bool QuestionDraw::IsDrawn(int q) const {
    return q >= 1 && q <= kMaxQuestions && m_drawn[q];
}

int QuestionDraw::DrawnCount() const {
    return int(std::count(m_drawn.begin(), m_drawn.end(), true));
}
