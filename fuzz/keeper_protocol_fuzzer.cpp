// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes sent to the exam keeper, line by line, get one answer line each,
// of a kind the protocol knows; a result never claims more than its maximum; and nothing but
// the two result files and the name's lock is ever made, inside the result folders.

#include "keeper/keeper_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, int line = __builtin_LINE()) {
    if (condition)
        return;
    std::fprintf(stderr, "keeper_protocol_fuzzer.cpp:%d: requirement failed\n", line);
    std::abort();
}

// A course of its own: the fuzz corpus's question file of two questions and the result folders.
const QTemporaryDir& Course() {
    static QTemporaryDir course;
    static const bool made = [] {
        QDir(course.path()).mkpath(QStringLiteral("ortu"));
        QDir(course.path()).mkpath(QStringLiteral("otchet/data1"));
        QDir(course.path()).mkpath(QStringLiteral("otchet/print otchet"));
        return QFile::copy(QStringLiteral(FUZZ_CORPUS_DIR "/two_questions.db"),
                           course.filePath(QStringLiteral("ortu/pdb12.db")));
    }();
    Require(made);
    return course;
}

bool KnownAnswer(const QByteArray& answer) {
    static const QList<QByteArray> kinds{"OK",    "READY",  "REFUSED", "QUESTION",
                                         "SAVED", "RESULT", "STOPPED", "VERDICT",
                                         "NAMES", "FILE",   "ERROR"};
    return kinds.contains(answer.split('\t').constFirst());
}

} // namespace

// The name's lock renews itself with a timer, which needs an application.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = Course().path();
    {
        KeeperSession session(folder);
        const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
        for (const QByteArray& line : bytes.split('\n')) {
            const QByteArray answer = session.Handle(line);
            Require(!answer.isEmpty() && !answer.contains('\n') && KnownAnswer(answer));
            if (answer.startsWith("RESULT\t")) {
                const QList<QByteArray> fields = answer.split('\t');
                Require(fields.size() == 5 && fields[2].toLongLong() <= fields[3].toLongLong());
            }
            if (session.Finished())
                break;
        }
    }
    // Only result files and the attempt journal, nothing left behind once the session is gone.
    QDirIterator files(folder, QDir::Files | QDir::System | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString name = QFileInfo(path).fileName();
        if (path.endsWith(QLatin1String("/ortu/pdb12.db")))
            continue;
        Require((name.endsWith(QLatin1String(".txt")) &&
                 (path.contains(QLatin1String("/otchet/data1/")) ||
                  path.contains(QLatin1String("/otchet/print otchet/")))) ||
                path.endsWith(QLatin1String("/otchet/print otchet/attempts.log")));
        QFile::remove(path); // the next input starts from empty result folders
    }
    return 0;
}
