// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "review/data_file_reader.h"

#include "platform/data_file_text.h"
#include "platform/integer_text.h"
#include "platform/text_file.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool BeginsWithAny(QStringView line, QStringView markers) {
    return !line.isEmpty() && markers.contains(line.front());
}

// The lines of a data file by the rules of Cp1251LineReader (a line ends at CR LF or a lone LF,
// a lone CR stays in the text, the last line may lack its line end, a failed read ends the
// lines and is reported by error()), but decoded a large piece at a time rather than line by
// line: a file of a control test is read in one piece and decoded in one call. A line is handed
// out as a view that stays valid until the next call of next().
class DataFileLines {
public:
    explicit DataFileLines(QIODevice* device) : m_device(device) {}

    bool next(QStringView* line) {
        for (;;) {
            const qsizetype end = m_text.indexOf(u'\n', m_pos);
            if (end >= 0) {
                qsizetype stop = end;
                if (stop > m_pos && m_text.at(stop - 1) == u'\r')
                    --stop;
                *line = QStringView(m_text).sliced(m_pos, stop - m_pos);
                m_pos = end + 1;
                ++m_lineNumber;
                return true;
            }
            if (m_finished) {
                *line = QStringView();
                if (m_pos == m_text.size())
                    return false;
                *line = QStringView(m_text).sliced(m_pos);
                m_pos = m_text.size();
                ++m_lineNumber;
                return true;
            }
            Fill();
        }
    }

    int lineNumber() const { return m_lineNumber; }
    bool error() const { return m_error; }

private:
    // Reads the next piece of the device and decodes it after what is left of the last one.
    void Fill() {
        m_text.remove(0, m_pos);
        m_pos = 0;
        if (m_device->atEnd()) {
            m_finished = true;
            return;
        }
        m_bytes.resize(kPiece);
        const qint64 n = m_device->read(m_bytes.data(), kPiece);
        if (n <= 0) {
            m_finished = true;
            m_error = !m_device->atEnd();
            return;
        }
        const QByteArrayView bytes(m_bytes.constData(), qsizetype(n));
        const qsizetype kept = m_text.size();
        m_text.resize(kept + m_decoder.requiredSpace(bytes.size()));
        const QChar* end = m_decoder.appendToBuffer(m_text.data() + kept, bytes);
        m_text.truncate(end - m_text.constData());
    }

    static constexpr qint64 kPiece = 1 << 16;

    QIODevice* m_device;
    QStringDecoder m_decoder{"windows-1251"};
    QByteArray m_bytes;
    QString m_text;
    qsizetype m_pos = 0;
    int m_lineNumber = 0;
    bool m_finished = false;
    bool m_error = false;
};

// Appends a line of a block and its joining blank, taking for the first line of a block no
// more room than the line needs (most blocks are a single line).
void Join(QString* joined, QStringView line) {
    if (joined->isEmpty())
        joined->reserve(line.size() + 1);
    joined->append(line);
    joined->append(u' ');
}

// Reads one data file from the top, line by line, once.
class DataFileParser {
public:
    DataFileParser(QIODevice* device, const QString& fileName, ReviewData* data,
                   DataFileResult* result)
        : m_reader(device), m_device(device), m_fileName(fileName), m_data(data), m_result(result) {
    }

    bool Parse() { return ParseHeader() && ParseCount() && ParseRecords() && ParseTotals(); }

private:
    enum class Closing { Leading, Trailing };

    int Line() const { return m_reader.lineNumber(); }

    // Reads lines up to the first one that begins with one of `markers` and returns it in
    // *closing; every other line is joined, each followed by one blank. With a single marker
    // and `trailing`, a line that ends with the marker closes the block too (its text before
    // the marker is joined, *closing gets the marker alone). False when the file ends first.
    bool ReadBlock(QStringView markers, QString* joined, QString* closing = nullptr,
                   bool trailing = false) {
        joined->clear();
        QStringView line;
        while (m_reader.next(&line)) {
            if (BeginsWithAny(line, markers)) {
                if (closing != nullptr)
                    *closing = line.toString();
                return true;
            }
            if (trailing && line.endsWith(markers.front())) {
                Join(joined, line.chopped(1));
                if (closing != nullptr)
                    *closing = markers.toString();
                return true;
            }
            Join(joined, line);
        }
        return false;
    }

    // A block of the question text or of an option: as ReadBlock, but a line that holds a text
    // wrapped in dots (a text that begins with a marker of the block) is joined as that text.
    bool ReadTextBlock(DataFileText kind, QString* joined, QString* closing) {
        const QStringView markers = kind == DataFileText::Question ? u".\\" : u",.";
        joined->clear();
        QStringView line;
        while (m_reader.next(&line)) {
            if (const std::optional<QString> text = UnwrapDataFileTextLine(line, kind)) {
                Join(joined, *text);
            } else if (BeginsWithAny(line, markers)) {
                *closing = line.toString();
                return true;
            } else {
                Join(joined, line);
            }
        }
        return false;
    }

    bool ParseHeader() {
        if (!ReadBlock(u".", &m_header))
            return Refused(QStringLiteral("файл закончился внутри заголовка: нет строки, "
                                          "начинающейся с «.»"));
        m_data->ReviewHeader = m_header;
        return true;
    }

    bool ParseCount() {
        QStringView view;
        int count = 0;
        int countLine = 0;
        for (;;) {
            if (!m_reader.next(&view))
                return Refused(QStringLiteral("файл закончился внутри блока количества "
                                              "вопросов: нет строки, начинающейся с «.»"));
            if (BeginsWithAny(view, u"."))
                break;
            // An empty line has no first character and holds no number: it is passed over, and
            // the last number of the block stays the count.
            if (view.isEmpty())
                continue;
            const QString line = view.toString();
            const std::optional<int> value = DecimalTextToInteger(line);
            if (!value)
                return Fail(DataFileResult::Status::InvalidInteger, Line(),
                            NotValidIntegerMessage(line));
            count = *value;
            countLine = Line();
        }
        m_result->declaredCount = count;
        if (count > kMaxReviewItems)
            return Fail(DataFileResult::Status::Malformed, countLine,
                        Described(countLine, QStringLiteral("объявлено вопросов: %1, а их может "
                                                            "быть не больше %2")
                                                 .arg(count)
                                                 .arg(kMaxReviewItems)));
        if (count < 0)
            return Fail(DataFileResult::Status::Malformed, countLine,
                        Described(countLine, QStringLiteral("количество вопросов не может быть "
                                                            "отрицательным: %1")
                                                 .arg(count)));
        return true;
    }

    enum class RecordEnd { Complete, EndOfFile, TooManyOptions };

    RecordEnd ReadRecord(ReviewItem* item) {
        QString closing;
        if (!ReadBlock(u".", &item->Heading))
            return RecordEnd::EndOfFile;
        if (!ReadTextBlock(DataFileText::Question, &item->QuestionText, &closing))
            return RecordEnd::EndOfFile;
        if (closing.startsWith(u'\\'))
            item->Media = closing;
        for (int k = 0;; ++k) {
            if (!ReadTextBlock(DataFileText::Option, &item->OptionText[k], &closing))
                return RecordEnd::EndOfFile;
            item->OptionIsPicture[k] = item->OptionText[k].startsWith(u'!');
            if (closing.startsWith(u'.'))
                break;
            if (k + 1 == kReviewOptions)
                return RecordEnd::TooManyOptions;
        }
        if (!ReadBlock(u"#", &item->GivenAnswer, nullptr, true) ||
            !ReadBlock(u"&", &item->CorrectAnswer, nullptr, true) ||
            !ReadBlock(u"$", &item->AnswerPoints, nullptr, true))
            return RecordEnd::EndOfFile;
        return RecordEnd::Complete;
    }

    bool ParseRecords() {
        const int declared = m_result->declaredCount;
        m_data->ReviewItems.reserve(declared);
        for (int r = 1; r <= declared; ++r) {
            const int start = Line() + 1;
            ReviewItem item;
            switch (ReadRecord(&item)) {
            case RecordEnd::Complete:
                m_data->ReviewItems.append(std::move(item));
                m_data->ReviewCount = int(m_data->ReviewItems.size());
                break;
            case RecordEnd::TooManyOptions:
                return Fail(DataFileResult::Status::Malformed, Line(),
                            Described(Line(), QStringLiteral("в записи вопроса %1 больше %2 "
                                                             "вариантов ответа")
                                                  .arg(r)
                                                  .arg(kReviewOptions)));
            case RecordEnd::EndOfFile:
                if (m_reader.error())
                    return ReadFailure();
                if (Line() < start && r == 1)
                    return Cut(QStringLiteral("файл обрывается сразу после количества "
                                              "вопросов (%1)")
                                   .arg(declared));
                if (Line() < start)
                    return Cut(QStringLiteral("файл обрывается после записи вопроса %1, а "
                                              "объявлено вопросов: %2")
                                   .arg(r - 1)
                                   .arg(declared));
                return Cut(QStringLiteral("файл обрывается внутри записи вопроса %1, которая "
                                          "начинается в строке %2; полностью записано "
                                          "вопросов: %3 из %4")
                               .arg(r)
                               .arg(start)
                               .arg(r - 1)
                               .arg(declared));
            }
        }
        return true;
    }

    bool ParseTotals() {
        QString totals;
        QStringView line;
        for (;;) {
            if (!m_reader.next(&line)) {
                m_data->ReviewHeader = m_header + totals;
                if (m_reader.error())
                    return ReadFailure();
                return Cut(QStringLiteral("нет итоговой строки теста и строки «@» после неё"));
            }
            if (BeginsWithAny(line, u"@"))
                break;
            if (!BeginsWithAny(line, u"$")) {
                totals.append(line);
                totals.append(u' ');
            }
        }
        m_data->ReviewHeader = m_header + totals;
        return true;
    }

    QString Described(int line, const QString& what) const {
        return QStringLiteral("Файл результатов %1, строка %2: %3")
            .arg(m_fileName, QString::number(line), what);
    }

    // The file ends before its structure is complete: it is refused.
    bool Refused(const QString& what) {
        if (m_reader.error())
            return ReadFailure();
        return Fail(DataFileResult::Status::Malformed, Line() + 1, Described(Line() + 1, what));
    }

    // The file ends inside a record or before its totals: what is complete stays.
    bool Cut(const QString& what) {
        m_result->status = DataFileResult::Status::Truncated;
        m_result->line = Line() + 1;
        m_result->message = Described(Line() + 1, what);
        return false;
    }

    bool ReadFailure() {
        return Fail(DataFileResult::Status::ReadError, Line() + 1,
                    InputOutputErrorMessage(m_fileName, m_device->errorString()));
    }

    bool Fail(DataFileResult::Status status, int line, const QString& message) {
        m_result->status = status;
        m_result->line = line;
        m_result->message = message;
        return false;
    }

    DataFileLines m_reader;
    QIODevice* m_device;
    QString m_fileName;
    ReviewData* m_data;
    DataFileResult* m_result;
    QString m_header;
};

} // namespace

int ReviewItem::OptionCount() const {
    int count = 0;
    while (count < kReviewOptions && OptionText[count] != QStringLiteral("0"))
        ++count;
    return count;
}

const ReviewItem& ReviewData::Item(int r) const {
    static const ReviewItem empty;
    return r >= 1 && r <= ReviewItems.size() ? ReviewItems[r - 1] : empty;
}

void ReviewData::Clear() {
    ReviewHeader.clear();
    ReviewCount = 0;
    ReviewItems.clear();
}

DataFileResult ReadDataFile(QIODevice* device, const QString& fileName, ReviewData* data) {
    data->Clear();
    DataFileResult result;
    if (device == nullptr || !device->isReadable()) {
        result.status = DataFileResult::Status::CannotOpen;
        result.message = InputOutputErrorMessage(
            fileName, device != nullptr ? device->errorString() : QStringLiteral("no device"));
        return result;
    }
    DataFileParser parser(device, fileName, data, &result);
    if (!parser.Parse() && !result.usable())
        data->Clear();
    return result;
}

DataFileResult ReadDataFile(const QString& path, ReviewData* data) {
    data->Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        DataFileResult result;
        result.status = DataFileResult::Status::CannotOpen;
        result.message = InputOutputErrorMessage(path, file.errorString());
        return result;
    }
    return ReadDataFile(&file, path, data);
}
