// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keeper/keeper_client.h"

#include "keeper/keeper_session.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifndef COURSE_KEEPER_INSTALLED // set by the program's build: where the package puts the keeper
#define COURSE_KEEPER_INSTALLED "../lib/course-testing/course-testing-keeper"
#endif

namespace {

constexpr int kAnswerWait = 60 * 1000; // a file server may take its time; the keeper does not

QList<QByteArray> Fields(const QByteArray& answer) {
    return answer.split('\t');
}

QString& KeeperPathForTesting() {
    static QString path;
    return path;
}

} // namespace

void KeeperClient::SetDefaultKeeperPathForTesting(const QString& path) {
    KeeperPathForTesting() = path;
}

QString KeeperClient::DefaultKeeperPath() {
    if (!KeeperPathForTesting().isEmpty())
        return KeeperPathForTesting();
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {folder + QStringLiteral("/course-testing-keeper"),
          folder + QLatin1Char('/') + QStringLiteral(COURSE_KEEPER_INSTALLED)}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return folder + QStringLiteral("/course-testing-keeper");
}

KeeperClient::KeeperClient(QString course, QString keeperPath)
    : m_course(std::move(course)), m_keeperPath(std::move(keeperPath)) {}

KeeperClient::~KeeperClient() {
    Close();
}

bool KeeperClient::Start(QString* problem) {
    Close();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    QStringList arguments{QStringLiteral("--course"), m_course};
    if (const std::optional<QDateTime> fixed = ReportClockForTesting())
        arguments << QStringLiteral("--fixed-clock") << fixed->toString(Qt::ISODate);
    m_process->start(m_keeperPath, arguments);
    const QByteArray answer = Ask("HELLO\t1");
    if (answer == "OK\t1")
        return true;
    *problem = answer.startsWith("ERROR\t")
                   ? KeeperSession::Unescaped(answer.mid(6))
                   : QStringLiteral("Программа-хранитель результатов %1 не отвечает: %2")
                         .arg(m_keeperPath, m_process->errorString());
    Close();
    return false;
}

QByteArray KeeperClient::Ask(const QByteArray& request) {
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return {};
    m_process->write(request + '\n');
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(kAnswerWait))
            return {};
    }
    return m_process->readLine().chopped(1);
}

KeeperStart KeeperClient::StartAnswer(const QByteArray& answer) {
    const QList<QByteArray> fields = Fields(answer);
    KeeperStart start;
    if (fields[0] == "OK" || (fields[0] == "READY" && fields.size() == 3)) {
        start.ready = true;
        start.questions = fields.value(1).toInt();
        start.title = KeeperSession::Unescaped(fields.value(2));
    } else if (fields[0] == "REFUSED" && fields.size() == 3) {
        start.refusal = QString::fromUtf8(fields[1]);
        start.message = KeeperSession::Unescaped(fields[2]);
    } else {
        start.refusal = QStringLiteral("keeper");
        start.message = answer.isEmpty()
                            ? QStringLiteral("Программа-хранитель результатов не отвечает.")
                            : KeeperSession::Unescaped(answer);
    }
    return start;
}

KeeperStart KeeperClient::Take(const QString& fullName) {
    return StartAnswer(Ask("TAKE\t" + fullName.toUtf8()));
}

KeeperStart KeeperClient::Control(const CandidateInfo& candidate, int questionCount) {
    QByteArray request = "CONTROL";
    for (const QString* text : {&candidate.FullName, &candidate.Group, &candidate.Specialization,
                                &candidate.Qualification, &candidate.Topic})
        request += '\t' + text->toUtf8();
    return StartAnswer(Ask(request + '\t' + QByteArray::number(questionCount)));
}

KeeperStart KeeperClient::Training(const QString& topic, int questionCount) {
    return StartAnswer(
        Ask("TRAINING\t" + topic.toUtf8() + '\t' + QByteArray::number(questionCount)));
}

std::optional<KeeperQuestion> KeeperClient::Next(KeeperAnswer* stop) {
    const QByteArray answer = Ask("NEXT");
    const QList<QByteArray> fields = Fields(answer);
    if (fields[0] != "QUESTION" || fields.size() < 5 || fields.size() > 5 + kMaxOptions) {
        *stop = AnswerOf(answer);
        return std::nullopt;
    }
    KeeperQuestion shown;
    shown.number = fields[1].toInt();
    shown.question.Text = KeeperSession::Unescaped(fields[2]);
    if (!fields[3].isEmpty())
        shown.question.Picture = KeeperSession::Unescaped(fields[3]);
    shown.question.TextbookPage = KeeperSession::Unescaped(fields[4]);
    shown.question.OptionCount = int(fields.size()) - 5;
    for (int p = 1; p <= shown.question.OptionCount; ++p) {
        const QString text = KeeperSession::Unescaped(fields[4 + p]);
        shown.question.Options[p - 1] = AnswerOption{text, 0, text.startsWith(QLatin1Char('!'))};
    }
    return shown;
}

QByteArray KeeperClient::Ticked(const PositionFlags& ticked) {
    QByteArray ticks(kMaxOptions, '0');
    for (int p = 0; p < kMaxOptions; ++p)
        ticks[p] = ticked[p] ? '1' : '0';
    return ticks;
}

KeeperAnswer KeeperClient::Answer(const PositionFlags& ticked) {
    return AnswerOf(Ask("ANSWER\t" + Ticked(ticked)));
}

KeeperAnswer KeeperClient::End() {
    return AnswerOf(Ask("END"));
}

KeeperAnswer KeeperClient::AnswerOf(const QByteArray& answer) {
    const QList<QByteArray> fields = Fields(answer);
    KeeperAnswer result;
    if (fields[0] == "SAVED" && fields.size() == 2) {
        result.kind = KeeperAnswer::Kind::Saved;
        result.number = fields[1].toInt();
    } else if (fields[0] == "RESULT" && fields.size() == 5) {
        result.kind = KeeperAnswer::Kind::Result;
        result.questions = fields[1].toInt();
        result.points = fields[2].toLongLong();
        result.maximum = fields[3].toLongLong();
        result.percent = QString::fromUtf8(fields[4]);
    } else if (fields[0] == "STOPPED" && fields.size() == 3) {
        result.kind = KeeperAnswer::Kind::Stopped;
        result.firstLost = fields[1].toInt();
        result.message = KeeperSession::Unescaped(fields[2]);
    } else {
        result.message = answer.isEmpty()
                             ? QStringLiteral("Программа-хранитель результатов не отвечает.")
                             : KeeperSession::Unescaped(answer);
    }
    return result;
}

Verdict KeeperClient::Ticks(const PositionFlags& ticked) {
    const QByteArray answer = Ask("TICKS\t" + Ticked(ticked));
    if (answer == "VERDICT\tright")
        return Verdict::Right;
    if (answer == "VERDICT\twrong")
        return Verdict::Wrong;
    if (answer == "VERDICT\tincomplete")
        return Verdict::Incomplete;
    return Verdict::Hidden;
}

QStringList KeeperClient::DataFileNames() {
    QList<QByteArray> fields = Fields(Ask("LIST"));
    QStringList names;
    if (fields[0] != "NAMES")
        return names;
    for (qsizetype i = 1; i < fields.size(); ++i)
        names << KeeperSession::Unescaped(fields[i]);
    return names;
}

std::optional<QByteArray> KeeperClient::DataFile(const QString& fullName, QString* refusal) {
    const QByteArray answer = Ask("DATA\t" + fullName.toUtf8());
    if (refusal && answer.startsWith("REFUSED\t"))
        *refusal = KeeperSession::Unescaped(answer.split('\t').value(2));
    if (!answer.startsWith("FILE\t"))
        return std::nullopt;
    return QByteArray::fromBase64(answer.mid(5));
}

void KeeperClient::Close() {
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        Ask("BYE");
        m_process->closeWriteChannel();
        if (!m_process->waitForFinished(kAnswerWait))
            m_process->kill();
    }
    m_process.reset();
}
