// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// course-testing-code-check: tells the control screen whether a typed supervisor code is the
// course's. Installed set-group-id to the group that alone may read the courses' hash files, so
// that a student's account can ask this question and nothing else.
//
//   course-testing-code-check COURSE_FOLDER  < one line: the typed code
//
// Exit status: 0 the code is the course's, 1 it is not, 2 the hash file cannot be read or holds
// no hash, 3 wrong use. It prints nothing, reads no environment variable and runs nothing.

#include "tests/supervisor_code.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    clearenv();
    if (argc != 2 || argv[1][0] != '/')
        return 3;
    std::string code;
    for (int c = 0; (c = std::getchar()) != EOF && c != '\n';) {
        if (code.size() > 256)
            return 3;
        code.push_back(static_cast<char>(c));
    }
    if (!code.empty() && code.back() == '\r')
        code.pop_back();
    // Every code typed for a course with its own code costs a second before its verdict, and the
    // checks wait for each other (a lock held through that second): guesses in parallel
    // processes, or ended early, gain nothing. Installed, the checks of one account take turns on
    // a file of that account's in a folder of the helper's group, so that no student can hold up
    // the checks of another (a check stopped with its lock held); else on the course's hash file.
    std::string turnFile;
#ifdef COURSE_CODE_TURNS_FOLDER
    if (::getegid() != ::getgid())
        turnFile = COURSE_CODE_TURNS_FOLDER "/" + std::to_string(::getuid());
#endif
    switch (supervisor_code::CheckCodeInTurn(
        argv[1], code, [] { ::sleep(1); }, turnFile)) {
    case supervisor_code::Verdict::Accepted:
        return 0;
    case supervisor_code::Verdict::Refused:
        return 1;
    case supervisor_code::Verdict::Unreadable:
        return 2;
    }
    return 3;
}
