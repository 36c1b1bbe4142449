// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/moodlexml/moodle_xml.h"

#include "tools/moodlexml/html_text.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QFile>
#include <QFileInfo>
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

// --- Export ------------------------------------------------------------------------------------

class Exporter {
public:
    Exporter(const QuestionBank& bank, const QString& courseFolder)
        : m_bank(bank), m_images(courseFolder + QStringLiteral("/images/")) {}

    MoodleExport Run() {
        QXmlStreamWriter xml(&m_result.xml);
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("quiz"));
        WriteCategory(xml);
        for (int q = 1; q <= m_bank.QuestionCount; ++q)
            WriteQuestion(xml, m_bank.At(q), q);
        xml.writeEndElement();
        xml.writeEndDocument();
        return m_result;
    }

private:
    static void WriteText(QXmlStreamWriter& xml, const QString& text, bool html) {
        xml.writeStartElement(QStringLiteral("text"));
        if (html && !text.isEmpty())
            xml.writeCDATA(text);
        else
            xml.writeCharacters(text);
        xml.writeEndElement();
    }

    void WriteCategory(QXmlStreamWriter& xml) {
        QString name = LineOfBlock(m_bank.Title).simplified();
        name.replace(QStringLiteral("/"), QStringLiteral("//"));
        QStringList info{LineOfBlock(m_bank.Title)};
        for (const auto& [label, value] : m_bank.Parameters)
            info << QStringLiteral("%1 = %2").arg(label).arg(value);
        xml.writeStartElement(QStringLiteral("question"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
        xml.writeStartElement(QStringLiteral("category"));
        WriteText(xml,
                  QStringLiteral("$course$/top/") +
                      (name.isEmpty() ? QStringLiteral("Вопросы") : name),
                  false);
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("info"));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
        WriteText(xml, info.join(u'\n'), false);
        xml.writeEndElement();
        xml.writeEndElement();
    }

    // "<img>" or a link for the embedded file, and the file itself when it can be read.
    QString Embed(const QString& name, bool video, QList<EmbeddedFile>* files, int q) {
        QFile file(m_images + name);
        if (file.open(QIODevice::ReadOnly))
            files->append({name, file.readAll()});
        else
            m_result.warnings << QStringLiteral("вопрос %1: файл %2 не найден, в XML только "
                                                "ссылка на него")
                                     .arg(q)
                                     .arg(m_images + name);
        const QString url = PluginFileUrl(name).toHtmlEscaped();
        return video ? QStringLiteral("<a href=\"%1\">%2</a>").arg(url, name.toHtmlEscaped())
                     : QStringLiteral("<img src=\"%1\" alt=\"%2\">").arg(url, name.toHtmlEscaped());
    }

    static void WriteFiles(QXmlStreamWriter& xml, const QList<EmbeddedFile>& files) {
        for (const EmbeddedFile& file : files) {
            xml.writeStartElement(QStringLiteral("file"));
            xml.writeAttribute(QStringLiteral("name"), file.name);
            xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
            xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
            xml.writeCharacters(QString::fromLatin1(file.bytes.toBase64()));
            xml.writeEndElement();
        }
    }

    // The name: the hidden characters the question's number fills, or all nine as they are.
    static void WriteName(QXmlStreamWriter& xml, const Question& question, int q) {
        const QString hidden = question.Text.left(kHiddenLength);
        QString name = hidden.trimmed();
        if (HiddenPrefixOf(name, q) != hidden)
            name = hidden;
        xml.writeStartElement(QStringLiteral("name"));
        WriteText(xml, name, false);
        xml.writeEndElement();
    }

    void WriteQuestionText(QXmlStreamWriter& xml, const Question& question, int q) {
        QList<EmbeddedFile> files;
        QString html = QStringLiteral("<p>%1</p>")
                           .arg(EscapedForHtml(LineOfBlock(question.Text.mid(kHiddenLength))));
        if (question.Picture) {
            const QString file = question.Picture->mid(kImagesPrefixLength);
            html += QStringLiteral("<p>%1</p>").arg(Embed(file, question.IsVideo(), &files, q));
        }
        xml.writeStartElement(QStringLiteral("questiontext"));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(xml, html, true);
        WriteFiles(xml, files);
        xml.writeEndElement();
    }

    // The note and the textbook page go to the general feedback.
    static void WriteFeedback(QXmlStreamWriter& xml, const Question& question) {
        QString feedback;
        if (!question.Note.isEmpty())
            feedback += QStringLiteral("<p>%1</p>").arg(EscapedForHtml(LineOfBlock(question.Note)));
        const QString page = question.TextbookPage.mid(kHtmlPrefixLength);
        if (!page.isEmpty())
            feedback +=
                QStringLiteral("<p>%1</p>").arg(EscapedForHtml(kPageLead + LineOfBlock(page)));
        xml.writeStartElement(QStringLiteral("generalfeedback"));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(xml, feedback, true);
        xml.writeEndElement();
    }

    // One answer is asked for when at most one option is worth points.
    static void WriteSettings(QXmlStreamWriter& xml, const Question& question) {
        int rewarded = 0;
        for (int i = 0; i < question.OptionCount; ++i)
            rewarded += question.Options[i].Points > 0 ? 1 : 0;
        xml.writeTextElement(QStringLiteral("defaultgrade"), QStringLiteral("1"));
        xml.writeTextElement(QStringLiteral("penalty"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("single"),
                             rewarded > 1 ? QStringLiteral("false") : QStringLiteral("true"));
        xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
        xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("123"));
    }

    // Option i (from 0) as an answer with its points as the fraction.
    void WriteOption(QXmlStreamWriter& xml, const AnswerOption& option, int q, int i) {
        const double fraction = option.Points;
        if (std::none_of(std::begin(kMoodleFractions), std::end(kMoodleFractions),
                         [&](double f) { return std::fabs(std::fabs(fraction) - f) < 1e-9; }))
            m_result.warnings << QStringLiteral("вопрос %1, вариант %2: в Moodle нет доли %3 %")
                                     .arg(q)
                                     .arg(i + 1)
                                     .arg(option.Points);
        QList<EmbeddedFile> optionFiles;
        const QString text =
            option.IsPicture
                ? QStringLiteral("<p>%1</p>")
                      .arg(Embed(option.Text.trimmed(), false, &optionFiles, q))
                : QStringLiteral("<p>%1</p>").arg(EscapedForHtml(LineOfBlock(option.Text)));
        xml.writeStartElement(QStringLiteral("answer"));
        xml.writeAttribute(QStringLiteral("fraction"), QString::number(option.Points));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(xml, text, true);
        WriteFiles(xml, optionFiles);
        xml.writeStartElement(QStringLiteral("feedback"));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        WriteText(xml, QString(), true);
        xml.writeEndElement();
        xml.writeEndElement();
    }

    void WriteQuestion(QXmlStreamWriter& xml, const Question& question, int q) {
        xml.writeStartElement(QStringLiteral("question"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("multichoice"));
        WriteName(xml, question, q);
        WriteQuestionText(xml, question, q);
        WriteFeedback(xml, question);
        WriteSettings(xml, question);
        for (int i = 0; i < question.OptionCount; ++i)
            WriteOption(xml, question.Options[i], q, i);
        xml.writeEndElement();
    }

    const QuestionBank& m_bank;
    QString m_images;
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
            content.text = QString(text)
                               .replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                               .replace(u'\n', u' ')
                               .trimmed();
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
            QFileInfo(name).fileName() != name)
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

    // The points of answer i (from 0): its fraction, which must be a whole number.
    static int PointsOf(const Node& answer, int i) {
        const QString fractionText = answer.Attribute(QStringLiteral("fraction")).trimmed();
        bool ok = false;
        const double fraction = fractionText.isEmpty() ? 0.0 : fractionText.toDouble(&ok);
        if ((!ok && !fractionText.isEmpty()) || std::fabs(fraction - std::round(fraction)) > 1e-6 ||
            std::fabs(fraction) > 1e6)
            throw Refusal(QStringLiteral("доля варианта %1 («%2») не выражается целым числом "
                                         "баллов")
                              .arg(i + 1)
                              .arg(fractionText));
        return int(std::lround(fraction));
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
        int rewarded = 0;
        for (int i = 0; i < answers.size(); ++i) {
            AnswerOption& option = question->Options[i];
            option.Points = PointsOf(*answers[i], i);
            rewarded += option.Points > 0 ? 1 : 0;
            TakeOptionContent(*answers[i], i, type, &option);
        }
        question->OptionCount = int(answers.size());
        const Node* single = node.Child(QStringLiteral("single"));
        if (type == QStringLiteral("multichoice") && rewarded > 1 && single != nullptr &&
            single->text.trimmed() == QStringLiteral("true"))
            throw Refusal(QStringLiteral("вопрос с одним ответом, а баллы у %1 вариантов: в "
                                         "программе их можно отметить все сразу")
                              .arg(rewarded));
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
        CheckFitsCp1251(question);
        m_result.files.append(m_pending);
        for (const QString& warning : m_pendingWarnings)
            m_result.warnings << QStringLiteral("«%1»: %2").arg(name.trimmed(), warning);
        return question;
    }

    MoodleImport m_result;
    QList<EmbeddedFile> m_pending;
    QStringList m_pendingWarnings;
    bool m_titleTaken = false;
};

} // namespace

MoodleExport ExportMoodleXml(const QuestionBank& bank, const QString& courseFolder) {
    return Exporter(bank, courseFolder).Run();
}

MoodleImport ImportMoodleXml(QIODevice* device) {
    return Importer().Run(device);
}
