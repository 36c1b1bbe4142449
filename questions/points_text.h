// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// The points of an answer option are read tolerantly: optional leading blanks, an optional sign,
// then decimal digits ("$" or "0x" introduces hexadecimal digits). An empty text is 0. When
// other characters follow the digits, the value of the digits read so far counts and a minus
// sign is dropped (",-5x" is worth 5). A digit that would overflow 32 bits counts as such an
// other character.
int PointsFromText(QStringView text);
