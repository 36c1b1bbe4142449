// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes given to the reader of a control test's data file are read or
// refused cleanly, and what is read always keeps within its bounds; any text wrapped for the
// data file unwraps to itself.

#include "platform/data_file_text.h"
#include "platform/text_file.h"
#include "review/data_file_reader.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

const QString kAbsent = QStringLiteral("0");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);

    ReviewData review;
    review.ReviewItems.append(ReviewItem()); // whatever was there before is dropped
    const DataFileResult result = ReadDataFile(&buffer, QStringLiteral("fuzz.txt"), &review);

    Require(result.status != DataFileResult::Status::CannotOpen);
    Require(result.ok() || (!result.message.isEmpty() && result.line >= 1));
    if (!result.usable())
        Require(review.ReviewCount == 0 && review.ReviewItems.isEmpty() &&
                review.ReviewHeader.isEmpty());
    Require(review.ReviewCount >= 0 && review.ReviewCount <= kMaxReviewItems);
    Require(review.ReviewItems.size() == review.ReviewCount);
    Require(!result.ok() || review.ReviewCount == result.declaredCount);
    Require(review.ReviewCount <= result.declaredCount || review.ReviewCount == 0);

    for (int r = 1; r <= review.ReviewCount; ++r) {
        const ReviewItem& item = review.Item(r);
        Require(item.IsFilled());
        for (const QString* text : {&item.Heading, &item.QuestionText, &item.GivenAnswer,
                                    &item.CorrectAnswer, &item.AnswerPoints}) {
            Require(*text != kAbsent);
        }
        Require(!item.HasMedia() || item.Media.startsWith(u'\\'));
        const int options = item.OptionCount();
        Require(options >= 1 && options <= kReviewOptions);
        for (int k = 0; k < kReviewOptions; ++k) {
            Require((k < options) == (item.OptionText[k] != kAbsent));
            Require(item.OptionIsPicture[k] ==
                    (k < options && item.OptionText[k].startsWith(u'!')));
        }
    }
    Require(!review.Item(0).IsFilled() && !review.Item(review.ReviewCount + 1).IsFilled());

    // The bytes as one text of a question record: the line written for it reads back as the
    // text, and a line written unwrapped never reads as a wrapped one.
    const QString text = DecodeCp1251(bytes);
    for (const DataFileText kind : {DataFileText::Question, DataFileText::Option}) {
        const std::optional<QString> back =
            UnwrapDataFileTextLine(DataFileTextLine(text, kind), kind);
        Require(DataFileTextNeedsWrapping(text, kind) ? back == text : !back.has_value());
    }
    return 0;
}
