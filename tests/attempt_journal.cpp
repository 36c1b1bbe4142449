// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/attempt_journal.h"

#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

QString AttemptJournalLiteral() {
    return QStringLiteral("\\otchet\\print otchet\\attempts.log");
}

QString AppendToJournal(const QString& programFolder, const JournalLine& line) {
    const QFileInfo path(DataPath(programFolder, AttemptJournalLiteral()));
    QFile file;
    if (const QString problem =
            OpenRegularFileForWriting(path.path(), path.fileName(), WriteMode::Append, &file);
        !problem.isEmpty())
        return problem;
    // A field holds no TAB or line end: the names that reach the keeper are checked, the rest
    // are the system's.
    QStringList fields{line.date,  line.time, line.name, QString::number(line.uid),
                       line.login, line.host, line.event};
    for (QString& field : fields)
        field.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    // One write, so that lines of PCs that append at the same moment never mix.
    const QByteArray bytes = EncodeCp1251(fields.join(QLatin1Char('\t'))) + "\r\n";
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    return SyncToDisk(&file);
}

QList<JournalLine> ReadJournal(const QString& path) {
    QList<JournalLine> lines;
    QStringList text;
    if (!ReadCp1251Lines(path, &text))
        return lines;
    for (const QString& entry : text) {
        const QStringList fields = entry.split(QLatin1Char('\t'));
        bool number = false;
        const uint uid = fields.value(3).toUInt(&number);
        if (fields.size() != 7 || !number)
            continue;
        lines << JournalLine{fields[0], fields[1], fields[2], uid, fields[4], fields[5], fields[6]};
    }
    return lines;
}
