// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/shown_movie.h"

#include <QEvent>
#include <QLabel>
#include <QMovie>
#include <QPointer>

namespace {

// Follows the label's show and hide events, which also arrive when its window is shown or
// hidden.
class MovieVisibility : public QObject {
public:
    MovieVisibility(QLabel* label, QMovie* movie) : QObject(label), m_movie(movie) {}

    void Follow(bool visible) {
        if (!m_movie)
            return;
        if (visible) {
            if (m_movie->state() == QMovie::NotRunning)
                m_movie->start();
            else
                m_movie->setPaused(false);
        } else if (m_movie->state() == QMovie::Running) {
            m_movie->setPaused(true);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            Follow(true);
        else if (event->type() == QEvent::Hide)
            Follow(false);
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QMovie> m_movie;
};

} // namespace

void ShowMovieWhileVisible(QLabel* label, QMovie* movie) {
    if (!movie->isValid())
        return;
    label->setMovie(movie);
    auto* follower = new MovieVisibility(label, movie);
    label->installEventFilter(follower);
    follower->Follow(label->isVisible());
}
