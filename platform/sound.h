// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// Plays a WAV file without waiting for its end. A file that cannot be played is not reported.
void PlaySoundAsync(const QString& path);
/// The same without the hook: always plays through Qt Multimedia.
void PlaySoundEffect(const QString& path);

using SoundHook = std::function<void(const QString& path)>;
void SetSoundHook(SoundHook hook);
