// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Help pages screen.

#include "platform/screen.h"
#include "shell/screen_shell.h"

#include <QPointer>
#include <QUrl>

class QFrame;
class QLabel;
class QWebEngineView;

class TForm7 : public Screen {
    Q_OBJECT
public:
    explicit TForm7(ScreenShell& shell, QWidget* parent = nullptr);

    QLabel* Image1;              // frame picture over the whole screen
    QFrame* Panel1;              // navy panel inside the frame
    QWebEngineView* WebBrowser1; // made by BuildBrowser() when the help is first shown

    void FormActivate() override;
    /// Builds the browser (once).
    void BuildBrowser();

    /// The help page opened by the last activation.
    QUrl OpenedPage() const { return m_openedPage; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ScreenShell& m_shell; // the program around the screen: the folder, the start bar

    QUrl m_openedPage;
};

extern QPointer<TForm7> Form7;
