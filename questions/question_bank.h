// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <random>

// The questions of one question file ("\ortu\pdbN.db", Windows-1251, CR LF) and the random
// draw of questions and of the order of their options.

constexpr int kMaxQuestions = 2700;
constexpr int kMaxOptions = 5;
constexpr int kMaxParameters = 4;

struct AnswerOption {
    QString Text;           // the option as stored: its joined block without the first 2 characters
    int Points = 0;         // 0 marks a wrong option
    bool IsPicture = false; // Text begins with "!": shown as the picture "\images\" + Text
};

struct Question {
    QString Text;                   // joined question block without its first 6 characters
    QString Note;                   // at most 50 characters
    QString TextbookPage;           // "\html\" + page reference, at most 50 characters
    std::optional<QString> Picture; // "\images\" + file name; "$..." is a video fragment
    std::array<AnswerOption, kMaxOptions> Options; // file order; Options[0] is option 1
    int OptionCount = 0; // 1..5 for a loaded question, 0 for an empty slot

    bool IsEmpty() const { return OptionCount == 0; }
    bool IsVideo() const { return Picture && Picture->size() > 8 && Picture->at(8) == u'$'; }
    /// The file name of the picture below "\images\" (Picture without that prefix).
    QString PictureName() const { return Picture ? Picture->mid(8) : QString(); }
};

/// Outcome of a load. `message` is the text the screens show; `line` the 1-based line of the
/// file where loading stopped (0 when the file could not be opened).
///
/// Refusals (`Malformed`) name the file and the line: a title, parameter or count block that
/// the file ends inside, more than 4 parameter pairs, a declared count above 2700 or below 0, a
/// question with more than 5 options. A file that ends inside question k is not refused: the
/// bank keeps questions 1..k-1 and `QuestionCount` becomes k-1 (`endedInsideQuestion` = k).
/// An empty line is a text line like any other (it joins as one blank). A declared count of 0
/// loads an empty bank. Complete questions after the declared count are counted, not loaded.
/// The loader reads the file to its end; a read error anywhere fails the load (a failing device
/// may have cut the line read last short). After any failure the bank is left empty.
struct LoadResult {
    enum class Status { Ok, CannotOpen, InvalidInteger, InvalidNumericInput, Malformed, ReadError };
    Status status = Status::Ok;
    QString message;
    int line = 0;
    bool ok() const { return status == Status::Ok; }

    // What the file holds beyond what the bank keeps; read by the question-file checker.
    int declaredCount = 0;       // the last line of the count block
    int endedInsideQuestion = 0; // k when the file ended inside question k, else 0
    QList<int> questionLines;    // questionLines[q - 1]: the line where question q begins
    QList<int> pictureLines;     // pictureLines[q - 1]: the line naming q's picture, else 0
    QList<std::array<int, kMaxOptions>> optionLines; // [q - 1][i]: first line of option i + 1
    QList<int> emptyLines;                           // every empty line read
    int extraQuestions = 0; // complete questions after the declared ones (never loaded)
    int strayTextLine = 0;  // first line of text after the last question that forms none
};

class QuestionBank {
public:
    QString Title;
    QList<QPair<QString, int>> Parameters; // at most 4 pairs
    int QuestionCount = 0;                 // N; questions 1..N
    QList<Question> Questions;             // Questions[q - 1] is question q (size N after a load)

    /// Question q (1-based). An out-of-range q gives an empty question.
    const Question& At(int q) const;

    /// Number n of the topic's question file (1..12); a topic that matches no title gives 1.
    static int TopicNumber(const QString& topic);
    /// "\ortu\pdb" + n + ".db" for the topic, as a literal below the program folder.
    static QString QuestionFileLiteral(const QString& topic);

    /// Clears the bank and loads the topic's file below programFolder.
    LoadResult Load(const QString& programFolder, const QString& topic);
    /// Clears the bank and loads a question file from a path.
    LoadResult LoadFile(const QString& path);
    /// Clears the bank and loads from an open device; fileName names it in messages.
    LoadResult LoadFrom(QIODevice* device, const QString& fileName);

    void Clear();
};

/// The random draw of one test: questions without repeats, options in a uniformly random order.
class QuestionDraw {
public:
    /// Seeds the generator from the clock and empties the drawn set.
    void StartDraw();
    /// Seeds the generator with a fixed seed (tests) and empties the drawn set.
    void StartDraw(std::uint32_t seed);
    /// A question number in 1..questionCount not yet drawn in this test; marks it drawn.
    /// Returns 0 when every question has been drawn.
    int DrawQuestion(int questionCount);
    /// Display order of the question's options: order[p - 1] is the file option (1-based) shown
    /// at display position p.
    QList<int> ShuffleOptions(const Question& question);
    bool IsDrawn(int q) const;
    int DrawnCount() const;

private:
    std::mt19937 m_random{0};
    std::array<bool, kMaxQuestions + 1> m_drawn{};
};
