// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's side of the module that holds the screens on the web engine and the media players
// (materials/late_parts.h): loading it, and the services the rest of the program calls through it.

#include <QString>

struct LateParts;

/// Loads the module beside the program (or below the library folder of an install) once; null
/// and a reason in error when it cannot be loaded.
const LateParts* LoadLateModule(QString* error);
