// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/moodlexml/question_file_writer.h"

#include "platform/text_file.h"

#include <QStringEncoder>

namespace {

constexpr int kHtmlPrefixLength = 6;   // "\html\"
constexpr int kImagesPrefixLength = 8; // "\images\"

class Lines {
public:
    explicit Lines(QIODevice* device) : m_writer(device) {}
    // A control character would end the line or garble it: it goes out as a blank.
    Lines& operator<<(QString line) {
        for (QChar& c : line) {
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
                c = u' ';
        }
        m_ok = m_ok && m_writer.writeLine(line);
        return *this;
    }
    bool ok() const { return m_ok; }
    QString errorString() const { return m_writer.errorString(); }

private:
    Cp1251LineWriter m_writer;
    bool m_ok = true;
};

// A note block: one line, closed by "." unless the line begins with "\" (which closes the
// block itself and is joined). A line that would begin with "." gets a blank in front.
void WriteNote(Lines& out, const QString& note) {
    QString line = note.endsWith(u' ') ? note.chopped(1) : note;
    if (note.isEmpty()) {
        out << QStringLiteral(".");
        return;
    }
    if (line.startsWith(u'.'))
        line.prepend(u' ');
    out << line;
    if (!line.startsWith(u'\\'))
        out << QStringLiteral(".");
}

} // namespace

QString LineOfBlock(const QString& joined) {
    return joined.endsWith(u' ') ? joined.chopped(1) : joined;
}

bool FitsCp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

bool WriteQuestionFile(const QuestionBank& bank, QIODevice* device, QString* error) {
    Lines out(device);
    if (!bank.Title.isEmpty())
        out << LineOfBlock(bank.Title);
    out << QStringLiteral(".");
    for (const auto& [label, value] : bank.Parameters)
        out << label << QString::number(value);
    out << QStringLiteral(".") << QString::number(bank.QuestionCount) << QStringLiteral(".");
    for (const Question& question : bank.Questions) {
        out << QStringLiteral("Вопрос") + LineOfBlock(question.Text) << QStringLiteral(".");
        WriteNote(out, question.Note);
        const QString page = question.TextbookPage.mid(kHtmlPrefixLength);
        if (!page.isEmpty())
            out << QStringLiteral(">") + LineOfBlock(page);
        out << (question.Picture ? QStringLiteral("\\") + question.Picture->mid(kImagesPrefixLength)
                                 : QStringLiteral("."));
        for (int i = 0; i < question.OptionCount; ++i) {
            const AnswerOption& option = question.Options[i];
            if (!option.Text.isEmpty())
                out << QStringLiteral("%1 ").arg(i + 1) + LineOfBlock(option.Text);
            out << (i + 1 < question.OptionCount ? QStringLiteral(",") : QStringLiteral(".")) +
                       QString::number(option.Points);
        }
    }
    if (!out.ok())
        *error = out.errorString();
    return out.ok();
}
