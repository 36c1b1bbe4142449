// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the video viewer that need no window: where its display area and control strip
// go, how the notice shown during a training test is revealed, the step of the frame buttons and
// where the player stands for them, and what the viewer says about a fragment it cannot play.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

/// The display area (Panel6) inside the backdrop panel (Panel5), and the top-left corner of the
/// control strip (Panel1) in the same coordinates.
struct ViewerLayout {
    QRect display;
    QPoint strip;
};

/// Display area 25 pixels inside the backdrop at the left and top and 52 pixels narrower and
/// lower than it; the strip at left 30 and 10 pixels below the display height, so that it covers
/// the lowest 15 pixels of the display area.
ViewerLayout LayOutViewer(QSize backdrop);

/// The tick of the notice timer that shows the last notice line and stops the timer.
constexpr int kNoticeLastTick = 4;

/// Notice lines shown after the given number of one-second ticks: the first at tick 2, the
/// second at 3, the third at 4.
int NoticeLinesShown(int ticks);

/// Frames moved by "Следующ." and "Предыд.": one tenth of the fragment's length, integer
/// division (0 when the length is unknown or below 10 frames: the buttons then do nothing).
inline int FrameStep(int lengthInFrames) {
    return lengthInFrames > 0 ? lengthInFrames / 10 : 0;
}

/// Where the player stands, as far as the viewer knows: the player does not report its
/// position, so it is followed through what the viewer asked of it. It is known after opening,
/// seeking, stepping from a known place and the end of playback; from the start of playback it
/// is unknown until one of those happens after the playback has ended or been stopped.
class FragmentPosition {
public:
    void Opened(int lengthInFrames);
    void PlaybackStarted();
    void PlaybackStopped();
    void PlaybackEnded();
    void SeekedToStart();
    void SeekedToEnd();
    /// The player reported the frame it stands at (the end counts as the length).
    void Moved(int frame);

    /// A step of frames (negative: backward) that the player is about to make. True when the
    /// player must first go back to the start: a step forward from the end begins there anew.
    bool Step(int frames);

    bool Playing() const { return m_playing; }
    /// The frame the player stands at, when known.
    std::optional<int> Frame() const { return m_frame; }
    bool AtEnd() const { return m_frame && *m_frame >= m_length; }

private:
    int m_length = 0;
    bool m_playing = false;
    std::optional<int> m_frame;
};

/// What keeps a fragment from being played.
enum class FragmentProblem {
    Missing,    // no file of that name, or no fragment named at all
    Unplayable, // the player cannot open or play it
};

/// The file name of a fragment path (the part after the last "\" or "/").
QString FragmentName(const QString& videoFile);

/// True when the fragment path ("\" separators) names an existing file.
bool FragmentExists(const QString& videoFile);

/// The lines the viewer shows instead of a fragment it cannot play.
QStringList FragmentProblemNotice(FragmentProblem problem, const QString& videoFile);
