// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/question_bank.h"

#include <QtGlobal>
#include <array>

/// Ticks and points of the five display positions of a question; index 0 is position 1.
using PositionFlags = std::array<bool, kMaxOptions>;
using PositionPoints = std::array<int, kMaxOptions>;

/// Points of an answer, in the training and in the control test alike: the sum of the points of
/// the ticked positions, or 0 when nothing is ticked or when any ticked option is worth 0 points
/// (a wrong option spoils the whole answer). Negative points count as they are.
qint64 AnswerPoints(const PositionFlags& ticked, const PositionPoints& points);
