// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// The supervisor's code that ends a control test's result display. A teacher sets it per course:
// the course folder then holds "supervisor-code.hash", one line with a salted yescrypt hash of
// the code (never the code itself). A course without that file takes the code 739152.
//
// Plain C++ and libcrypt only: the set-group-id helper that checks a typed code links this and
// nothing else.

namespace supervisor_code {

/// The code of a course whose folder holds no hash file.
inline constexpr const char* kDefaultCode = "739152";
/// The name of the hash file in the course folder.
inline constexpr const char* kHashFileName = "supervisor-code.hash";

/// What a check of a typed code found.
enum class Verdict {
    Accepted,
    Refused,
    Unreadable, // the hash file exists but cannot be read or holds no hash
};

/// A new salted hash of code, as the hash file holds it; empty when the system could not make
/// one.
std::string HashCode(const std::string& code);

/// Whether code matches hash (a line of the hash file, its line end allowed).
bool Matches(const std::string& code, const std::string& hash);

/// Checks code against the course in courseFolder: its hash file, or the default code when the
/// folder holds none. The hash file is opened without following a symbolic link.
Verdict CheckCode(const std::string& courseFolder, const std::string& code);

/// As CheckCode, one check at a time and each at a cost: holds an exclusive lock on turnFile
/// (made if missing) while wait runs and then the check, so that the checks taking turns on it
/// wait for each other in every process. The verdict is known only after the wait, so ending the
/// check early saves nothing. With no turnFile, or one that cannot be opened, the checks take
/// turns on the course's hash file. A folder without a hash file (the default code, which is no
/// secret) takes no lock and no wait.
Verdict CheckCodeInTurn(const std::string& courseFolder, const std::string& code,
                        const std::function<void()>& wait, const std::string& turnFile = {});

/// A code a teacher may set: 4 to 64 printable ASCII characters without blanks.
bool AcceptableCode(const std::string& code);

} // namespace supervisor_code
