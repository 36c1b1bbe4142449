// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The browser page of the textbook and of the help pages.

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>

class QWebEngineDownloadRequest;
class QWidget;
class ScreenShell;

/// Readies `window` (a screen not yet shown) for the web view it will hold. A web view draws
/// through OpenGL, which its whole window then composes with; a window already on the display
/// when its first web contents appear is destroyed and made anew for that. The new window comes
/// late on a loaded machine, and a window manager may stack it below the window holding the
/// keyboard (the textbook below the background at the end of the splash). With this the window
/// is made for OpenGL composition from its first showing (on X11; elsewhere nothing is done).
void PrepareWindowForWebView(QWidget* window);

/// Follows only pages inside its own folder of the program folder ("\html\", "\helphtml\").
/// Every other navigation (other files, other schemes, downloads, new windows, "javascript:"
/// links) is refused: nothing is started or written, the page stays, and a short notice says
/// that the link leads outside.
class CoursePage : public QWebEnginePage {
    Q_OBJECT
public:
    /// folder: the literal below the shell's program folder; notice: the text shown for a
    /// refused link.
    CoursePage(ScreenShell& shell, const QString& folder, const QString& notice, QObject* parent);

    /// The folder the page keeps to, as a path of the platform.
    QString Folder() const;
    /// A page the browser may show: a local file inside Folder().
    bool Allows(const QUrl& url) const;
    /// The notice shown for a refused link.
    const QString& Notice() const { return m_notice; }

    /// Refuses a navigation: the notice follows once the browser has returned to the event loop
    /// (one notice for a burst of refused requests).
    void Refuse(const QUrl& url);

Q_SIGNALS:
    /// A navigation, new window or download was refused.
    void NavigationRefused(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

    /// An allowed navigation of the main frame (not a reload or a redirect); false drops it.
    virtual bool BeforeMainFrameNavigation(const QUrl& url);
    /// A page asked for in a new window that the folder allows: opened in this page.
    virtual void OpenFromNewWindow(const QUrl& url);
    /// An allowed navigation turned out to be a download, which was cancelled.
    virtual void DownloadRefused(const QUrl& url);

private:
    static void RefuseDownload(QWebEngineDownloadRequest* download);

    ScreenShell& m_shell;
    QString m_folder;
    QString m_notice;
    bool m_noticePending = false;
};
