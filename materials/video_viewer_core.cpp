// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "materials/video_viewer_core.h"

#include "platform/paths.h"

#include <QFileInfo>
#include <algorithm>

namespace {
constexpr int kDisplayInset = 25;  // display area inside the backdrop, left and top
constexpr int kDisplayShrink = 52; // display area narrower and lower than the backdrop
constexpr int kStripLeft = 30;
constexpr int kStripBelowDisplay = 10; // strip top below the display height
} // namespace

ViewerLayout LayOutViewer(QSize backdrop) {
    const int width = std::max(0, backdrop.width() - kDisplayShrink);
    const int height = std::max(0, backdrop.height() - kDisplayShrink);
    return {QRect(kDisplayInset, kDisplayInset, width, height),
            QPoint(kStripLeft, height + kStripBelowDisplay)};
}

int NoticeLinesShown(int ticks) {
    return std::clamp(ticks - 1, 0, 3);
}

void FragmentPosition::Opened(int lengthInFrames) {
    m_length = std::max(0, lengthInFrames);
    m_playing = false;
    m_frame = 0;
}

void FragmentPosition::PlaybackStarted() {
    m_playing = true;
    m_frame.reset();
}

void FragmentPosition::PlaybackStopped() {
    // Stopped somewhere along the fragment; a player standing still stays where it was.
    m_playing = false;
}

void FragmentPosition::PlaybackEnded() {
    m_playing = false;
    m_frame = m_length;
}

void FragmentPosition::SeekedToStart() {
    if (!m_playing)
        m_frame = 0;
}

void FragmentPosition::SeekedToEnd() {
    // While playing, the end of playback follows at once and reports the end.
    if (!m_playing)
        m_frame = m_length;
}

void FragmentPosition::Moved(int frame) {
    m_frame = std::clamp(frame, 0, m_length);
}

bool FragmentPosition::Step(int frames) {
    const bool restart = frames > 0 && AtEnd();
    if (restart)
        m_frame = 0;
    if (m_frame)
        m_frame = std::clamp(*m_frame + frames, 0, m_length);
    return restart;
}

QString FragmentName(const QString& videoFile) {
    const qsizetype slash =
        std::max(videoFile.lastIndexOf(QLatin1Char('\\')), videoFile.lastIndexOf(QLatin1Char('/')));
    return videoFile.mid(slash + 1);
}

bool FragmentExists(const QString& videoFile) {
    return !videoFile.isEmpty() && QFileInfo(NativeSeparators(videoFile)).isFile();
}

QStringList FragmentProblemNotice(FragmentProblem problem, const QString& videoFile) {
    const QString leave = QStringLiteral("нажмите кнопку \"Выход\"");
    const QString name = FragmentName(videoFile);
    if (name.isEmpty())
        return {QStringLiteral("Видеофрагмент не задан,"), leave};
    const QString what = problem == FragmentProblem::Missing
                             ? QStringLiteral("Видеофрагмент не найден:")
                             : QStringLiteral("Видеофрагмент не удается воспроизвести:");
    return {what, name, leave};
}
