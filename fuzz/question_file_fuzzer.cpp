// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes given to the question file loader load or are refused cleanly,
// and a loaded bank always keeps within its bounds, also through the draw and the shuffle.

#include "questions/question_bank.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);

    QuestionBank bank;
    const LoadResult result = bank.LoadFrom(&buffer, QStringLiteral("fuzz.db"));
    Require(result.ok() || (bank.QuestionCount == 0 && bank.Questions.isEmpty() &&
                            bank.Title.isEmpty() && !result.message.isEmpty() && result.line >= 1));
    Require(bank.QuestionCount >= 0 && bank.QuestionCount <= kMaxQuestions);
    Require(bank.Questions.size() == bank.QuestionCount);
    Require(bank.Parameters.size() <= kMaxParameters);
    Require(bank.QuestionCount <= result.declaredCount || !result.ok());

    for (const Question& question : bank.Questions) {
        Require(question.OptionCount >= 1 && question.OptionCount <= kMaxOptions);
        Require(question.Note.size() <= 50);
        Require(question.TextbookPage.size() <= 50 &&
                question.TextbookPage.startsWith(QStringLiteral("\\html\\")));
        Require(!question.Picture || question.Picture->startsWith(QStringLiteral("\\images\\")));
        for (int i = 0; i < kMaxOptions; ++i) {
            const AnswerOption& option = question.Options[i];
            Require(option.IsPicture == option.Text.startsWith(u'!'));
            Require(i < question.OptionCount || (option.Text.isEmpty() && option.Points == 0));
        }
    }

    QuestionDraw draw;
    draw.StartDraw(std::uint32_t(size));
    for (int n = 0; n < bank.QuestionCount; ++n) {
        const int q = draw.DrawQuestion(bank.QuestionCount);
        Require(q >= 1 && q <= bank.QuestionCount);
        const QList<int> order = draw.ShuffleOptions(bank.At(q));
        Require(order.size() == bank.At(q).OptionCount);
        int seen = 0;
        for (const int option : order) {
            Require(option >= 1 && option <= kMaxOptions && !(seen & (1 << option)));
            seen |= 1 << option;
        }
    }
    Require(draw.DrawQuestion(bank.QuestionCount) == 0);
    return 0;
}
