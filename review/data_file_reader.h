// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <array>

// The data file a control test leaves in "\otchet\data1\" (Windows-1251, CR LF), read back for
// the answer review. Its lines, from the top:
//
//   header line                      "."
//   question count                   "."
//   per question:  "Вопрос i"  "."  question text  "\picture" or "."
//                  option 1 ","  option 2 ","  ...  last option "."
//                  given answer "#"  correct answer "&"  points "$"
//   totals line                      "@"
//
// A line's first character decides its role. A block is read up to the first line that begins
// with one of its markers; every other line is joined, each followed by one blank, and the
// closing line is not joined. A question or option text that begins with a marker of its
// block is written wrapped in dots (".,5 км." for the option ",5 км"); such a line is joined as
// the text between the dots (platform/data_file_text.h). Lines of that form never stand at a
// text or marker place in files written before texts were wrapped, so those read as before.

constexpr int kMaxReviewItems = 2700;
constexpr int kReviewOptions = 5;

/// One question record. "0" in a text field marks that nothing was read into it (a read text
/// always ends with the joining blank, so it is never "0" itself).
struct ReviewItem {
    QString Heading = QStringLiteral("0");      // "Вопрос i "
    QString QuestionText = QStringLiteral("0"); // shown from its 10th character on
    QString Media = QStringLiteral("0");        // "\name" ("\$name" for a video fragment)
    std::array<QString, kReviewOptions> OptionText{
        QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
        QStringLiteral("0")}; // in the order shown during the test; [0] is row 1
    std::array<bool, kReviewOptions> OptionIsPicture{}; // the option text begins with "!"
    QString GivenAnswer = QStringLiteral("0"); // "Вы ответили: ..." / "Ваш ответ: ..."
    QString CorrectAnswer = QStringLiteral("0"); // "Правильный ответ: ..."
    QString AnswerPoints = QStringLiteral("0"); // "Набрано баллов за ответ: ..."

    bool IsFilled() const { return Heading != QStringLiteral("0"); }
    bool HasMedia() const { return Media != QStringLiteral("0"); }
    /// The media line names a video fragment ("\$...").
    bool IsVideo() const { return HasMedia() && Media.size() > 1 && Media.at(1) == u'$'; }
    /// Number of options read (rows 1..n are filled).
    int OptionCount() const;
};

/// The whole file: the header and totals for the top bar and the question records.
struct ReviewData {
    QString ReviewHeader;          // header block joined, then the totals block joined
    int ReviewCount = 0;           // records 1..ReviewCount
    QList<ReviewItem> ReviewItems; // ReviewItems[r - 1] is record r (size ReviewCount)

    /// Record r (1-based); an out-of-range r gives an empty record (all "0").
    const ReviewItem& Item(int r) const;
    void Clear();
};

/// Outcome of a read. `message` is the text the screen shows, `line` the 1-based line of the
/// file where reading stopped (0 when the file could not be opened).
///
/// - InvalidInteger: a line of the count block is not a signed decimal integer (a "$" or "0x"
///   prefix included); the message is the program's "'%s' is not a valid integer value" with
///   the line's control characters shown as escapes ("'3\r'" for a line ended by CR CR LF). An
///   empty line in the count block holds no number and is passed over; the last number counts.
/// - Malformed: the file is refused (it ends inside the header or the count block, declares a
///   count below 0 or above 2700, or a record has more than five options); the message names
///   the file, the line and what is wrong.
/// - Truncated: the file ends inside question record k or before its totals line "@". The
///   complete records 1..k-1 are kept (ReviewCount becomes k-1; `declaredCount` holds the
///   count the file gave) with the totals read so far; the message says where it ends.
/// - ReadError: the device failed; the message is the input/output error.
/// After Malformed, InvalidInteger and ReadError the data is left empty.
///
/// In the blocks closed by "#", "&" and "$" a line that ends with the block's marker also
/// closes the block, its text before the marker being joined: a correct-answer list with no
/// item leaves the "&" at the end of the "Правильный ответ: " line, and that record must not
/// swallow the records after it. An empty line has no first character and is a text line.
struct DataFileResult {
    enum class Status { Ok, CannotOpen, InvalidInteger, Malformed, Truncated, ReadError };
    Status status = Status::Ok;
    QString message;
    int line = 0;
    int declaredCount = 0;
    bool ok() const { return status == Status::Ok; }
    /// The data holds something worth showing (a whole file or the complete part of a cut one).
    bool usable() const { return status == Status::Ok || status == Status::Truncated; }
};

/// Reads a data file from an open device into *data (cleared first); fileName names it in
/// messages. Reads at most to the end of the device, and never more than 2700 records.
DataFileResult ReadDataFile(QIODevice* device, const QString& fileName, ReviewData* data);

/// Opens the file at path and reads it; CannotOpen with the input/output error when it
/// cannot be opened.
DataFileResult ReadDataFile(const QString& path, ReviewData* data);
