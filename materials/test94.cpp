// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Textbook screen.
#include "materials/test94.h"

#include "materials/course_page.h"
#include "materials/test99.h"
#include "materials/textbook_links.h"
#include "platform/colours.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "widgets/cue_tool_button.h"
#include "widgets/stored_picture.h"
#include "widgets/toggle_button.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWindow>
#include <utility>

namespace {

constexpr int kFrameInset = 18;  // Panel1 inside the frame picture
constexpr int kFrameShrink = 38; // Panel1 narrower and lower than the picture
constexpr int kStripHeight = 27; // toolbar strip Panel2
constexpr int kToolButtonWidth = 104;
constexpr int kToolButtonHeight = 22;
constexpr int kSettlingAttempts = 3; // times a page asked for after a dropped link is tried

// Pictures of the back and forward buttons, by image index.
const char* const kButtonPictures[] = {
    ":/pictures/back_disabled.bmp", ":/pictures/back_enabled.bmp",
    ":/pictures/forward_disabled.bmp", ":/pictures/forward_enabled.bmp"};

void SetImage(QToolButton* button, int index) {
    button->setProperty("ImageIndex", index);
    const QPixmap picture =
        QPixmap::fromImage(ReadStoredImage(QString::fromLatin1(kButtonPictures[index]), "bmp"));
    QIcon icon;
    if (!picture.isNull()) {
        // The same picture enabled and disabled: the disabled look is its own picture.
        icon.addPixmap(picture, QIcon::Normal);
        icon.addPixmap(picture, QIcon::Disabled);
    }
    button->setIcon(icon);
}

// The back or forward button of the toolbar, showing picture image.
QToolButton* MakeHistoryButton(QWidget* parent, const char* name, int left, int image) {
    auto* button = Named(new CueToolButton(parent), name);
    button->setGeometry(left, 0, kToolButtonWidth, kToolButtonHeight);
    button->setAutoRaise(true);
    button->setIconSize(QSize(89, 16));
    button->setCursor(Qt::PointingHandCursor);
    button->setEnabled(false);
    SetImage(button, image);
    return button;
}

QToolButton* MakeCoolBarButton(QWidget* parent, const char* name, const QString& caption,
                               int width) {
    auto* button = Named(new CueToolButton(parent), name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->resize(width, 20);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    SetTextColour(button, QColor(0x00, 0x00, 0x80));
    return button;
}

// The page of the textbook's browser: keeps to the textbook's folder and hands every navigation
// of the main frame to the screen before it starts; pages asked for in a new window open in the
// textbook itself.
class TextbookPage : public CoursePage {
public:
    TextbookPage(TForm14* screen, ScreenShell& shell, QObject* parent)
        : CoursePage(shell, QStringLiteral("\\html\\"),
                     QStringLiteral("Ссылка ведет за пределы учебника и не открывается."), parent),
          m_screen(screen) {}

protected:
    bool BeforeMainFrameNavigation(const QUrl& url) override {
        return m_screen->WebBrowser1BeforeNavigate2(AddressText(url));
    }
    void OpenFromNewWindow(const QUrl& url) override { m_screen->OpenPage(AddressText(url)); }
    void DownloadRefused(const QUrl& url) override { m_screen->WithdrawPage(AddressText(url)); }

private:
    TForm14* m_screen;
};

} // namespace

namespace {
std::optional<QStringList> g_testPrinters;
}

QStringList InstalledPrinters() {
    return g_testPrinters ? *g_testPrinters : QPrinterInfo::availablePrinterNames();
}

void SetInstalledPrintersForTesting(std::optional<QStringList> printers) {
    g_testPrinters = std::move(printers);
}

QRect LargeScreenGeometry(QSize display) {
    const QSize size = display.height() > 623 ? QSize(display.width() - 100, display.height() - 70)
                                              : QSize(781, 530);
    return QRect(QPoint(CentredOffset(display.width(), size.width()),
                        CentredOffset(display.height(), size.height())),
                 size);
}

// --- Find dialog -------------------------------------------------------------------------------

TextbookFindDialog::TextbookFindDialog(QWebEngineView* view, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_view(view) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Поиск"));

    auto* label = new QLabel(QStringLiteral("Найти:"), this);
    FindText = Named(new QLineEdit(this), "FindText");
    label->setBuddy(FindText);
    MatchCase = Named(new QCheckBox(QStringLiteral("С учетом регистра"), this), "MatchCase");
    auto* direction = new QGroupBox(QStringLiteral("Направление"), this);
    Up = Named(new QRadioButton(QStringLiteral("Вверх"), direction), "Up");
    Down = Named(new QRadioButton(QStringLiteral("Вниз"), direction), "Down");
    Down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(Up);
    directionLayout->addWidget(Down);
    FindNext = Named(new QPushButton(QStringLiteral("Найти далее"), this), "FindNext");
    FindNext->setDefault(true);
    Cancel = Named(new QPushButton(QStringLiteral("Отмена"), this), "Cancel");
    Status = Named(new QLabel(this), "Status");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(FindText, 0, 1);
    grid->addWidget(FindNext, 0, 2);
    grid->addWidget(MatchCase, 1, 0, 1, 2, Qt::AlignBottom);
    grid->addWidget(Cancel, 1, 2);
    grid->addWidget(direction, 2, 1);
    grid->addWidget(Status, 3, 0, 1, 3);

    connect(FindNext, &QPushButton::clicked, this, &TextbookFindDialog::FindNextClick);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void TextbookFindDialog::FindNextClick() {
    const QString text = FindText->text();
    if (text.isEmpty() || m_view == nullptr)
        return;
    QWebEnginePage::FindFlags flags;
    if (MatchCase->isChecked())
        flags |= QWebEnginePage::FindCaseSensitively;
    if (Up->isChecked())
        flags |= QWebEnginePage::FindBackward;
    QPointer<QLabel> status = Status;
    m_view->findText(text, flags, [status](const QWebEngineFindTextResult& result) {
        if (!status)
            return;
        if (result.numberOfMatches() == 0)
            status->setText(QStringLiteral("Текст не найден"));
        else
            status->setText(QStringLiteral("Совпадение %1 из %2")
                                .arg(result.activeMatch())
                                .arg(result.numberOfMatches()));
    });
}

void TextbookFindDialog::hideEvent(QHideEvent* event) {
    // The marks of the last search go with the dialog.
    if (m_view != nullptr)
        m_view->findText(QString());
    Status->clear();
    QDialog::hideEvent(event);
}

// --- Screen ------------------------------------------------------------------------------------

TForm14::TForm14(ScreenShell& shell, QWidget* parent) : Screen(parent), m_shell(shell) {
    SetUpWindow();
    BuildFrame();
    BuildToolbarStrip();
    BuildHistoryButtons();
    BuildTitleAndCommands();

    // The browser is built by BuildBrowser(): at start-up once the splash is on screen, so that
    // the web engine does not hold up the first picture.
    WebBrowser1 = nullptr;

    connect(ToolButton1, &QToolButton::clicked, this, &TForm14::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TForm14::ToolButton2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm14::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm14::SpeedButton2Click);
    // The strip's keys: those browsers use for the history (Alt+Left, Alt+Right), Ctrl+F for
    // the search and Ctrl+P for the print. A button out of use, or hidden with its strip before
    // the second page, ignores its key as it ignores a click.
    const std::pair<QToolButton*, QKeySequence::StandardKey> keys[] = {
        {ToolButton1, QKeySequence::Back},
        {ToolButton2, QKeySequence::Forward},
        {SpeedButton1, QKeySequence::Find},
        {SpeedButton2, QKeySequence::Print}};
    for (const auto& [button, key] : keys) {
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, button,
                [button = button] {
                    if (button->isVisible())
                        button->click();
                });
    }

    // FormCreate: the history starts at its front.
    m_pagePath = m_shell.ProgramFolder();
    m_placeholderPage = m_shell.ProgramFolder() + QStringLiteral("\\html\\999.htm");
    setGeometry(LargeScreenGeometry(DisplaySize()));
    Image1->setGeometry(rect());
}

void TForm14::SetUpWindow() {
    // Back from a notice, the find or print dialog or another application the page stays.
    SetActivationSkippedOnReturn(true);
    setObjectName(QStringLiteral("Form14"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Учебник"));
    PrepareWindowForWebView(this);
}

void TForm14::BuildFrame() {
    auto* frame =
        Named(new StoredPicture(QStringLiteral(":/pictures/book_frame.jpg"), this), "Image1");
    Image1 = frame;

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    SetFillColour(Panel1, QColor(0x00, 0x00, 0xFF));
    frame->SetCoveredBy(Panel1); // the frame alone is held
}

void TForm14::BuildToolbarStrip() {
    Panel2 = Named(new QFrame(Panel1), "Panel2");
    Panel2->setFrameStyle(QFrame::NoFrame);
    Panel2->hide(); // shown from the second completed page on

    CoolBar1 = Named(new QFrame(Panel2), "CoolBar1");
    CoolBar1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    CoolBar1->setLineWidth(1);
    SetFillColour(CoolBar1, QColor(0x24, 0x9D, 0xF7));
}

void TForm14::BuildHistoryButtons() {
    ToolBar1 = Named(new QWidget(CoolBar1), "ToolBar1");
    ToolBar1->setGeometry(0, HalfOf(kStripHeight - kToolButtonHeight), 2 * kToolButtonWidth,
                          kToolButtonHeight);
    ToolButton1 = MakeHistoryButton(ToolBar1, "ToolButton1", 0, 0);
    ToolButton1->setToolTip(QStringLiteral("Назад"));
    ToolButton2 = MakeHistoryButton(ToolBar1, "ToolButton2", kToolButtonWidth, 2);
    ToolButton2->setToolTip(QStringLiteral("Вперед"));
    CBURL = Named(new QComboBox(ToolBar1), "CBURL");
    CBURL->setEditable(true);
    CBURL->hide();
}

void TForm14::BuildTitleAndCommands() {
    Image2 =
        Named(new StoredPicture(QStringLiteral(":/pictures/book_title.jpg"), CoolBar1), "Image2");
    SpeedButton1 =
        MakeCoolBarButton(CoolBar1, "SpeedButton1", QStringLiteral("Поиск по стр..."), 84);
    SpeedButton2 = MakeCoolBarButton(CoolBar1, "SpeedButton2", QStringLiteral("Печать..."), 77);
}

void TForm14::BuildBrowser() {
    if (WebBrowser1 != nullptr)
        return;
    WebBrowser1 = Named(new QWebEngineView(Panel1), "WebBrowser1");
    auto* page = new TextbookPage(this, m_shell, WebBrowser1);
    WebBrowser1->setPage(page);
    WebBrowser1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(WebBrowser1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // Copying is all the textbook offers; moving through pages goes by its own buttons.
        QMenu menu(this);
        QAction* copy = WebBrowser1->pageAction(QWebEnginePage::Copy);
        copy->setText(QStringLiteral("Копировать"));
        QAction* selectAll = WebBrowser1->pageAction(QWebEnginePage::SelectAll);
        selectAll->setText(QStringLiteral("Выделить все"));
        menu.addAction(copy);
        menu.addAction(selectAll);
        menu.exec(WebBrowser1->mapToGlobal(at));
    });
    connect(WebBrowser1, &QWebEngineView::urlChanged, this, &TForm14::WebBrowser1UrlChanged);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            return;
        // A refused or abandoned navigation completes no document, unless it is the one the
        // screen dropped for a video link or a page still settling after it.
        if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus && !m_cancelledLoadPending &&
            m_settlingAddress.isEmpty())
            return;
        WebBrowser1LoadFinished(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
    });
    connect(WebBrowser1, &QWebEngineView::printFinished, this, [this](bool) { m_printer.reset(); });
    connect(page, &QWebEnginePage::printRequested, this, &TForm14::SpeedButton2Click);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const bool wasInside =
            old != nullptr && (old == WebBrowser1 || WebBrowser1->isAncestorOf(old));
        const bool isInside =
            now != nullptr && (now == WebBrowser1 || WebBrowser1->isAncestorOf(now));
        if (wasInside && !isInside)
            WebBrowser1Exit();
    });
    WebBrowser1->show();
    LayOutPanel1();
}

TForm14::~TForm14() {
    // The browser goes first: a print still running uses the printer.
    disconnect(qApp, nullptr, this, nullptr);
    delete WebBrowser1;
    WebBrowser1 = nullptr;
}

void TForm14::resizeEvent(QResizeEvent* event) {
    // The panel's place first, so that the frame picture is cut around it once.
    Panel1->setGeometry(kFrameInset, kFrameInset, width() - kFrameShrink, height() - kFrameShrink);
    Image1->setGeometry(rect());
    Screen::resizeEvent(event);
}

void TForm14::closeEvent(QCloseEvent* event) {
    // The start bar offers no way back to the textbook, so the window system cannot close it;
    // the start bar's buttons hide it.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    Screen::closeEvent(event);
}

void TForm14::hideEvent(QHideEvent* event) {
    m_returnPageOnActivation.clear();
    if (m_findDialog != nullptr)
        m_findDialog->hide();
    Screen::hideEvent(event);
}

void TForm14::FormActivate() {
    BuildBrowser();
    m_history.SetNavigationSource(PageHistory::kFromLink);

    const QSize display = DisplaySize();
    setGeometry(LargeScreenGeometry(display));
    Image1->setGeometry(rect());
    Panel1->setGeometry(Image1->x() + kFrameInset, Image1->y() + kFrameInset,
                        Image1->width() - kFrameShrink, Image1->height() - kFrameShrink);
    LayOutPanel1();
    LayOutToolbar();

    m_shell.PutDownTextbookButton();

    const QString folder = m_shell.ProgramFolder();
    if (const std::optional<QString> helpPage = m_shell.TakeHelpPage()) {
        OpenPage(folder + *helpPage);
    } else if (!m_returnPageOnActivation.isEmpty()) {
        // Back from a video fragment: its return page is already being opened.
        m_returnPageOnActivation.clear();
    } else if (display.height() > 623) {
        OpenPage(folder + QStringLiteral("\\html\\0000.htm"));
    } else {
        WebBrowser1->setFocus();
        OpenPage(folder + QStringLiteral("\\html\\000.htm"));
    }
}

void TForm14::LayOutPanel1() {
    const QRect inner = Panel1->contentsRect();
    Panel2->setGeometry(inner.x(), inner.y(), inner.width(), kStripHeight);
    CoolBar1->setGeometry(0, 0, inner.width(), kStripHeight);
    const int stripTaken = Panel2->isHidden() ? 0 : kStripHeight;
    if (WebBrowser1 != nullptr)
        WebBrowser1->setGeometry(inner.x(), inner.y() + stripTaken, inner.width(),
                                 std::max(0, inner.height() - stripTaken));
}

void TForm14::LayOutToolbar() {
    const int bar = CoolBar1->width();
    const int buttonTop = HalfOf(CoolBar1->height() - SpeedButton1->height());
    SpeedButton2->move(bar - SpeedButton2->width() - 5, buttonTop);
    SpeedButton1->move(SpeedButton2->x() - SpeedButton1->width(), buttonTop);
    const int forwardRight = ToolBar1->x() + ToolButton2->x() + ToolButton2->width();
    Image2->setGeometry(forwardRight + 10, 0,
                        std::max(0, bar - SpeedButton1->width() - SpeedButton2->width() -
                                        ToolButton1->width() - ToolButton2->width() - 15),
                        CoolBar1->height());
}

void TForm14::OpenPage(const QString& address) {
    CBURL->setEditText(address);
    m_settlingAddress.clear(); // a newer page is asked for
    if (m_cancelledLoadPending) {
        // The browser is still winding down the navigation it was told to drop; a page asked for
        // now would be lost with it, so it is opened as soon as that has ended.
        m_deferredAddress = address;
        return;
    }
    Navigate(address);
}

void TForm14::Navigate(const QString& address) {
    BuildBrowser();
    WebBrowser1->load(AddressUrl(address));
}

bool TForm14::WebBrowser1BeforeNavigate2(const QString& address) {
    if (!m_settlingAddress.isEmpty()) {
        if (AddressUrl(address) == AddressUrl(m_settlingAddress))
            m_settlingRecorded =
                m_settlingRecorded || m_history.NavigationSource() == PageHistory::kFromLink;
        else
            m_settlingAddress.clear(); // the user went elsewhere
    }
    m_announcedUrl = AddressUrl(address);
    bool video = false;
    if (m_history.BeforeNavigate(address)) {
        ShellState& shell = m_shell.State();
        shell.TextbookUrl = address;
        const AddressInterpretation link = InterpretAddress(address, shell.ProgramFolder);
        m_pagePath = link.pagePath;
        if (link.returnPage)
            shell.ReturnPage = *link.returnPage;
        if (link.videoFile) {
            shell.VideoFile = *link.videoFile;
            video = true;
        }
    }
    ShowHistoryState();
    if (video) {
        // The link names no page of its own: the placeholder page is shown instead of it.
        m_cancelledLoadPending = true;
        OpenVideo();
    }
    return !video;
}

void TForm14::WithdrawPage(const QString& address) {
    m_history.Withdraw(address);
    ShowHistoryState();
}

void TForm14::OpenVideo() {
    m_placeholderPage = m_shell.ProgramFolder() + QStringLiteral("\\html\\999.htm");
    OpenPage(m_placeholderPage);
    SetStayOnTop(false);
    RecreateIfFreed<TForm9>(m_shell.State().RecreateVideoScreen, Form9, m_shell);
    Form9->ShowScreen();
}

void TForm14::ShowHistoryState() {
    const QStringList& entries = m_history.Entries();
    bool same = CBURL->count() == entries.size();
    for (int i = 0; same && i < entries.size(); ++i)
        same = CBURL->itemText(i) == entries.at(i);
    if (!same) {
        const QString text = CBURL->currentText();
        CBURL->clear();
        CBURL->addItems(entries);
        CBURL->setEditText(text);
    }
    if (!entries.isEmpty())
        CBURL->setCurrentIndex(std::min(m_history.SelectedIndex(), int(entries.size()) - 1));

    const bool back = m_history.BackEnabled();
    ToolButton1->setEnabled(back);
    SetImage(ToolButton1, back ? 1 : 0);
    const bool forward = m_history.ForwardEnabled();
    ToolButton2->setEnabled(forward);
    SetImage(ToolButton2, forward ? 3 : 2);
}

void TForm14::WebBrowser1LoadFinished(bool ok) {
    if (m_cancelledLoadPending) {
        // The end of the dropped navigation: no document of ours was completed.
        m_cancelledLoadPending = false;
        if (!m_deferredAddress.isEmpty()) {
            m_settlingAddress = std::exchange(m_deferredAddress, QString());
            m_settlingAttempts = 1;
            m_settlingRecorded = false;
            Navigate(m_settlingAddress);
        }
        return;
    }
    if (!m_settlingAddress.isEmpty()) {
        // Right after a dropped navigation the engine now and then drops the next page as well,
        // before it has shown anything of it: that page is asked for again.
        const bool arrived = WebBrowser1->url() == AddressUrl(m_settlingAddress);
        if (!ok && !arrived && m_settlingAttempts < kSettlingAttempts) {
            ++m_settlingAttempts;
            if (m_settlingRecorded)
                m_history.SetNavigationSource(PageHistory::kFromBackForward);
            Navigate(m_settlingAddress);
            return;
        }
        m_settlingAddress.clear();
        if (!ok && !arrived)
            return; // nothing was completed
    }
    WebBrowser1DocumentComplete();
}

void TForm14::WebBrowser1UrlChanged(const QUrl& url) {
    const QUrl previous = std::exchange(m_shownUrl, url);
    if (url == m_announcedUrl || previous.isEmpty())
        return; // the end of a navigation that was announced
    if (url.adjusted(QUrl::RemoveFragment) != previous.adjusted(QUrl::RemoveFragment))
        return; // another document, only ever reached through a navigation
    WebBrowser1BeforeNavigate2(AddressText(url));
}

void TForm14::WebBrowser1DocumentComplete() {
    ShellState& shell = m_shell.State();
    shell.BookLoadCount = static_cast<std::uint8_t>(shell.BookLoadCount + 1);
    const bool strip = shell.BookLoadCount > 1;
    if (Panel2->isHidden() == strip) {
        Panel2->setVisible(strip);
        LayOutPanel1();
    }
}

void TForm14::ToolButton1Click() {
    const QString address = m_history.Back();
    if (!address.isEmpty())
        OpenPage(address);
}

void TForm14::ToolButton2Click() {
    const QString address = m_history.Forward();
    if (!address.isEmpty())
        OpenPage(address);
}

void TForm14::SpeedButton1Click() {
    if (WebBrowser1->url().isEmpty())
        return; // no document to search in
    if (m_findDialog == nullptr)
        m_findDialog = new TextbookFindDialog(WebBrowser1, this);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
    m_findDialog->FindText->setFocus();
    m_findDialog->FindText->selectAll();
}

void TForm14::SpeedButton2Click() {
    if (m_printer)
        return; // the last page is still being printed
    // The textbook prints on paper only: a file written by the print dialog could take the
    // place of any file the student may write to.
    if (InstalledPrinters().isEmpty()) {
        ShowMessage(QStringLiteral("Принтер не установлен. Печать невозможна."),
                    MessageKind::Information, this);
        return;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::NativeFormat);
    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer->outputFormat() != QPrinter::NativeFormat || !printer->outputFileName().isEmpty())
        return; // a file chosen in the printer's own settings is not written either
    m_printer = std::move(printer);
    WebBrowser1->print(m_printer.get());
}

void TForm14::WebBrowser1Exit() {
    SpeedButton2->move(CoolBar1->width() - SpeedButton2->width() - 5, SpeedButton2->y());
}

bool TForm14::StaysOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TForm14::SetStayOnTop(bool onTop) {
    if (StaysOnTop() == onTop)
        return;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* window = windowHandle()) {
        // Changed in place: setting the widget's flags would hide and show the window again,
        // and the activation that follows would open the start page.
        overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void TForm14::ShowReturnPage(const QString& page) {
    SetStayOnTop(true);
    m_returnPageOnActivation = page;
    OpenPage(page);
}
