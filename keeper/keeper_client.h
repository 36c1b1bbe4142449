// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/answer_points.h"
#include "questions/question_bank.h"
#include "tests/result_report.h"
#include "tests/training_core.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The program's side of the exam keeper's protocol (keeper/keeper_session.h): starts the keeper,
// sends the requests and turns its answers into the values the screens work with. The keeper
// answers within milliseconds (its time is the disk's), so every call waits for its answer.

/// The answer to TAKE, CONTROL and TRAINING.
struct KeeperStart {
    bool ready = false;
    QString refusal; // "missing", "questions", "results", "inuse", "name"; or "keeper"
                     // when it failed
    QString message; // the refusal's message, Russian as the screens show it
    int questions = 0;
    QString title;
};

/// A question as the keeper shows it: the options already in the order shown, without points.
struct KeeperQuestion {
    int number = 0;
    Question question;
};

/// The answer to ANSWER and END.
struct KeeperAnswer {
    enum class Kind { Saved, Result, Stopped, Failed } kind = Kind::Failed;
    int number = 0;    // Saved: the question whose answer is on the disk
    int questions = 0; // Result
    qint64 points = 0;
    qint64 maximum = 0;
    QString percent;
    int firstLost = 0; // Stopped: the first question not saved, 0 when only the totals were lost
    QString message;   // Stopped and Failed
};

class KeeperClient {
public:
    /// The keeper beside the program, or where the package puts it.
    static QString DefaultKeeperPath();
    /// The tests' own build of the keeper, which stands in no folder beside them.
    static void SetDefaultKeeperPathForTesting(const QString& path);

    /// `course` is handed to the keeper as its course folder.
    KeeperClient(QString course, QString keeperPath = DefaultKeeperPath());
    ~KeeperClient();
    KeeperClient(const KeeperClient&) = delete;
    KeeperClient& operator=(const KeeperClient&) = delete;

    /// Starts the keeper and greets it; false with *problem set when it does not answer.
    bool Start(QString* problem);
    KeeperStart Take(const QString& fullName);
    KeeperStart Control(const CandidateInfo& candidate, int questionCount);
    KeeperStart Training(const QString& topic, int questionCount);
    /// The next question, or nothing with *stop set (a Stopped or Failed answer).
    std::optional<KeeperQuestion> Next(KeeperAnswer* stop);
    KeeperAnswer Answer(const PositionFlags& ticked);
    KeeperAnswer End();
    /// The training's verdict of the boxes ticked now.
    Verdict Ticks(const PositionFlags& ticked);
    /// The names of the data files the caller may read, and one of them; a file the keeper
    /// refuses sets *refusal to the reason to show (a classmate's file).
    QStringList DataFileNames();
    std::optional<QByteArray> DataFile(const QString& fullName, QString* refusal = nullptr);
    /// The keeper's process, 0 when none runs.
    qint64 ProcessId() const { return m_process ? m_process->processId() : 0; }
    /// Says goodbye and waits for the keeper to end.
    void Close();

private:
    QByteArray Ask(const QByteArray& request);
    KeeperStart StartAnswer(const QByteArray& answer);
    KeeperAnswer AnswerOf(const QByteArray& answer);
    static QByteArray Ticked(const PositionFlags& ticked);

    QString m_course;
    QString m_keeperPath;
    std::unique_ptr<QProcess> m_process;
};
