// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Textbook screen.

#include "materials/page_history.h"
#include "platform/screen.h"
#include "shell/screen_shell.h"

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QPrinter;
class QToolButton;
class QWebEngineView;
class TextbookFindDialog;

/// Place of the large screens (textbook, help) on a display: (width - 100) x (height - 70) on
/// displays taller than 623 pixels, else 781 x 530, centred with halves rounded to even.
QRect LargeScreenGeometry(QSize display);

/// The printers "Печать..." can print on: the system's, or those a test sets (nullopt: the
/// system's again).
QStringList InstalledPrinters();
void SetInstalledPrintersForTesting(std::optional<QStringList> printers);

class TForm14 : public Screen {
    Q_OBJECT
public:
    explicit TForm14(ScreenShell& shell, QWidget* parent = nullptr);
    ~TForm14() override;

    QLabel* Image1; // frame picture over the whole screen
    QFrame* Panel1; // blue panel inside the frame
    QFrame* Panel2; // toolbar strip, shown from the second completed page on
    QFrame* CoolBar1;
    QWidget* ToolBar1;
    QToolButton* ToolButton1;    // back
    QToolButton* ToolButton2;    // forward
    QComboBox* CBURL;            // hidden; its items are the page history
    QLabel* Image2;              // title picture
    QToolButton* SpeedButton1;   // "Поиск по стр..."
    QToolButton* SpeedButton2;   // "Печать..."
    QWebEngineView* WebBrowser1; // made by BuildBrowser() once the splash is on screen

    void FormActivate() override;
    /// Builds the browser and starts the web engine (once; activation and navigation build it
    /// when start-up has not yet).
    void BuildBrowser();

    /// Opens a page: the address as text ("\" or "/" separators, or a full address).
    void OpenPage(const QString& address);

    const PageHistory& History() const { return m_history; }
    /// A navigation the history recorded loaded nothing (a refused download): its entry goes.
    void WithdrawPage(const QString& address);
    /// The page path kept by the last interpreted address (the return page of a video link,
    /// else ProgramFolder).
    const QString& PagePath() const { return m_pagePath; }
    /// The page shown in the textbook while a video fragment is open: ProgramFolder +
    /// "\html\999.htm".
    const QString& PlaceholderPage() const { return m_placeholderPage; }

    /// Always on top while shown; an ordinary window while a video fragment covers it.
    void SetStayOnTop(bool onTop);
    bool StaysOnTop() const;

    /// For the video viewer when it is left: makes the textbook always on top again and opens
    /// page, which stays the page shown even if the textbook's activation follows (it would
    /// open the start page otherwise).
    void ShowReturnPage(const QString& page);

    /// The find dialog opened by "Поиск по стр..." (null before the first use).
    TextbookFindDialog* FindDialog() const { return m_findDialog; }

public Q_SLOTS:
    void ToolButton1Click();
    void ToolButton2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    /// Before every navigation of the browser's main frame, with the target address as text.
    /// Returns false when the address is a video link: the placeholder page replaces it.
    bool WebBrowser1BeforeNavigate2(const QString& address);
    /// The browser finished a navigation (successfully or not).
    void WebBrowser1LoadFinished(bool ok);
    /// The page's address changed; a jump to an anchor inside the page changes it without any
    /// navigation before it, and is recorded here like a link.
    void WebBrowser1UrlChanged(const QUrl& url);
    /// A document has completed loading.
    void WebBrowser1DocumentComplete();
    void WebBrowser1Exit();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Parts of the screen, made in this order by the constructor.
    void SetUpWindow();
    void BuildFrame();
    void BuildToolbarStrip();
    void BuildHistoryButtons();
    /// The title picture and the "Поиск по стр..." and "Печать..." buttons.
    void BuildTitleAndCommands();

    void LayOutPanel1();
    void LayOutToolbar();
    void ShowHistoryState();
    void Navigate(const QString& address);
    void OpenVideo();

    ScreenShell& m_shell; // the program around the screen: the folder, the start bar, the tests
    PageHistory m_history;
    QUrl m_announcedUrl; // the address of the last navigation handed to WebBrowser1BeforeNavigate2
    QUrl m_shownUrl;     // the address the browser shows
    QString m_pagePath;
    QString m_placeholderPage;
    QString m_returnPageOnActivation;
    bool m_cancelledLoadPending = false; // a cancelled navigation has not reported its end yet
    QString m_deferredAddress;           // opened once that end has been reported
    QString m_settlingAddress;           // that page until it has arrived
    int m_settlingAttempts = 0;
    bool m_settlingRecorded = false; // it is in the history already
    TextbookFindDialog* m_findDialog = nullptr;
    std::unique_ptr<QPrinter> m_printer; // alive until the page has been printed
};

/// The find-in-page dialog of the textbook: the text, case, direction and "Найти далее".
class TextbookFindDialog : public QDialog {
    Q_OBJECT
public:
    TextbookFindDialog(QWebEngineView* view, QWidget* parent);

    QLineEdit* FindText;
    QCheckBox* MatchCase;
    QRadioButton* Up;
    QRadioButton* Down;
    QPushButton* FindNext;
    QPushButton* Cancel;
    QLabel* Status; // matches found, or that there are none

public Q_SLOTS:
    void FindNextClick();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWebEngineView* m_view;
};

extern QPointer<TForm14> Form14;
