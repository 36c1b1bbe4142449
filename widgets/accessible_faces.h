// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QWidget>

// What screen readers (Qt's accessibility: AT-SPI on Linux, UI Automation on Windows) learn of
// the kit's widgets: a toggle button is a push button named by its caption, with its Alt letter
// and a press action; a PressableLabel (a panel that Space and Return open as a click does) is a
// push button named by its text; an Announcement is a notification.

/// Registers the faces with Qt's accessibility once; the kit's constructors call it.
void InstallAccessibleFaces();

/// A label that acts as a button: Tab reaches it, screen readers see a push button named by its
/// text whose press is a Space key press on it (the screen handles the key). Drawn as a plain
/// label is (a label that takes the focus would lay its text out another way, a pixel higher),
/// with the dotted focus frame while the keyboard cues are shown.
class PressableLabel : public QLabel {
    Q_OBJECT
public:
    explicit PressableLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// An invisible notification of a screen: Say() hands a text to the screen reader as an event
/// (a notification that comes into view, and an alert), as the verdict of an answer, the end
/// of the time or the result of a test are said aloud. The screen's look does not change.
class Announcement : public QWidget {
    Q_OBJECT
public:
    explicit Announcement(QWidget* parent);
    void Say(const QString& text);
    QString LastSaid() const { return accessibleName(); }
};
