// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/moodlexml/moodle_xml.h"

#include "tools/moodlexml/html_text.h"
#include "tools/moodlexml/moodle_scoring.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kHiddenLength = 9;       // the characters of a question text the screens hide
constexpr int kHtmlPrefixLength = 6;   // "\html\"
constexpr int kImagesPrefixLength = 8; // "\images\"
constexpr int kMaxNoteLength = 50;
const QString kPageLead = QStringLiteral("Страница учебника: ");

// The fractions Moodle offers for an answer, in per cent.
const double kMoodleFractions[] = {100,      90,       83.33333, 80,       75, 70, 66.66667,
                                   60,       50,       40,       33.33333, 30, 25, 20,
                                   16.66667, 14.28571, 12.5,     11.11111, 10, 5,  0};

bool IsVideoName(const QString& name) {
    static const QRegularExpression video(
        QStringLiteral("\\.(avi|mp4|m4v|mpg|mpeg|wmv|webm|mov|ogv|mkv)$"),
        QRegularExpression::CaseInsensitiveOption);
    return video.match(name).hasMatch();
}

// The nine hidden characters a question takes from its name: a short name is the question's
// number (" №01-Т1. " gives the name "№01-Т1."), a name of nine characters is kept as it is, a
// longer one gives the question's place in the file.
QString HiddenPrefixOf(const QString& name, int place) {
    if (name.size() <= kHiddenLength - 2)
        return (u' ' + name).leftJustified(kHiddenLength);
    if (name.size() <= kHiddenLength)
        return name.leftJustified(kHiddenLength);
    return QStringLiteral(" %1.").arg(place).leftJustified(kHiddenLength);
}

// A control character (C0, DEL, C1) would end or garble a line of the question file: a blank.
QString WithoutControls(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            c = u' ';
    }
    return text;
}

// --- Export ------------------------------------------------------------------------------------

// Video formats a browser plays in a Moodle page; others (AVI, WMV, MPEG-1) only download.
bool BrowserPlays(const QString& name) {
    static const QRegularExpression playable(QStringLiteral("\\.(mp4|m4v|webm|ogv|ogg)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return playable.match(name).hasMatch();
}

// The fraction an option goes out with. Every question goes out with check boxes, as the program
// shows it, so a 0-point option, which spoils the whole answer in the program, goes out as
// -100 %: Moodle's sum then never rises above 0 once it is ticked.
double FractionOf(const AnswerOption& option) {
    return option.Points == 0 ? -100.0 : double(option.Points);
}

// The file a question's picture or video fragment names, and an option's picture.
QString PictureFileOf(const Question& question) {
    return question.Picture->mid(kImagesPrefixLength);
}
QString OptionFileOf(const AnswerOption& option) {
    return option.Text.trimmed();
}

// Files are streamed in pieces of this many bytes, a multiple of 3, so that the base64 text of
// the pieces written one after another is that of the whole file.
constexpr qint64 kStreamChunk = 3 * 16384;

qint64 Base64Size(qint64 bytes) {
    return (bytes + 2) / 3 * 4;
}

// Written as it goes: the document goes to the device element by element. An embedded file is
// read and encoded where it is embedded, in pieces straight to the device, so that memory does
// not grow with the files; a file that more questions show is encoded once and its base64 text
// kept until its last question, as long as all the text kept stays within the budget.
class Exporter {
public:
    Exporter(const QuestionBank& bank, const QString& courseFolder, QIODevice* out,
             qint64 cacheBudget)
        : m_bank(bank), m_images(courseFolder + QStringLiteral("/images/")), m_out(out), m_xml(out),
          m_budget(cacheBudget) {}

    MoodleExport Run() {
        CountUses();
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("quiz"));
        WriteCategory();
        for (int q = 1; q <= m_bank.QuestionCount && !Failed(); ++q) {
            const Question& question = m_bank.At(q);
            if (const QString refusal = MoodleRefusal(question); !refusal.isEmpty()) {
                m_result.skipped << QStringLiteral("%1: %2; встретив такой вопрос, Moodle "
                                                   "останавливает весь импорт")
                                        .arg(Where(q), refusal);
                continue;
            }
            WriteQuestion(question, q);
            ++m_result.exported;
        }
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        for (auto video = m_unplayable.cbegin(); video != m_unplayable.cend(); ++video)
            m_result.warnings << QStringLiteral("видеофрагмент %1 (%2 %3) браузер в Moodle не "
                                                "покажет, только предложит скачать: переведите "
                                                "его в MP4 (H.264) или WebM")
                                     .arg(video.key(),
                                          video.value().size() > 1 ? QStringLiteral("вопросы")
                                                                   : QStringLiteral("вопрос"),
                                          video.value().join(QStringLiteral(", ")));
        if (!m_readError.isEmpty())
            m_result.error = m_readError;
        else if (Failed())
            m_result.error = m_out->errorString();
        return m_result;
    }

private:
    bool Failed() const { return m_xml.hasError() || m_writeFailed || !m_readError.isEmpty(); }

    // How many times each file is embedded: the names only, the files are not opened.
    void CountUses() {
        for (int q = 1; q <= m_bank.QuestionCount; ++q) {
            const Question& question = m_bank.At(q);
            if (!MoodleRefusal(question).isEmpty())
                continue;
            if (question.Picture)
                ++m_uses[PictureFileOf(question)];
            for (int i = 0; i < question.OptionCount; ++i) {
                if (question.Options[i].IsPicture)
                    ++m_uses[OptionFileOf(question.Options[i])];
            }
        }
    }

    // "вопрос 7 (№14-Т2.)": its place in the file and its number.
    QString Where(int q) const {
        const QString number = m_bank.At(q).Text.left(kHiddenLength).trimmed();
        return number.isEmpty() ? QStringLiteral("вопрос %1").arg(q)
                                : QStringLiteral("вопрос %1 (%2)").arg(q).arg(number);
    }

    void WriteText(const QString& text, bool html) {
        m_xml.writeStartElement(QStringLiteral("text"));
        if (html && !text.isEmpty())
            m_xml.writeCDATA(text);
        else
            m_xml.writeCharacters(text);
        m_xml.writeEndElement();
    }

    void WriteCategory() {
        QString name = LineOfBlock(m_bank.Title).simplified();
        name.replace(QStringLiteral("/"), QStringLiteral("//"));
        QStringList info{LineOfBlock(m_bank.Title)};
        for (const auto& [label, value] : m_bank.Parameters)
            info << QStringLiteral("%1 = %2").arg(label).arg(value);
        m_xml.writeStartElement(QStringLiteral("question"));
        m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
        m_xml.writeStartElement(QStringLiteral("category"));
        WriteText(QStringLiteral("$course$/top/") +
                      (name.isEmpty() ? QStringLiteral("Вопросы") : name),
                  false);
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("info"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
        WriteText(info.join(u'\n'), false);
        m_xml.writeEndElement();
        m_xml.writeEndElement();
    }

    // Whether the file can be embedded (it opens and is not empty; said once per question when
    // not). A file that more questions show is read and encoded here if its base64 text fits in
    // what is left of the budget; any other is streamed when it is written.
    bool Readable(const QString& name, int q) {
        if (m_encoded.contains(name))
            return true;
        QFile file(m_images + name);
        const bool readable = file.open(QIODevice::ReadOnly) && file.size() > 0;
        if (!readable) {
            m_result.warnings << QStringLiteral("%1: файл %2 не найден, в XML только ссылка на "
                                                "него")
                                     .arg(Where(q), m_images + name);
            return false;
        }
        const qint64 encodedSize = Base64Size(file.size());
        if (m_uses.value(name) > 1 && m_cached + encodedSize <= m_budget) {
            const QByteArray bytes = file.readAll();
            if (file.error() == QFileDevice::NoError) {
                m_cached += Base64Size(bytes.size());
                m_encoded.insert(name, bytes.toBase64());
            }
        }
        return true;
    }

    // "<img>" or a link for the embedded file; the file goes into *files when it can be read.
    QString Embed(const QString& name, bool video, QStringList* files, int q) {
        if (Readable(name, q))
            files->append(name);
        if (video && !BrowserPlays(name))
            m_unplayable[name] << QString::number(q);
        const QString url = PluginFileUrl(name).toHtmlEscaped();
        return video ? QStringLiteral("<a href=\"%1\">%2</a>").arg(url, name.toHtmlEscaped())
                     : QStringLiteral("<img src=\"%1\" alt=\"%2\">").arg(url, name.toHtmlEscaped());
    }

    // The files' base64 text goes straight to the device: the writer has closed the start tag
    // and holds nothing back, and base64 needs no escaping.
    void WriteFiles(const QStringList& files) {
        for (const QString& name : files) {
            m_xml.writeStartElement(QStringLiteral("file"));
            m_xml.writeAttribute(QStringLiteral("name"), name);
            m_xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
            m_xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
            m_xml.writeCharacters(QString());
            if (const auto cached = m_encoded.constFind(name); cached != m_encoded.cend())
                Write(*cached);
            else
                Stream(name);
            m_xml.writeEndElement();
            // Its last question: the text kept for it goes.
            if (--m_uses[name] <= 0) {
                if (const auto cached = m_encoded.find(name); cached != m_encoded.end()) {
                    m_cached -= cached->size();
                    m_encoded.erase(cached);
                }
            }
        }
    }

    void Write(QByteArrayView bytes) {
        if (m_out->write(bytes.data(), bytes.size()) != bytes.size())
            m_writeFailed = true;
    }

    // The file read and encoded piece by piece onto the device.
    void Stream(const QString& name) {
        QFile file(m_images + name);
        if (!file.open(QIODevice::ReadOnly)) {
            m_readError = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
            return;
        }
        if (m_chunk.isEmpty())
            m_chunk.resize(kStreamChunk);
        while (!Failed()) {
            const qint64 read = file.read(m_chunk.data(), kStreamChunk);
            if (read < 0)
                m_readError = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
            if (read <= 0)
                break;
            Write(QByteArray::fromRawData(m_chunk.constData(), read).toBase64());
        }
    }

    // The name: the hidden characters the question's number fills, or all nine as they are.
    void WriteName(const Question& question, int q) {
        const QString hidden = question.Text.left(kHiddenLength);
        QString name = hidden.trimmed();
        if (HiddenPrefixOf(name, q) != hidden)
            name = hidden;
        m_xml.writeStartElement(QStringLiteral("name"));
        WriteText(name, false);
        m_xml.writeEndElement();
    }

    void WriteQuestionText(const Question& question, int q) {
        QStringList files;
        QString html = QStringLiteral("<p>%1</p>")
                           .arg(EscapedForHtml(LineOfBlock(question.Text.mid(kHiddenLength))));
        if (question.Picture) {
            const QString file = PictureFileOf(question);
            html += QStringLiteral("<p>%1</p>").arg(Embed(file, question.IsVideo(), &files, q));
        }
        m_xml.writeStartElement(QStringLiteral("questiontext"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(html, true);
        WriteFiles(files);
        m_xml.writeEndElement();
    }

    // The note and the textbook page go to the general feedback.
    void WriteFeedback(const Question& question) {
        QString feedback;
        if (!question.Note.isEmpty())
            feedback += QStringLiteral("<p>%1</p>").arg(EscapedForHtml(LineOfBlock(question.Note)));
        const QString page = question.TextbookPage.mid(kHtmlPrefixLength);
        if (!page.isEmpty())
            feedback +=
                QStringLiteral("<p>%1</p>").arg(EscapedForHtml(kPageLead + LineOfBlock(page)));
        m_xml.writeStartElement(QStringLiteral("generalfeedback"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(feedback, true);
        m_xml.writeEndElement();
    }

    // Check boxes, as the program shows every question.
    void WriteSettings() {
        m_xml.writeTextElement(QStringLiteral("defaultgrade"), QStringLiteral("1"));
        m_xml.writeTextElement(QStringLiteral("penalty"), QStringLiteral("0"));
        m_xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
        m_xml.writeTextElement(QStringLiteral("single"), QStringLiteral("false"));
        m_xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
        m_xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("123"));
    }

    // Why Moodle would stop its whole import at the question, or "": one option; a fraction that
    // is not in Moodle's list of grades; check boxes whose positive fractions do not add up to
    // 100 %.
    static QString MoodleRefusal(const Question& question) {
        if (question.OptionCount < 2)
            return QStringLiteral("один вариант ответа");
        int positive = 0;
        for (int i = 0; i < question.OptionCount; ++i) {
            const AnswerOption& option = question.Options[i];
            positive += std::max(option.Points, 0);
            const double fraction = std::fabs(FractionOf(option));
            if (std::none_of(std::begin(kMoodleFractions), std::end(kMoodleFractions),
                             [&](double f) { return std::fabs(fraction - f) < 1e-9; }))
                return QStringLiteral("вариант %1 стоит %2 баллов, а такой доли оценки в Moodle "
                                      "нет (из целых есть 100, 90, 80, 75, 70, 60, 50, 40, 30, 25, "
                                      "20, 10, 5 и 0 %, с минусом и без)")
                    .arg(i + 1)
                    .arg(option.Points);
        }
        if (positive != 100)
            return QStringLiteral("доли верных вариантов в сумме %1 %, а Moodle принимает вопрос "
                                  "с несколькими ответами, только если они дают ровно 100 %")
                .arg(positive);
        return QString();
    }

    // What a teacher should know before the question goes to Moodle: options that come back
    // from Moodle with other points, and tick sets Moodle grades otherwise.
    void CheckScoring(const Question& question, int q) {
        QList<double> fractions;
        QList<int> points;
        for (int i = 0; i < question.OptionCount; ++i) {
            const AnswerOption& option = question.Options[i];
            fractions << FractionOf(option);
            points << option.Points;
            // The import reads -100 % among check boxes as a 0-point option (FractionOf).
            if (option.Points <= -100)
                m_result.warnings << QStringLiteral("%1, вариант %2: %3 баллов уйдут в Moodle "
                                                    "долей %3 %, а из Moodle такая доля вернётся "
                                                    "0 баллами (как у неверного варианта)")
                                         .arg(Where(q))
                                         .arg(i + 1)
                                         .arg(option.Points);
        }
        for (const QString& difference : ScoringDifferences(fractions, false, points))
            m_result.warnings << Where(q) + QStringLiteral(": ") + difference;
    }

    // Option i (from 0) as an answer with its fraction.
    void WriteOption(const AnswerOption& option, int q) {
        QStringList optionFiles;
        const QString text =
            option.IsPicture
                ? QStringLiteral("<p>%1</p>")
                      .arg(Embed(OptionFileOf(option), false, &optionFiles, q))
                : QStringLiteral("<p>%1</p>").arg(EscapedForHtml(LineOfBlock(option.Text)));
        m_xml.writeStartElement(QStringLiteral("answer"));
        m_xml.writeAttribute(QStringLiteral("fraction"), QString::number(FractionOf(option)));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(text, true);
        WriteFiles(optionFiles);
        m_xml.writeStartElement(QStringLiteral("feedback"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(QString(), true);
        m_xml.writeEndElement();
        m_xml.writeEndElement();
    }

    void WriteQuestion(const Question& question, int q) {
        CheckScoring(question, q);
        m_xml.writeStartElement(QStringLiteral("question"));
        m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("multichoice"));
        WriteName(question, q);
        WriteQuestionText(question, q);
        WriteFeedback(question);
        WriteSettings();
        for (int i = 0; i < question.OptionCount; ++i)
            WriteOption(question.Options[i], q);
        m_xml.writeEndElement();
    }

    const QuestionBank& m_bank;
    QString m_images;
    QIODevice* m_out;
    QXmlStreamWriter m_xml;
    qint64 m_budget;                      // bytes of base64 text kept at most
    qint64 m_cached = 0;                  // bytes of base64 text kept now
    QHash<QString, int> m_uses;           // file -> embeds still to be written
    QHash<QString, QByteArray> m_encoded; // file -> base64 text, for the files kept
    QByteArray m_chunk;                   // the piece of a streamed file being encoded
    QString m_readError;                  // a file that opened when embedded failed when streamed
    QMap<QString, QStringList> m_unplayable; // video fragment -> the questions showing it
    bool m_writeFailed = false;
    MoodleExport m_result;
};

// --- Import ------------------------------------------------------------------------------------

struct Node {
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    QList<Node> children;

    const Node* Child(const QString& childName) const {
        for (const Node& child : children) {
            if (child.name == childName)
                return &child;
        }
        return nullptr;
    }
    QString Attribute(const QString& attribute) const {
        return attributes.value(attribute).toString();
    }
    /// The text of the child's "text" element ("" when there is none).
    QString TextOf(const QString& childName) const {
        const Node* child = Child(childName);
        const Node* text = child != nullptr ? child->Child(QStringLiteral("text")) : nullptr;
        return text != nullptr ? text->text : QString();
    }
};

bool ReadNode(QXmlStreamReader& xml, Node* node) {
    node->name = xml.name().toString();
    node->attributes = xml.attributes();
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isStartElement()) {
            Node child;
            if (!ReadNode(xml, &child))
                return false;
            node->children.append(std::move(child));
        } else if (xml.isCharacters()) {
            node->text += xml.text();
        } else if (xml.isEndElement()) {
            return true;
        }
    }
    return false;
}

class Refusal {
public:
    explicit Refusal(QString reason) : reason(std::move(reason)) {}
    QString reason;
};

class Importer {
public:
    MoodleImport Run(QIODevice* device) {
        QXmlStreamReader xml(device);
        Node root;
        while (!xml.atEnd() && !xml.isStartElement())
            xml.readNext();
        if (!xml.isStartElement() || !ReadNode(xml, &root) || xml.hasError()) {
            m_result.error = QStringLiteral("XML не читается (строка %1): %2")
                                 .arg(xml.lineNumber())
                                 .arg(xml.errorString());
            return m_result;
        }
        if (root.name != QStringLiteral("quiz")) {
            m_result.error = QStringLiteral("это не файл вопросов Moodle: корневой элемент "
                                            "«%1», а не «quiz»")
                                 .arg(root.name);
            return m_result;
        }
        int place = 0;
        for (const Node& question : root.children) {
            if (question.name != QStringLiteral("question"))
                continue;
            const QString type = question.Attribute(QStringLiteral("type"));
            if (type == QStringLiteral("category")) {
                TakeCategory(question);
                continue;
            }
            ++place;
            const QString name = question.TextOf(QStringLiteral("name"));
            const QString shownName = name.trimmed().isEmpty()
                                          ? QStringLiteral("вопрос %1 без имени").arg(place)
                                          : name.trimmed();
            if (m_result.bank.QuestionCount == kMaxQuestions) {
                m_result.refused << QStringLiteral("«%1»: в файле вопросов не больше %2 вопросов")
                                        .arg(shownName)
                                        .arg(kMaxQuestions);
                continue;
            }
            const qsizetype filesBefore = m_result.files.size();
            try {
                if (type != QStringLiteral("multichoice") && type != QStringLiteral("truefalse"))
                    throw Refusal(QStringLiteral("вопросы типа «%1» файл вопросов не передаёт "
                                                 "(только multichoice и truefalse)")
                                      .arg(type));
                Question taken = TakeQuestion(question, type, name, place);
                m_result.bank.Questions.append(std::move(taken));
                ++m_result.bank.QuestionCount;
            } catch (const Refusal& refusal) {
                m_result.files.resize(filesBefore);
                m_result.refused << QStringLiteral("«%1»: %2").arg(shownName, refusal.reason);
            }
        }
        if (!m_titleTaken)
            m_result.bank.Title = QStringLiteral("Вопросы из Moodle ");
        return m_result;
    }

private:
    void TakeCategory(const Node& category) {
        if (m_titleTaken)
            return;
        QStringList lines;
        const Node* info = category.Child(QStringLiteral("info"));
        if (info != nullptr) {
            const QString text = category.TextOf(QStringLiteral("info"));
            const QString format = info->Attribute(QStringLiteral("format"));
            if (format == QStringLiteral("plain_text") || format == QStringLiteral("markdown"))
                lines = text.split(u'\n');
            else
                lines = ParseHtml(text).paragraphs;
        }
        while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
            lines.removeLast();
        if (lines.isEmpty()) {
            // The last part of the category's path ("$course$/top/Тема" gives "Тема").
            QString path = category.TextOf(QStringLiteral("category"));
            path.replace(QStringLiteral("//"), QChar(0xE000));
            const QString last = path.section(u'/', -1).replace(QChar(0xE000), u'/').trimmed();
            if (last.isEmpty() || last.startsWith(u'$'))
                return;
            lines << last;
        }
        for (QString& line : lines)
            line = WithoutControls(line);
        const QString title = lines.takeFirst();
        if (!FitsCp1251(title) || title.startsWith(u'.')) {
            m_result.warnings << QStringLiteral("заголовок «%1» не подходит для файла вопросов и "
                                                "не взят")
                                     .arg(title);
            return;
        }
        m_titleTaken = true;
        m_result.bank.Title = title.isEmpty() ? QString() : title + u' ';
        static const QRegularExpression parameter(QStringLiteral("^(.+) = (-?\\d+)$"));
        for (const QString& line : lines) {
            const QRegularExpressionMatch match = parameter.match(line);
            if (!match.hasMatch() || m_result.bank.Parameters.size() == kMaxParameters ||
                !FitsCp1251(match.captured(1)) || match.captured(1).startsWith(u'.'))
                continue;
            bool ok = false;
            const int value = match.captured(2).toInt(&ok);
            if (ok)
                m_result.bank.Parameters.append({match.captured(1), value});
        }
    }

    // The text of a question's or an answer's text element, with the files it shows.
    struct Content {
        QString text;
        QStringList images;
        QStringList videos;
    };

    Content TakeContent(const Node* element) {
        Content content;
        if (element == nullptr)
            return content;
        const Node* textNode = element->Child(QStringLiteral("text"));
        const QString text = textNode != nullptr ? textNode->text : QString();
        const QString format = element->Attribute(QStringLiteral("format"));
        if (format == QStringLiteral("plain_text") || format == QStringLiteral("markdown")) {
            content.text = WithoutControls(text).simplified(); // line breaks and tabs too
            return content;
        }
        const HtmlContent html = ParseHtml(text);
        content.text = html.Text();
        for (const QString& src : html.images) {
            const QString name = PluginFileName(src);
            if (name.isEmpty())
                throw Refusal(QStringLiteral("рисунок по внешней ссылке %1 в файл вопросов не "
                                             "переносится")
                                  .arg(src));
            content.images << TakeFile(*element, name);
        }
        for (const QString& href : html.links) {
            const QString name = PluginFileName(href);
            if (!name.isEmpty() && IsVideoName(name))
                content.videos << TakeFile(*element, name);
        }
        return content;
    }

    // Checks an embedded file's name and keeps its content; returns the name.
    QString TakeFile(const Node& element, const QString& name) {
        if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') ||
            name == QStringLiteral(".") || name == QStringLiteral("..") ||
            QFileInfo(name).fileName() != name || WithoutControls(name) != name)
            throw Refusal(QStringLiteral("недопустимое имя файла «%1»").arg(name));
        for (const Node& file : element.children) {
            if (file.name == QStringLiteral("file") &&
                file.Attribute(QStringLiteral("name")) == name) {
                m_pending.append({name, QByteArray::fromBase64(file.text.trimmed().toLatin1())});
                return name;
            }
        }
        m_pendingWarnings << QStringLiteral("файл %1 не вложен в XML: его нужно положить в папку "
                                            "рисунков самому")
                                 .arg(name);
        return name;
    }

    // Renames a kept file (a picture option needs a leading "!", a video fragment a "$").
    void Rename(const QString& from, const QString& to) {
        for (EmbeddedFile& file : m_pending) {
            if (file.name == from)
                file.name = to;
        }
    }

    // The question's text after its hidden characters, and its one picture or video fragment.
    void TakeQuestionText(const Node& node, const QString& name, int place, Question* question) {
        const Content text = TakeContent(node.Child(QStringLiteral("questiontext")));
        if (text.images.size() + text.videos.size() > 1)
            throw Refusal(QStringLiteral("в тексте вопроса больше одного рисунка или "
                                         "видеофрагмента, а в файле вопросов место для одного"));
        question->Text = HiddenPrefixOf(name, place) + text.text + u' ';
        if (!text.videos.isEmpty()) {
            QString file = text.videos.first();
            if (!file.startsWith(u'$')) {
                Rename(file, u'$' + file);
                file.prepend(u'$');
            }
            question->Picture = QStringLiteral("\\images\\") + file;
        } else if (!text.images.isEmpty()) {
            QString file = text.images.first();
            while (file.startsWith(u'$')) {
                Rename(file, file.mid(1));
                file.remove(0, 1);
            }
            question->Picture = QStringLiteral("\\images\\") + file;
        }
    }

    static QStringList FeedbackParagraphs(const Node* feedback) {
        if (feedback == nullptr)
            return {};
        const Node* textNode = feedback->Child(QStringLiteral("text"));
        const QString feedbackText = textNode != nullptr ? textNode->text : QString();
        const QString format = feedback->Attribute(QStringLiteral("format"));
        return format == QStringLiteral("plain_text") || format == QStringLiteral("markdown")
                   ? feedbackText.split(u'\n', Qt::SkipEmptyParts)
                   : ParseHtml(feedbackText).paragraphs;
    }

    // The note and the textbook page from the general feedback.
    void TakeFeedback(const Node& node, Question* question) {
        QStringList note;
        QString page;
        for (const QString& paragraph :
             FeedbackParagraphs(node.Child(QStringLiteral("generalfeedback")))) {
            if (paragraph.startsWith(kPageLead) && page.isEmpty())
                page = paragraph.mid(kPageLead.size());
            else
                note << paragraph.trimmed();
        }
        const QString noteLine = note.join(u' ');
        if (noteLine.size() > kMaxNoteLength)
            m_pendingWarnings << QStringLiteral("общий отзыв длиннее %1 знаков: в примечании "
                                                "останется его начало")
                                     .arg(kMaxNoteLength);
        question->Note = noteLine.isEmpty() ? QString() : (noteLine + u' ').left(kMaxNoteLength);
        question->TextbookPage =
            (QStringLiteral("\\html\\") + (page.isEmpty() ? QString() : page + u' '))
                .left(kMaxNoteLength);
    }

    static QList<const Node*> AnswersOf(const Node& node) {
        QList<const Node*> answers;
        for (const Node& child : node.children) {
            if (child.name == QStringLiteral("answer"))
                answers << &child;
        }
        if (answers.isEmpty())
            throw Refusal(QStringLiteral("нет вариантов ответа"));
        if (answers.size() > kMaxOptions)
            throw Refusal(QStringLiteral("вариантов ответа %1, а в файле вопросов их не больше %2")
                              .arg(answers.size())
                              .arg(kMaxOptions));
        return answers;
    }

    // The fraction of answer i (from 0) in per cent, which must give a whole number of points.
    static double FractionOf(const Node& answer, int i) {
        const QString fractionText = answer.Attribute(QStringLiteral("fraction")).trimmed();
        bool ok = false;
        const double fraction = fractionText.isEmpty() ? 0.0 : fractionText.toDouble(&ok);
        if ((!ok && !fractionText.isEmpty()) || std::fabs(fraction - std::round(fraction)) > 1e-6 ||
            std::fabs(fraction) > 1e6)
            throw Refusal(QStringLiteral("доля варианта %1 («%2») не выражается целым числом "
                                         "баллов")
                              .arg(i + 1)
                              .arg(fractionText));
        return fraction;
    }

    // The points of an answer: its fraction; in a question with several answers a fraction of
    // -100 % or below, after which Moodle's sum can no longer rise above 0, is a 0-point option,
    // which spoils the answer in the program alike.
    static int PointsOf(double fraction, bool single) {
        return !single && fraction <= -100.0 ? 0 : int(std::lround(fraction));
    }

    // The text or the one picture of answer i (from 0).
    void TakeOptionContent(const Node& answer, int i, const QString& type, AnswerOption* option) {
        Content content = TakeContent(&answer);
        if (type == QStringLiteral("truefalse")) {
            const QString value = content.text.trimmed().toLower();
            if (value == QStringLiteral("true"))
                content.text = QStringLiteral("Верно");
            else if (value == QStringLiteral("false"))
                content.text = QStringLiteral("Неверно");
        }
        if (!content.videos.isEmpty())
            throw Refusal(QStringLiteral("вариант %1 с видеофрагментом: вариант может быть "
                                         "только текстом или рисунком")
                              .arg(i + 1));
        if (!content.images.isEmpty()) {
            if (content.images.size() > 1 || !content.text.isEmpty())
                throw Refusal(QStringLiteral("вариант %1: вариант может быть только текстом "
                                             "или одним рисунком")
                                  .arg(i + 1));
            QString file = content.images.first();
            if (!file.startsWith(u'!')) {
                Rename(file, u'!' + file);
                file.prepend(u'!');
            }
            option->Text = file + u' ';
            option->IsPicture = true;
        } else {
            option->Text = content.text.isEmpty() ? QString() : content.text + u' ';
            option->IsPicture = option->Text.startsWith(u'!');
        }
    }

    // The options with their points; refused when one answer is asked for and several options
    // are worth points, as the program would let a student tick them all.
    void TakeOptions(const Node& node, const QString& type, Question* question) {
        const QList<const Node*> answers = AnswersOf(node);
        const Node* singleNode = node.Child(QStringLiteral("single"));
        const bool single =
            type == QStringLiteral("truefalse") ||
            (singleNode != nullptr && singleNode->text.trimmed() == QStringLiteral("true"));
        QList<double> fractions;
        QList<int> points;
        int rewarded = 0;
        for (int i = 0; i < answers.size(); ++i) {
            AnswerOption& option = question->Options[i];
            fractions << FractionOf(*answers[i], i);
            option.Points = PointsOf(fractions.last(), single);
            points << option.Points;
            rewarded += option.Points > 0 ? 1 : 0;
            TakeOptionContent(*answers[i], i, type, &option);
        }
        question->OptionCount = int(answers.size());
        if (type == QStringLiteral("multichoice") && rewarded > 1 && single)
            throw Refusal(QStringLiteral("вопрос с одним ответом, а баллы у %1 вариантов: в "
                                         "программе их можно отметить все сразу")
                              .arg(rewarded));
        for (const QString& difference : ScoringDifferences(fractions, single, points))
            m_pendingWarnings << difference;
    }

    // Characters Windows-1251 lacks that have a plain reading in it; the replacements are said.
    void MakeReadable(QString* text) {
        static const QList<QPair<QChar, QString>> readings{
            {QChar(0x2212), QStringLiteral("-")},   {QChar(0x2264), QStringLiteral("<=")},
            {QChar(0x2265), QStringLiteral(">=")},  {QChar(0x2260), QStringLiteral("<>")},
            {QChar(0x2248), QStringLiteral("~")},   {QChar(0x00D7), QStringLiteral("x")},
            {QChar(0x00F7), QStringLiteral(":")},   {QChar(0x00BD), QStringLiteral("1/2")},
            {QChar(0x00BC), QStringLiteral("1/4")}, {QChar(0x00BE), QStringLiteral("3/4")},
            {QChar(0x00B2), QStringLiteral("^2")},  {QChar(0x00B3), QStringLiteral("^3")},
            {QChar(0x00B9), QStringLiteral("^1")},  {QChar(0x2192), QStringLiteral("->")},
            {QChar(0x2190), QStringLiteral("<-")},  {QChar(0x2032), QStringLiteral("'")},
            {QChar(0x2033), QStringLiteral("\"")}};
        for (const auto& [c, reading] : readings) {
            if (!text->contains(c))
                continue;
            text->replace(c, reading);
            const QString said = QStringLiteral("«%1» записан как «%2»").arg(c).arg(reading);
            if (!m_replaced.contains(said))
                m_replaced << said;
        }
    }

    // What Moodle keeps with the question and the question file has no place for.
    static QStringList DroppedParts(const Node& node) {
        const auto hasText = [](const Node* element) {
            return element != nullptr && !FeedbackParagraphs(element).isEmpty();
        };
        QStringList dropped;
        int answerFeedback = 0;
        int hints = 0;
        for (const Node& child : node.children) {
            if (child.name == QStringLiteral("answer"))
                answerFeedback += hasText(child.Child(QStringLiteral("feedback"))) ? 1 : 0;
            else if (child.name == QStringLiteral("hint"))
                hints += hasText(&child) ? 1 : 0;
        }
        if (answerFeedback > 0)
            dropped << QStringLiteral("отзывы к вариантам (%1)").arg(answerFeedback);
        if (hasText(node.Child(QStringLiteral("correctfeedback"))) ||
            hasText(node.Child(QStringLiteral("partiallycorrectfeedback"))) ||
            hasText(node.Child(QStringLiteral("incorrectfeedback"))))
            dropped << QStringLiteral("отзывы за верный, частично верный и неверный ответ");
        if (hints > 0)
            dropped << QStringLiteral("подсказки (%1)").arg(hints);
        const Node* grade = node.Child(QStringLiteral("defaultgrade"));
        if (grade != nullptr && std::fabs(grade->text.trimmed().toDouble() - 1.0) > 1e-9 &&
            !grade->text.trimmed().isEmpty())
            dropped << QStringLiteral("оценка %1 (в программе каждый вопрос стоит 100 баллов)")
                           .arg(grade->text.trimmed());
        const Node* hidden = node.Child(QStringLiteral("hidden"));
        if (hidden != nullptr && hidden->text.trimmed() == QStringLiteral("1"))
            dropped << QStringLiteral("скрытость (в программе вопрос увидят студенты)");
        const Node* shuffle = node.Child(QStringLiteral("shuffleanswers"));
        if (shuffle != nullptr && (shuffle->text.trimmed() == QStringLiteral("0") ||
                                   shuffle->text.trimmed() == QStringLiteral("false")))
            dropped << QStringLiteral("постоянный порядок вариантов (программа всегда их "
                                      "перемешивает)");
        return dropped;
    }

    // Refuses a question with characters the question file's encoding has no place for.
    static void CheckFitsCp1251(const Question& question) {
        QString all = question.Text + question.Note + question.TextbookPage +
                      question.Picture.value_or(QString());
        for (int i = 0; i < question.OptionCount; ++i)
            all += question.Options[i].Text;
        if (FitsCp1251(all))
            return;
        QString outside;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const qsizetype width = all[i].isHighSurrogate() && i + 1 < all.size() ? 2 : 1;
            const QString c = all.mid(i, width);
            if (!FitsCp1251(c) && !outside.contains(c))
                outside += c;
            i += width - 1;
        }
        throw Refusal(
            QStringLiteral("знаки, которых нет в кодировке Windows-1251: %1").arg(outside));
    }

    Question TakeQuestion(const Node& node, const QString& type, const QString& name, int place) {
        m_pending.clear();
        m_pendingWarnings.clear();
        Question question;
        TakeQuestionText(node, name, place, &question);
        TakeFeedback(node, &question);
        TakeOptions(node, type, &question);
        m_replaced.clear();
        for (QString* text : {&question.Text, &question.Note, &question.TextbookPage})
            *text = WithoutControls(*text);
        for (int i = 0; i < question.OptionCount; ++i)
            question.Options[i].Text = WithoutControls(question.Options[i].Text);
        MakeReadable(&question.Text);
        MakeReadable(&question.Note);
        question.Note = question.Note.left(kMaxNoteLength);
        for (int i = 0; i < question.OptionCount; ++i)
            MakeReadable(&question.Options[i].Text);
        CheckFitsCp1251(question);
        if (!m_replaced.isEmpty())
            m_pendingWarnings << m_replaced.join(QStringLiteral(", "));
        const QStringList dropped = DroppedParts(node);
        if (!dropped.isEmpty())
            m_pendingWarnings << QStringLiteral("не перенесено: ") +
                                     dropped.join(QStringLiteral("; "));
        m_result.files.append(m_pending);
        for (const QString& warning : m_pendingWarnings)
            m_result.warnings << QStringLiteral("«%1»: %2").arg(name.trimmed(), warning);
        return question;
    }

    MoodleImport m_result;
    QList<EmbeddedFile> m_pending;
    QStringList m_pendingWarnings;
    QStringList m_replaced; // characters of the question taken in a plain reading
    bool m_titleTaken = false;
};

} // namespace

MoodleExport ExportMoodleXml(const QuestionBank& bank, const QString& courseFolder, QIODevice* out,
                             qint64 cacheBudget) {
    return Exporter(bank, courseFolder, out, cacheBudget).Run();
}

MoodleImport ImportMoodleXml(QIODevice* device) {
    return Importer().Run(device);
}
