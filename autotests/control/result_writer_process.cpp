// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A control test's writer alone, as one lab PC runs it: takes the name, writes a whole test into
// the result folders below <course folder> and closes them.
//
//   result_writer_process <course folder> <name> <questions> [hold]
//
// With "hold" it prints "holding" after the first question and waits for a line on its standard
// input before it goes on, so that a test can start a second writer while this one runs.
// Exit codes: 0 written, 3 the name is in use (the message on standard output), 2 another
// failure (its message on standard output).
#include "autotests/control/whole_test.h"
#include "tests/result_lock.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4)
        return 64;
    const QString folder = args[1];
    CandidateInfo candidate{args[2], QStringLiteral("ТС-21"), QStringLiteral("Лёгкая атлетика"),
                            QStringLiteral("КМС"), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};
    const int count = args[3].toInt();
    const bool hold = args.size() > 4 && args[4] == QLatin1String("hold");
    QTextStream out(stdout);

    ResultReport report;
    if (!report.OpenReports(folder, candidate, QStringLiteral("07.12.2026"),
                            QStringLiteral("09:05:03"))) {
        out << report.ErrorMessage() << Qt::endl;
        return report.ErrorMessage() == ResultNameLock::InUseMessage(candidate.FullName) ? 3 : 2;
    }
    const bool written = WriteWholeTest(report, count, [&](int question) {
        if (hold && question == 1) {
            out << "holding" << Qt::endl;
            QTextStream in(stdin);
            in.readLine();
        }
    });
    if (!written || !report.CloseReports()) {
        out << report.ErrorMessage() << Qt::endl;
        return 2;
    }
    return 0;
}
