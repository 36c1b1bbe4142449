#pragma once

#include <QString>

// Data paths are written as the program's literals with "\" separators ("\ortu\", "\images\");
// this is the one place where they become paths of the platform.

/// The literal with every "\" replaced by the platform's separator ("/" here).
QString NativeSeparators(const QString& literal);

/// ProgramFolder followed by a literal part such as "\html\0000.htm", as a usable path.
QString DataPath(const QString& programFolder, const QString& literal);

/// The working directory without a trailing separator (the program folder at start-up).
QString CurrentFolder();
