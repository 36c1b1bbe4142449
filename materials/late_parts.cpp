#include "materials/late_parts.h"

#include "app/startup.h"

#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "platform/qt_media_player.h"
#include "platform/sound.h"

const LateParts& MaterialsLateParts() {
    static const LateParts parts{
        [] { return new TForm7(); },
        [] { return new TForm14(); },
        [] { return new TForm9(); },
        [] {
            if (Form14)
                Form14->BuildBrowser();
        },
        [](QObject* parent) -> MediaPlayer* { return new QtMediaPlayer(parent); },
        &PlaySoundEffect,
    };
    return parts;
}

extern "C" Q_DECL_EXPORT const LateParts* CourseLateParts() {
    return &MaterialsLateParts();
}

// The start with these parts linked into the caller (the tests). Here rather than in
// app/startup.cpp, so that the program, which loads the parts as a module, does not link them.

// The tests find both browsers built, as a program that has shown the help once has them.
void CreateScreens() {
    CreateScreens(MaterialsLateParts());
    if (Form7)
        Form7->BuildBrowser();
}

void StartScreens() {
    StartScreens([] { return &MaterialsLateParts(); });
}
