// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// What the course said to a typed supervisor code.
enum class SupervisorCheck {
    Accepted,
    Refused,
    Unreadable, // the course's hash file cannot be read: the message names it
};

/// Checks code against the supervisor's code of the course in courseFolder, through the helper
/// course-testing-code-check when it is installed or built beside the program (the helper may
/// read what the student's account may not), else in this process.
SupervisorCheck CheckSupervisorCode(const QString& courseFolder, const QString& code);

/// The message for a hash file that cannot be read.
QString SupervisorCodeUnreadableMessage(const QString& courseFolder);
