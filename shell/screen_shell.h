// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the screens of the tests, the review and the course materials ask of the program around
// them: the main screen, the registration menu, the start bar, the textbook and the test settings.
// The program (app/ProgramShell) implements it and hands it to every screen it makes; a screen
// library knows no screen of another library.

#include "shell/shell_state.h"

#include <QCloseEvent>
#include <QString>
#include <QWidget>
#include <optional>

struct CandidateInfo;
struct SettingsReading;

class ScreenShell {
public:
    virtual ~ScreenShell() = default;

    /// The state record on the main screen, read and written by the screens.
    virtual ShellState& State() = 0;
    QString ProgramFolder() { return State().ProgramFolder; }

    // The main screen.
    virtual void ShowMainScreen() = 0;
    /// Ends the program: a training screen is closed first, then the main screen.
    virtual void EndProgram() = 0;

    // The registration menu.
    virtual void ShowMenu() = 0;
    /// The menu's TestingMode: 0 the menu, 1 a training test, 2 the answer review.
    virtual quint8 TestingMode() const = 0;
    virtual void SetTestingMode(quint8 mode) = 0;
    /// The candidate's registration as the menu's fields hold it now.
    virtual CandidateInfo Candidate() const = 0;
    /// "Контроль..." disabled for the rest of the run.
    virtual void DisableControlButton() = 0;

    // The start bar.
    virtual void SetStartBarShown(bool shown) = 0;
    /// The whole bar, every button with it.
    virtual void SetStartBarEnabled(bool enabled) = 0;
    /// "Тестирование...", "О программе..." and "Учебник..." together.
    virtual void SetTestButtonsEnabled(bool enabled) = 0;
    /// "Тестирование..." raised, "Учебник..." put down: the textbook is in front.
    virtual void MarkTextbookChosen() = 0;
    /// "Учебник..." put down.
    virtual void PutDownTextbookButton() = 0;
    /// As the start bar's "Учебник...": the menu, the review and the help step aside for the
    /// textbook. False when there is no start bar to do it.
    virtual bool ChooseTextbook() = 0;

    // The textbook.
    virtual void ShowTextbook() = 0;
    /// The page a training test asked the textbook to open (its HelpPage, taken once: its
    /// HelpPageRequested is cleared); nothing when none was asked.
    virtual std::optional<QString> TakeHelpPage() = 0;

    // The administration screen's values as typed now, the count capped at the file's count.
    virtual SettingsReading ReadTrainingSettings(int fileQuestionCount) const = 0;
    virtual SettingsReading ReadControlSettings(int fileQuestionCount) const = 0;

    /// Where they are shown, the administration screen closed, the help pages and the credits
    /// hidden.
    virtual void PutAwayOtherScreens() = 0;
    /// Before an exam: every window of the program but the exam's own is closed (administration,
    /// help, credits, textbook, video viewer, review).
    virtual void PutAwayForExam() { PutAwayOtherScreens(); }
};

/// A close of screen (the menu, the help) by the window system: the screen steps aside for the
/// textbook, as the start bar's textbook button does (or just hides without a start bar), and the
/// start bar brings it back. False for a close of the program's own, which the screen handles
/// itself.
inline bool StepAsideForTextbook(QCloseEvent* event, QWidget* screen, ScreenShell& shell) {
    if (!event->spontaneous())
        return false;
    event->ignore();
    if (!shell.ChooseTextbook())
        screen->hide();
    return true;
}
