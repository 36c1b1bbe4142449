// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes given to the Moodle XML import are read or refused cleanly, and
// what it takes always makes a question file without a control character that the program's
// loader reads back to the same questions.

#include "fuzz/require.h"
#include "tools/moodlexml/moodle_xml.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QBuffer xml;
    xml.setData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    xml.open(QIODevice::ReadOnly);
    const MoodleImport imported = ImportMoodleXml(&xml);
    if (!imported.ok() || imported.bank.QuestionCount == 0)
        return 0;
    Require(imported.bank.QuestionCount <= kMaxQuestions);

    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QString error;
    Require(WriteQuestionFile(imported.bank, &file, &error));
    const QByteArray bytes = file.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = uchar(bytes[i]);
        Require(c >= 0x20 || (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ||
                (c == '\n' && i > 0 && bytes[i - 1] == '\r'));
    }

    file.close();
    file.open(QIODevice::ReadOnly);
    QuestionBank loaded;
    Require(loaded.LoadFrom(&file, QStringLiteral("fuzz.db")).ok());
    Require(loaded.QuestionCount == imported.bank.QuestionCount);
    for (int q = 1; q <= loaded.QuestionCount; ++q) {
        const Question& a = loaded.At(q);
        const Question& b = imported.bank.At(q);
        Require(a.Text == b.Text && a.OptionCount == b.OptionCount && a.Picture == b.Picture);
        for (int i = 0; i < a.OptionCount; ++i)
            Require(a.Options[i].Text == b.Options[i].Text &&
                    a.Options[i].Points == b.Options[i].Points);
    }
    return 0;
}
