// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "materials/course_page.h"

#include "materials/textbook_links.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "shell/screen_shell.h"

#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWidget>

namespace {

// Written to the console by the guard below when it stops a link.
const QString kScriptLinkStopped = QStringLiteral("course-page: link stopped");

// A "javascript:" address runs inside the page, and the engine drops a "data:" address for the
// whole page by itself, neither with a navigation the program could refuse with its notice; a
// guard stops the click on such a link before the page sees it. It runs in the page's own script
// world, registered before any script of the page: a world of its own would cost the page's
// renderer about 2 MiB, and a script of the page could reach nothing through such a link that it
// could not do by itself.
const QString kScriptLinkGuard = QStringLiteral(R"(
(function () {
  window.addEventListener('click', function (event) {
    for (var node = event.target; node; node = node.parentNode) {
      var name = node.localName;
      if ((name === 'a' || name === 'area') && node.hasAttribute('href') &&
          /^[\s\u0000-\u001f]*(javascript|data):/i.test(node.getAttribute('href'))) {
        event.preventDefault();
        event.stopImmediatePropagation();
        console.info('%1');
        return;
      }
    }
  }, true);
})();
)")
                                     .arg(kScriptLinkStopped);

// The first request of a page that asked for a new window: opened in the page that asked when
// the folder allows it, refused otherwise. The window itself is never shown.
class NewWindowCatcher : public QWebEnginePage {
public:
    NewWindowCatcher(QWebEngineProfile* profile, QObject* owner,
                     std::function<void(const QUrl&)> request)
        : QWebEnginePage(profile, owner), m_request(std::move(request)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame && m_request) {
            auto request = std::exchange(m_request, nullptr);
            deleteLater();
            request(url);
        }
        return false;
    }

private:
    std::function<void(const QUrl&)> m_request;
};

} // namespace

CoursePage::CoursePage(ScreenShell& shell, const QString& folder, const QString& notice,
                       QObject* parent)
    : QWebEnginePage(parent), m_shell(shell), m_folder(folder), m_notice(notice) {
    // Unknown schemes reach the page's navigation check before anything could start them; an
    // address typed by a script alone never does.
    settings()->setUnknownUrlSchemePolicy(
        QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);

    QWebEngineScript guard;
    guard.setName(QStringLiteral("script-link-guard"));
    guard.setSourceCode(kScriptLinkGuard);
    guard.setInjectionPoint(QWebEngineScript::DocumentCreation);
    guard.setWorldId(QWebEngineScript::MainWorld);
    guard.setRunsOnSubFrames(true);
    scripts().insert(guard);

    // The program downloads nothing: every download of the profile is cancelled.
    QWebEngineProfile* shared = profile();
    if (!shared->property("courseDownloadsRefused").toBool()) {
        shared->setProperty("courseDownloadsRefused", true);
        connect(shared, &QWebEngineProfile::downloadRequested, shared, &CoursePage::RefuseDownload);
    }
}

QString CoursePage::Folder() const {
    return DataPath(m_shell.ProgramFolder(), m_folder);
}

bool CoursePage::Allows(const QUrl& url) const {
    return PageInsideFolder(url, Folder());
}

void CoursePage::Refuse(const QUrl& url) {
    Q_EMIT NavigationRefused(url);
    if (m_noticePending)
        return;
    m_noticePending = true;
    QTimer::singleShot(0, this, [this] {
        auto* view = qobject_cast<QWidget*>(parent());
        ShowMessage(m_notice, MessageKind::Information, view != nullptr ? view->window() : nullptr);
        m_noticePending = false;
    });
}

bool CoursePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!isMainFrame &&
        (url == QUrl(QStringLiteral("about:blank")) || url == QUrl(QStringLiteral("about:srcdoc"))))
        return true; // an empty frame or one whose text the page itself holds
    if (!Allows(url)) {
        Refuse(url);
        return false;
    }
    if (!isMainFrame || type == NavigationTypeReload || type == NavigationTypeRedirect)
        return true;
    return BeforeMainFrameNavigation(url);
}

bool CoursePage::BeforeMainFrameNavigation(const QUrl&) {
    return true;
}

QWebEnginePage* CoursePage::createWindow(WebWindowType) {
    QPointer<CoursePage> self(this);
    return new NewWindowCatcher(profile(), this, [self](const QUrl& url) {
        if (!self)
            return;
        if (self->Allows(url))
            self->OpenFromNewWindow(url);
        else
            self->Refuse(url);
    });
}

void CoursePage::OpenFromNewWindow(const QUrl& url) {
    load(url);
}

void CoursePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                          int, const QString&) {
    if (message == kScriptLinkStopped)
        Refuse(QUrl());
}

void CoursePage::DownloadRefused(const QUrl&) {}

void CoursePage::RefuseDownload(QWebEngineDownloadRequest* download) {
    download->cancel();
    if (auto* page = qobject_cast<CoursePage*>(download->page())) {
        page->DownloadRefused(download->url());
        page->Refuse(download->url());
    }
}

void PrepareWindowForWebView(QWidget* window) {
    // On X11 only: there a window is made by the window system and stacked by a window manager;
    // the platform without a display (the tests) has no OpenGL to compose with.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // A widget drawn through OpenGL tells its window so when it is made; hidden and empty, it
    // shows nothing and never starts OpenGL itself.
    auto* marker = new QOpenGLWidget(window);
    marker->setObjectName(QStringLiteral("webViewSurface"));
    marker->setFocusPolicy(Qt::NoFocus);
    marker->setGeometry(0, 0, 0, 0);
    marker->hide();
}
