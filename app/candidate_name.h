#pragma once

#include <QString>

// The candidate's name ("Фамилия И. О.") becomes part of the names of the two result files of a
// control test. A name that a file name on Windows or Linux cannot hold would write the files
// somewhere else or not at all, so the test buttons refuse it before any test opens.

/// Empty when `name` can be part of a file name; otherwise the Russian message that tells the
/// student what to change. Refused: any of \ / : * ? " < > |, any control character (tab, line
/// break ...), and a name made only of dots. Blanks are allowed, a name of blanks included.
QString CandidateNameProblem(const QString& name);
