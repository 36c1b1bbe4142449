// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_shell.h"

#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "materials/test3.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "tests/result_report.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test_settings.h"
#include "widgets/toggle_button.h"

#include <QFrame>

namespace {

class AppShell final : public ScreenShell {
public:
    ShellState& State() override {
        // Without its main screen (the program ending) the screens write to a record that no one
        // reads any more.
        static ShellState ended;
        return Form1 ? Form1->Shell : ended;
    }

    void ShowMainScreen() override {
        if (Form1)
            Form1->show();
    }
    void EndProgram() override {
        if (Form2)
            Form2->close();
        if (Form1)
            Form1->close();
    }

    void ShowMenu() override {
        if (form12)
            form12->ShowScreen();
    }
    quint8 TestingMode() const override { return form12 ? form12->TestingMode : 0; }
    void SetTestingMode(quint8 mode) override {
        if (form12)
            form12->TestingMode = mode;
    }
    CandidateInfo Candidate() const override {
        CandidateInfo candidate;
        if (form12) {
            candidate.FullName = form12->FullName();
            candidate.Group = form12->Group();
            candidate.Specialization = form12->Specialization();
            candidate.Qualification = form12->Qualification();
            candidate.Topic = form12->Topic();
        }
        return candidate;
    }
    void DisableControlButton() override {
        if (form12)
            form12->DisableControlButton();
    }

    void SetStartBarShown(bool shown) override {
        if (Form5 && Form5->isVisible() != shown)
            Form5->setVisible(shown);
    }
    void SetStartBarEnabled(bool enabled) override {
        if (Form5)
            Form5->Panel1->setEnabled(enabled);
    }
    void SetTestButtonsEnabled(bool enabled) override {
        if (Form5)
            Form5->SetTestButtonsEnabled(enabled);
    }
    void MarkTextbookChosen() override {
        if (Form5) {
            Form5->Raise(Form5->abcToggleBtn1);
            Form5->PutDown(Form5->abcToggleBtn3);
        }
    }
    void PutDownTextbookButton() override {
        if (Form5)
            Form5->PutDown(Form5->abcToggleBtn3);
    }
    bool ChooseTextbook() override {
        if (!Form5)
            return false;
        Form5->abcToggleBtn3Click();
        return true;
    }

    void ShowTextbook() override {
        if (Form14)
            Form14->ShowScreen();
    }
    std::optional<QString> TakeHelpPage() override {
        if (!Form2 || !Form2->HelpPageRequested)
            return std::nullopt;
        Form2->HelpPageRequested = 0;
        return Form2->HelpPage;
    }

    SettingsReading ReadTrainingSettings(int fileQuestionCount) const override {
        return Form4 ? Form4->ReadTrainingSettings(fileQuestionCount)
                     : ReadTestSettings(QStringLiteral("10"), QStringLiteral("900"),
                                        fileQuestionCount);
    }
    SettingsReading ReadControlSettings(int fileQuestionCount) const override {
        return Form4 ? Form4->ReadControlSettings(fileQuestionCount)
                     : ReadTestSettings(QStringLiteral("10"), QStringLiteral("60"),
                                        fileQuestionCount);
    }

    void PutAwayOtherScreens() override {
        if (Form4 && Form4->isVisible())
            Form4->close();
        if (Form7 && Form7->isVisible())
            Form7->hide();
        if (Form3 && Form3->isVisible())
            Form3->hide();
    }
    void PutAwayForExam() override {
        PutAwayOtherScreens();
        // The video viewer hands back to the textbook when it closes; then the textbook goes.
        if (Form9 && Form9->isVisible())
            Form9->close();
        if (Form14 && Form14->isVisible())
            Form14->hide();
        if (form12 && form12->isVisible())
            form12->hide();
        if (Form1 && Form1->isVisible())
            Form1->hide();
    }
};

} // namespace

ScreenShell& ProgramShell() {
    static AppShell shell;
    return shell;
}
