// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/question_bank.h"
#include "tests/result_lock.h"
#include "tests/result_report.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// The exam keeper's side of one conversation: the requests of the program, one line each, and
// the keeper's answers. The keeper holds what a student must neither read nor change: the
// question file with every option's points, the draw, the scoring and the two result files.
// The program it talks to may be replaced by a student's own, so nothing it sends is trusted
// but the candidate's registration, the question count it asks for and the boxes it ticks.
//
// The protocol, version 1. Every line is UTF-8 and ends with LF; fields are parted by one TAB.
// In the keeper's answers a field's "\" is written "\\", a TAB "\t", a LF "\n" and a CR "\r";
// a request may hold no control character at all. Requests, in the order they may come:
//
//   HELLO 1                          first, once          -> OK 1
//   TAKE name                        no test running      -> OK | REFUSED kind message
//       takes the name's lock before the control screen opens; CONTROL under that name keeps it
//   CONTROL name group specialization qualification topic count
//                                    no test running      -> READY questions title
//                                                          | REFUSED kind message
//       kind: "missing" (no question file), "questions" (a damaged or refused one), "empty"
//       (a question file without questions),
//       "results" (a result file or folder), "inuse" (a control test under the name runs),
//       "name" (a name the menu refuses: tests/candidate_name.h; TAKE too)
//   NEXT                             READY, or SAVED      -> QUESTION number text picture
//                                                             page option1 ... optionK
//       (the options in the order shown; the picture field empty without a picture; page: the
//       question's textbook page; no points)
//   ANSWER ticks                     after QUESTION       -> SAVED number | RESULT questions
//                                                             points maximum percent
//       ticks: five characters "0" or "1", one for each display position; a position without an
//       option is never ticked. RESULT follows the last question's answer, once the totals
//       are on the disk.
//   TRAINING topic count             no test running      -> READY questions title
//                                                          | REFUSED kind message
//       a training test: NEXT and ANSWER as above (nothing is written), and besides
//   TICKS ticks                      after QUESTION       -> VERDICT hidden|right|wrong|incomplete
//       the verdict of the boxes ticked now, as the training screen shows it after each tick
//   END                              during a training    -> RESULT questions points maximum
//                                                             percent (time up: the rest unasked)
//   LIST                             no test running      -> NAMES name ...
//   DATA name                        no test running      -> FILE base64-of-the-data-file
//                                                          | REFUSED owner message
//       An installed keeper (KeeperCaller::installed) lists and hands over to a student only the
//       data files his own account made: the others hold his classmates' answers and the right
//       ones. Root and the members of the keeper's group (the teachers) see every file.
//   BYE                              at any time          -> OK (the test, if any, is left
//                                                             as it stands: the report keeps it)
//
// Every control test that starts, ends, is stopped or is left adds a line to the attempt journal
// (tests/attempt_journal.h) with the account that ran it.
//
// A request that is malformed or comes out of order is refused with "ERROR reason" and changes
// nothing. A write that fails, a result file deleted or replaced, or the name's lock lost stops
// the test: "STOPPED number message" names the first question whose answer was not saved (0 when
// only the totals were lost), and every later request of that test is refused.

/// Who runs the keeper, as its main learns it from the process (a test poses as another
/// account).
struct KeeperCaller {
    bool installed = false; // set-group-id: the result files are the keeper's group's
    uint uid = 0;           // the real user id: the account of the student
    bool teacher = false;   // root or a member of the keeper's group
    QString login;          // the account's login name, for the attempt journal
    /// Whether the caller may read a data file that the account `owner` made.
    bool MayRead(uint owner) const { return !installed || teacher || owner == uid; }
};

class KeeperSession {
public:
    /// programFolder: the course folder the keeper serves (never one a request names).
    explicit KeeperSession(QString programFolder, KeeperCaller caller = {});

    /// The answer to one request line (without its LF), as one line without its LF.
    QByteArray Handle(const QByteArray& line);

    /// True once BYE was answered.
    bool Finished() const { return m_stage == Stage::Closed; }

    /// A field of an answer line, escaped as the protocol says.
    static QByteArray Field(const QString& text);
    /// The reverse of Field (for the program's side and the tests).
    static QString Unescaped(const QByteArray& field);

private:
    enum class Stage { Greeting, Idle, Ready, Asked, Finished, Stopped, Closed };

    /// Loads the topic's question file and caps the count: empty when the test can go on, else
    /// the refusal to answer.
    QByteArray LoadQuestions(const QString& topic, int count);
    /// The test's first READY: the draw started, nothing asked yet.
    QByteArray Begin(bool training);
    /// The refusal of a name the menu would refuse too, empty for a good one.
    QByteArray NameRefusal(const QString& fullName) const;
    QByteArray Take(const QList<QByteArray>& fields);
    QByteArray Training(const QList<QByteArray>& fields);
    QByteArray Ticks(const QList<QByteArray>& fields);
    QByteArray Result();
    /// The five ticks of an ANSWER or TICKS request, refused when malformed.
    bool ReadTicks(const QList<QByteArray>& fields, PositionFlags* ticked,
                   QByteArray* refusal) const;
    QByteArray Control(const QList<QByteArray>& fields);
    QByteArray Next();
    QByteArray Answer(const QList<QByteArray>& fields);
    QByteArray List();
    QByteArray Data(const QList<QByteArray>& fields);
    QByteArray Stop(int firstLost);
    static QByteArray Error(const QString& reason);
    /// The attempt journal's line of the control test under way: "начата", "окончена ..." or
    /// "прервана" (the last two once).
    void Journal(const QString& event, const QDateTime& at = ReportNow());

    QString m_programFolder;
    KeeperCaller m_caller;
    Stage m_stage = Stage::Greeting;
    QuestionBank m_bank;
    QuestionDraw m_draw;
    ResultReport m_report;
    std::unique_ptr<ResultNameLock> m_takenName; // TAKE's lock until CONTROL keeps it
    bool m_training = false;                     // the test under way is a training test
    bool m_controlTaken = false;                 // one control test for each start
    bool m_journalOpen = false;                  // the journal holds its start, not its end
    CandidateInfo m_candidate;
    int m_questionsToAsk = 0;
    int m_shown = 0;
    qint64 m_total = 0;
    PositionPoints m_points{}; // of the question on screen, by display position
    int m_optionCount = 0;
};
