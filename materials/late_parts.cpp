// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "materials/late_parts.h"

#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "platform/gst_media_player.h"
#include "platform/sound.h"

const LateParts& MaterialsLateParts() {
    static const LateParts parts{
        [](ScreenShell& shell) { return new TForm7(shell); },
        [](ScreenShell& shell) { return new TForm14(shell); },
        [](ScreenShell& shell) { return new TForm9(shell); },
        [] {
            if (Form14)
                Form14->BuildBrowser();
        },
        [](QObject* parent) -> MediaPlayer* { return new GstMediaPlayer(parent); },
        &PlaySoundEffect,
    };
    return parts;
}

extern "C" Q_DECL_EXPORT const LateParts* CourseLateParts() {
    return &MaterialsLateParts();
}
