// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The answer review screen driven through its handlers: the file dialog hook hands over data
// files written to a temporary program folder, a fake player stands in for the video player.
#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "autotests/support/fake_media_player.h"
#include "autotests/support/screens_fixture.h"
#include "keeper/keeper_client.h"
#include "platform/file_dialog.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "platform/screen.h"
#include "platform/text_file.h"
#include "questions/auto_size_label.h"
#include "questions/question_area.h"
#include "review/test8.h"
#include "widgets/toggle_button.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

int Bottom(const QWidget* widget) {
    return widget->y() + widget->height();
}

QStringList Fixture(const QString& name = QStringLiteral("three_questions.txt")) {
    QFile file(SourcePath(QStringLiteral("autotests/review/data/") + name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = DecodeCp1251(file.readAll());
    text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

// One question with the picture q_big.bmp and two text options.
QStringList PictureQuestion() {
    return QStringLiteral("Орлов О. О.|.|1|.|Вопрос 1|.| №03-Т1. Как называется сфера на схеме? |"
                          "\\q_big.bmp|Экономическая |,|Духовная |.|Вы ответили: [1]- (балл за "
                          "ответ: 100), |#|Правильный ответ: [1]- (балл за ответ: 100), |&|"
                          "Набрано баллов за ответ: 100|$|, задано вопросов: 1|@")
        .split(u'|');
}

// A video question whose three options are pictures, under the given header line.
QStringList VideoPictureQuestion(const QString& header) {
    return (header + QStringLiteral(
                         "|.|1|.|Вопрос 1|.| №07-В1. Что показано во фрагменте? |\\$film01.avi|"
                         "!opt_tall.bmp |,|!opt_tall.bmp |,|!opt_tall.bmp |.|Вы ответили: [1]- "
                         "(балл за ответ: 100), |#|Правильный ответ: [1]- (балл за ответ: 100), "
                         "|&|Набрано баллов за ответ: 100|$|, задано вопросов: 1,  набрано "
                         "баллов: 100 из 100 возможных  это составляет 100.0%|@"))
        .split(u'|');
}

FakeMediaPlayer* Player() {
    return qobject_cast<FakeMediaPlayer*>(Form8->Player());
}

} // namespace

class ReviewScreenTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void emptyScreenFromTheMenu_data();
    void emptyScreenFromTheMenu();
    void dialogAndAChoiceThatIsNoFile();
    void dataFilesAreReadOnlyThroughTheKeeper();
    void steppingThroughAWholeTest();
    void questionPictureIsFitted();
    void recordStaysBetweenTheBars_data();
    void recordStaysBetweenTheBars();
    void videoPlaysOnlyOnTheButton();
    void brokenVideoLetsTheReviewGoOn();
    void namesLeadingOutsideImagesOpenNothing();
    void realPlayerAfterAMissingFragment();
    void refusedAndCutFiles();
    void closeReturnsToTheMenu();
    void fileDialogShowsOnlyTheDataFolderAndChangesNothing();
    void fileDialogOpensOnlyFilesOfTheFolder_data();
    void fileDialogOpensOnlyFilesOfTheFolder();

private:
    void Setup();
    QString WriteData(const QStringList& lines, const QString& name = QStringLiteral("П.txt"));
    void SavePicture(const QString& name, QSize size);
    void OpenScreen(int records = 0);
    void Choose(const QString& path);
    void PlantFolderContents();

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MessageRecorder> m_messages;
    std::optional<ScreensFixture> m_screens;
    QStringList m_dialog; // title, filter, folder of the last dialog
};

void ReviewScreenTest::init() {
    PrepareScreenTests(MediaPlayers::Fake);
    m_messages = std::make_unique<MessageRecorder>();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("otchet/data1")));
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("images")));
    SavePicture(QStringLiteral("q_map.bmp"), QSize(200, 100));
    SavePicture(QStringLiteral("!opt_unipolar.bmp"), QSize(60, 40));
    SavePicture(QStringLiteral("!opt_bipolar.bmp"), QSize(50, 30));
    Setup();
}

void ReviewScreenTest::Setup() {
    m_screens.emplace();
    Control<QTimer>(Form1, "Timer1")->stop();
    Shell().ProgramFolder = m_folder->path();
}

void ReviewScreenTest::cleanup() {
    SetFileDialogHook({});
    m_screens.reset();
    m_messages.reset();
    m_folder.reset();
    FakeMediaPlayer::Uninstall();
}

QString ReviewScreenTest::WriteData(const QStringList& lines, const QString& name) {
    const QString path = m_folder->filePath(QStringLiteral("otchet/data1/") + name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(Cp1251File(lines));
    return path;
}

void ReviewScreenTest::SavePicture(const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(m_folder->filePath(QStringLiteral("images/") + name), "BMP"));
}

// As the menu opens the screen and the activation that follows; then, with records, the whole
// test is opened and the screen steps to that record.
void ReviewScreenTest::OpenScreen(int records) {
    form12->abcToggleBtn6Click();
    QVERIFY(Form8 && Form8->isVisible());
    Form8->FormActivate();
    if (records == 0)
        return;
    Choose(WriteData(Fixture()));
    while (Form8->CurrentItem < records)
        Form8->BitBtn3Click();
}

void ReviewScreenTest::Choose(const QString& path) {
    SetFileDialogHook(
        [this, path](const QString& title, const QString& filter, const QString& folder) {
            m_dialog = QStringList{title, filter, folder};
            return path;
        });
    QTest::mouseClick(Control<QPushButton>(Form8, "BitBtn2"), Qt::LeftButton);
}

void ReviewScreenTest::emptyScreenFromTheMenu_data() {
    QTest::addColumn<QSize>("display");
    QTest::addColumn<QSize>("client");
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QSize(782, 536);
    QTest::newRow("800 x 600") << QSize(800, 600) << QSize(775, 515);
    QTest::newRow("1024 x 623") << QSize(1024, 623) << QSize(775, 515);
}

void ReviewScreenTest::emptyScreenFromTheMenu() {
    QFETCH(QSize, display);
    QFETCH(QSize, client);
    m_screens->SetDisplay(display);
    OpenScreen();
    QCOMPARE(int(form12->TestingMode), 2);
    QCOMPARE(Form8->windowTitle(), QStringLiteral("Результаты теста"));
    // The window with its border is centred; on low displays it stands at top 35.
    const QRect frame = Form8->frameGeometry();
    QCOMPARE(Form8->size(), client);
    QCOMPARE(frame.left(), HalfOf(display.width() - frame.width()));
    QCOMPARE(frame.top(), display.height() >= 624 ? HalfOf(display.height() - frame.height()) : 35);
    QCOMPARE(Control<QFrame>(Form8, "Panel2")->geometry(),
             QRect(0, client.height() - 33, client.width(), 33));
    QVERIFY(Control<QFrame>(Form8, "Panel4")->isVisible() &&
            Control<QPushButton>(Form8, "BitBtn5")->isVisible() &&
            Control<QPushButton>(Form8, "BitBtn2")->isVisible());
    QVERIFY(!Control<QPushButton>(Form8, "BitBtn3")->isVisible() &&
            !Control<QPushButton>(Form8, "BitBtn4")->isVisible());
    QVERIFY(Control<QLabel>(Form8, "Label1")->text().isEmpty() &&
            !Control<AutoSizeLabel>(Form8, "Label2")->isVisible());
}

void ReviewScreenTest::dialogAndAChoiceThatIsNoFile() {
    OpenScreen();
    for (const QString& choice : {QString(), m_folder->filePath(QStringLiteral("нет.txt"))}) {
        m_messages->clear();
        Choose(choice);
        QCOMPARE(m_dialog.value(0), QStringLiteral("Открытие файла"));
        QCOMPARE(m_dialog.value(1), QStringLiteral("Текстовые файлы рез-ов тестирования (*.txt)"));
        QCOMPARE(QDir(m_dialog.value(2)), QDir(m_folder->filePath(QStringLiteral("otchet/data1"))));
        QCOMPARE(m_messages->messages,
                 QStringList{QStringLiteral(
                     "Вы не указали файл, повторите процедуру открытия файла отчета...")});
        QVERIFY(Control<QPushButton>(Form8, "BitBtn3")->isVisible() &&
                !Control<QPushButton>(Form8, "BitBtn3")->isEnabled());
        QVERIFY(Control<QPushButton>(Form8, "BitBtn4")->isVisible() &&
                !Control<QPushButton>(Form8, "BitBtn4")->isEnabled());
        QVERIFY(Control<QFrame>(Form8, "Panel4")->isVisible());
    }
}

void ReviewScreenTest::dataFilesAreReadOnlyThroughTheKeeper() {
    // The data folder is the exam keeper's: without it no file opens, though it stands there.
    OpenScreen();
    const QString path = WriteData(Fixture());
    const QString missing = m_folder->filePath(QStringLiteral("course-testing-keeper"));
    KeeperClient::SetDefaultKeeperPathForTesting(missing);
    Choose(path);
    QCOMPARE(m_messages->messages.size(), 1);
    QVERIFY2(m_messages->last().contains(missing), qPrintable(m_messages->last()));
    QVERIFY(Control<QLabel>(Form8, "Label1")->text().isEmpty());
}

void ReviewScreenTest::steppingThroughAWholeTest() {
    const QStringList lines = Fixture();
    OpenScreen(1);
    QVERIFY2(m_messages->messages.isEmpty(), qPrintable(m_messages->last()));
    TForm8* f = Form8;
    QCOMPARE(Control<QLabel>(f, "Label1")->text(), lines.first() + u' ' + lines.at(52) + u' ');
    QVERIFY(!Control<QFrame>(f, "Panel4")->isVisible());

    // Record 1, text only: rows 5 below the question, then 4 apart; answer lines 4 apart.
    QCOMPARE(Control<AutoSizeLabel>(f, "Label2")->text(), QStringLiteral("Вопрос 1 "));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label2")->pos(), QPoint(80, 37));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label3")->text(), lines.at(6).mid(9) + u' ');
    QCOMPARE(Control<AutoSizeLabel>(f, "Label3")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label2")) + 3);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->text(),
             QStringLiteral("1) Экономическую, политическую, социальную и духовную  "));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label3")) + 5);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label5")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label4")) + 4);
    QVERIFY(!Control<AutoSizeLabel>(f, "Label7")->isVisible() &&
            Control<AutoSizeLabel>(f, "Label7")->text().isEmpty());
    QCOMPARE(Control<AutoSizeLabel>(f, "Label9")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label6")) + 4);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label11")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label10")) + 4);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label9")->text(), lines.at(14) + u' ');
    QCOMPARE(Control<AutoSizeLabel>(f, "Label11")->text(),
             QStringLiteral("Набрано баллов за ответ: 0 "));
    QVERIFY(Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            !Control<QPushButton>(f, "BitBtn4")->isEnabled());
    QTest::mouseClick(Control<QPushButton>(f, "BitBtn4"), Qt::LeftButton); // disabled
    QCOMPARE(f->CurrentItem, 1);

    // Record 2: the picture at its natural size, two picture rows and a text row.
    QTest::mouseClick(Control<QPushButton>(f, "BitBtn3"), Qt::LeftButton);
    QCOMPARE(f->CurrentItem, 2);
    QVERIFY(Control<QFrame>(f, "Panel3")->isVisible() && Control<QLabel>(f, "Image1")->isVisible());
    QCOMPARE(Control<QFrame>(f, "Panel3")->geometry(),
             QRect(8, Bottom(Control<AutoSizeLabel>(f, "Label3")) + 4, 204, 104));
    QCOMPARE(Control<QLabel>(f, "Image1")->geometry(), QRect(2, 2, 200, 100));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->text(), QStringLiteral("1) "));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->y(), Bottom(Control<QFrame>(f, "Panel3")) + 4);
    QCOMPARE(Control<QLabel>(f, "Image6")->geometry(),
             QRect(Control<AutoSizeLabel>(f, "Label4")->x() +
                       Control<AutoSizeLabel>(f, "Label4")->width() + 2,
                   Control<AutoSizeLabel>(f, "Label4")->y(), 60, 40));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label5")->y(), Bottom(Control<QLabel>(f, "Image6")) + 4);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label6")->text(),
             QStringLiteral("3) Ни на одной из схем  "));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label6")->y(), Bottom(Control<QLabel>(f, "Image7")) + 4);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label9")->text(),
             QStringLiteral("Ваш ответ: ответа не было, "));
    QVERIFY(Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            Control<QPushButton>(f, "BitBtn4")->isEnabled());

    // Record 3, a video question: a column left of the panel at 225, 95, nothing playing yet.
    QTest::mouseClick(Control<QPushButton>(f, "BitBtn3"), Qt::LeftButton);
    QVERIFY(!Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            Control<QPushButton>(f, "BitBtn4")->isEnabled());
    QVERIFY(!Control<QFrame>(f, "Panel3")->isVisible() &&
            !Control<QLabel>(f, "Image6")->isVisible() &&
            Control<QFrame>(f, "Panel5")->isVisible());
    QCOMPARE(Control<QFrame>(f, "Panel5")->geometry(), QRect(225, 95, 520, 390));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label3")) + 7);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label5")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label4")) + 7);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label9")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label6")) + 6);
    QCOMPARE(Control<AutoSizeLabel>(f, "Label11")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label10")) + 5);
    for (const QWidget* label :
         {Control<AutoSizeLabel>(f, "Label4"), Control<AutoSizeLabel>(f, "Label6"),
          Control<AutoSizeLabel>(f, "Label9"), Control<AutoSizeLabel>(f, "Label11")})
        QVERIFY(label->isVisible() && label->x() + label->width() <= 220);
    QVERIFY(Control<AutoSizeLabel>(f, "Label4")->height() >
            2 * Control<AutoSizeLabel>(f, "Label4")->fontMetrics().height());
    QCOMPARE(Control<TabcToggleBtn>(f, "abcToggleBtn1")->geometry(),
             QRect(16, Bottom(Control<AutoSizeLabel>(f, "Label11")) + 8, 161, 22));
    QVERIFY(Control<TabcToggleBtn>(f, "abcToggleBtn1")->isVisible() &&
            !Player()->calls.contains(QStringLiteral("Play")));

    f->BitBtn4Click();
    QCOMPARE(Control<AutoSizeLabel>(f, "Label2")->text(), QStringLiteral("Вопрос 2 "));
    QVERIFY(Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            Control<QPushButton>(f, "BitBtn4")->isEnabled());
    QVERIFY(!Control<QFrame>(f, "Panel5")->isVisible() &&
            !Control<TabcToggleBtn>(f, "abcToggleBtn1")->isVisible());
}

void ReviewScreenTest::questionPictureIsFitted() {
    OpenScreen();
    TForm8* f = Form8;
    Choose(WriteData(Fixture(QStringLiteral("one_question_no_points.txt"))));
    QVERIFY(!Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            !Control<QPushButton>(f, "BitBtn4")->isEnabled());
    QCOMPARE(Control<AutoSizeLabel>(f, "Label9")->y(),
             Bottom(Control<AutoSizeLabel>(f, "Label4")) + 4); // a single option
    QCOMPARE(Control<AutoSizeLabel>(f, "Label10")->text(), QStringLiteral("Правильный ответ:  "));

    // Twice as wide as the free width: shown at the free width, its height halved.
    SavePicture(QStringLiteral("q_big.bmp"), QSize(1544, 100));
    Choose(WriteData(PictureQuestion()));
    QCOMPARE(Control<QFrame>(f, "Panel3")->size(), QSize(776, 54));
    // Far too high: scaled to the free height, so that the lines below stay above the bar.
    SavePicture(QStringLiteral("q_big.bmp"), QSize(300, 3000));
    f->BitBtn2Click();
    QVERIFY(Control<QLabel>(f, "Image1")->height() < 3000 &&
            Control<QLabel>(f, "Image1")->height() > 100);
    QVERIFY(qAbs(Control<QLabel>(f, "Image1")->width() -
                 Control<QLabel>(f, "Image1")->height() / 10.0) <= 0.5);
    QVERIFY(Bottom(Control<AutoSizeLabel>(f, "Label11")) <=
            Control<QFrame>(f, "Panel2")->y()); // above the bottom bar, readable
    // A picture that cannot be read leaves an empty frame, not the last picture.
    QFile::remove(m_folder->filePath(QStringLiteral("images/q_big.bmp")));
    f->BitBtn2Click();
    QVERIFY(Control<QFrame>(f, "Panel3")->isVisible() &&
            Control<QLabel>(f, "Image1")->pixmap().isNull());
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->y(), Bottom(Control<QFrame>(f, "Panel3")) + 4);
    QVERIFY(m_messages->messages.isEmpty());
}

void ReviewScreenTest::recordStaysBetweenTheBars_data() {
    QTest::addColumn<QSize>("display");
    QTest::newRow("1024 x 768") << QSize(1024, 768);
    QTest::newRow("800 x 600") << QSize(800, 600);
}

void ReviewScreenTest::recordStaysBetweenTheBars() {
    QFETCH(QSize, display);
    m_screens->SetDisplay(display);
    SavePicture(QStringLiteral("!opt_tall.bmp"), QSize(80, 160));
    // A long name and specialization: the header takes several lines, the score the last.
    const QString header =
        QStringLiteral("07.12.2026 09:05:03  ") +
        QStringLiteral("Константинопольская-Преображенская ").repeated(5) +
        QStringLiteral(",  группа: ФК-11,  специализация: ") +
        QStringLiteral("лёгкая атлетика, ").repeated(10) +
        QStringLiteral("плавание,  КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ");
    OpenScreen();
    TForm8* f = Form8;
    Choose(WriteData(VideoPictureQuestion(header)));
    QVERIFY(m_messages->messages.isEmpty());

    auto* bar = Control<QFrame>(f, "Panel1");
    auto* headerLabel = Control<QLabel>(f, "Label1");
    QVERIFY(headerLabel->text().endsWith(QStringLiteral("это составляет 100.0% ")));
    QVERIFY(bar->height() > 33);
    QVERIFY(headerLabel->height() >= headerLabel->heightForWidth(headerLabel->width()));
    QCOMPARE(Control<AutoSizeLabel>(f, "Label2")->y(), Bottom(bar) + 4);
    QVERIFY(Control<QFrame>(f, "Panel5")->y() > Bottom(bar));

    // The picture rows and the answer lines stand above "Старт видео", and the button above the
    // bottom bar; the pictures keep their proportions.
    auto* button = Control<TabcToggleBtn>(f, "abcToggleBtn1");
    QVERIFY(button->isVisible());
    QVERIFY(button->y() >= Bottom(Control<AutoSizeLabel>(f, "Label11")) + 8);
    QVERIFY(Bottom(button) <= Control<QFrame>(f, "Panel2")->y());
    QVERIFY(Bottom(Control<QLabel>(f, "Image8")) < Control<AutoSizeLabel>(f, "Label9")->y());
    for (const char* name : {"Image6", "Image7", "Image8"}) {
        const QSize size = Control<QLabel>(f, name)->size();
        QVERIFY(size.height() > 0 && qAbs(size.height() - 2 * size.width()) <= 2);
        QVERIFY(Control<QLabel>(f, name)->x() + size.width() <=
                Control<QFrame>(f, "Panel5")->x());
    }
}

void ReviewScreenTest::videoPlaysOnlyOnTheButton() {
    OpenScreen(3);
    TForm8* f = Form8;
    FakeMediaPlayer* player = Player();
    f->abcToggleBtn1MouseEnter();
    QCOMPARE(Control<TabcToggleBtn>(f, "abcToggleBtn1")->Color(), QColor(0x66, 0xE2, 0xFD));
    QTest::mouseClick(Control<TabcToggleBtn>(f, "abcToggleBtn1"), Qt::LeftButton);
    QVERIFY(f->Playing() && !Control<QLabel>(f, "Image4")->isVisible() &&
            !Control<QLabel>(f, "Image5")->isVisible());
    QVERIFY(!Control<QFrame>(Form5, "Panel1")->isEnabled() &&
            !Control<QFrame>(f, "Panel2")->isEnabled() &&
            !Control<TabcToggleBtn>(f, "abcToggleBtn1")->isEnabled());
    QCOMPARE(player->openedPath,
             DataPath(m_folder->path(), QStringLiteral("\\images\\$film01.avi")));
    QCOMPARE(player->displayWidget, static_cast<QWidget*>(Control<VideoDisplayPanel>(f, "Panel6")));
    QCOMPARE(player->displayRect, QRect(0, 0, 471, 351));
    QVERIFY(player->playing && player->notifyRequested);
    f->BitBtn4Click(); // the bottom bar is out of use while the fragment plays
    QCOMPARE(f->CurrentItem, 3);

    player->lastFrame = QImage(320, 240, QImage::Format_RGB32);
    player->lastFrame.fill(Qt::red);
    player->Finish();
    QVERIFY(!f->Playing());
    QVERIFY(Control<QFrame>(Form5, "Panel1")->isEnabled() &&
            Control<QFrame>(f, "Panel2")->isEnabled() &&
            Control<TabcToggleBtn>(f, "abcToggleBtn1")->isEnabled());
    QVERIFY(!Control<TabcToggleBtn>(f, "abcToggleBtn1")->Down() && !player->notifyRequested);
    QCOMPARE(Control<TabcToggleBtn>(f, "abcToggleBtn1")->Color(), QColor(0xFF, 0xB7, 0x6F));
    QVERIFY(Control<QLabel>(f, "Image5")->isVisible());
    QCOMPARE(Control<QLabel>(f, "Image5")->pixmap().size(), QSize(470, 350));
    QCOMPARE(Control<QLabel>(f, "Image5")->pixmap().toImage().pixelColor(235, 175),
             QColor(Qt::red));

    // The last frame comes back with the screen, but only beside its own question.
    Control<QLabel>(f, "Image5")->hide();
    f->FormActivate();
    QVERIFY(Control<QLabel>(f, "Image5")->isVisible());
    f->BitBtn4Click();
    QVERIFY(Control<QLabel>(f, "Image5")->isHidden() && !Control<QLabel>(f, "Image4")->isHidden());
    f->FormActivate();
    QVERIFY(Control<QLabel>(f, "Image5")->isHidden());
    QVERIFY(m_messages->messages.isEmpty());
}

void ReviewScreenTest::brokenVideoLetsTheReviewGoOn() {
    OpenScreen(3);
    TForm8* f = Form8;
    // A fragment that does not open, then one that fails while it plays.
    for (const bool failAtOpen : {true, false}) {
        m_messages->clear();
        FakeMediaPlayer* player = Player();
        player->failOpen = failAtOpen;
        f->abcToggleBtn1Click();
        if (!failAtOpen) {
            QVERIFY(f->Playing() && !Control<QFrame>(Form5, "Panel1")->isEnabled());
            player->failOpen = true;
            player->Finish();
        }
        QVERIFY(!f->Playing());
        QCOMPARE(m_messages->messages.size(), 1);
        QVERIFY(m_messages->last().startsWith(QStringLiteral("Видеофрагмент не удалось")));
        QVERIFY(m_messages->last().contains(QStringLiteral("$film01.avi")));
        QVERIFY(Control<QFrame>(Form5, "Panel1")->isEnabled() &&
                Control<QFrame>(f, "Panel2")->isEnabled() &&
                Control<TabcToggleBtn>(f, "abcToggleBtn1")->isEnabled());
        QVERIFY(Control<QLabel>(f, "Image4")->isVisible() &&
                !Control<QLabel>(f, "Image5")->isVisible());
        // The next fragment gets a new player (the screen's own: the retired one keeps its name
        // until it is deleted).
        QVERIFY(f->Player() != player && !f->Player()->Failed());
    }
    f->BitBtn4Click();
    QCOMPARE(f->CurrentItem, 2);
}

void ReviewScreenTest::namesLeadingOutsideImagesOpenNothing() {
    // A picture beside the images folder, named from the data file with "..".
    QImage image(QSize(30, 20), QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(m_folder->filePath(QStringLiteral("secret.bmp")), "BMP"));
    OpenScreen();
    TForm8* f = Form8;
    Choose(WriteData(
        QStringLiteral("Орлов О. О.|.|2|.|Вопрос 1|.| №1. Что на схеме? |\\..\\secret.bmp|"
                       "!x\\..\\..\\secret.bmp |,|Духовная |.|Вы ответили: |#|Правильный ответ: "
                       "|&|Набрано баллов за ответ: 0|$|Вопрос 2|.| №2. Фрагмент |"
                       "\\$x\\..\\..\\secret.avi|да |.|Вы ответили: |#|Правильный ответ: |&|"
                       "Набрано баллов за ответ: 0|$|, задано вопросов: 2|@")
            .split(u'|')));
    QCOMPARE(f->CurrentItem, 1);
    QVERIFY(Control<QFrame>(f, "Panel3")->isVisible() &&
            Control<QLabel>(f, "Image1")->pixmap().isNull());
    QCOMPARE(Control<AutoSizeLabel>(f, "Label4")->text(), QStringLiteral("1) "));
    QVERIFY(Control<QLabel>(f, "Image6")->pixmap().isNull());

    f->BitBtn3Click();
    f->abcToggleBtn1Click();
    QVERIFY(!Player()->calls.contains(QStringLiteral("Open")));
    QVERIFY(!f->Playing());
    QCOMPARE(m_messages->last(), QStringLiteral("Видеофрагмент не удалось воспроизвести: "
                                                "\\images\\$x\\..\\..\\secret.avi"));
}

void ReviewScreenTest::realPlayerAfterAMissingFragment() {
    m_screens.reset();
    FakeMediaPlayer::Uninstall();
    Setup();
    OpenScreen(3);
    TForm8* f = Form8;
    QVERIFY(Player() == nullptr);
    f->abcToggleBtn1Click(); // no such fragment in the pictures folder
    QTRY_VERIFY_WITH_TIMEOUT(!f->Playing(), 20000);
    QVERIFY(m_messages->last().contains(QStringLiteral("$film01.avi")));
    QVERIFY(Control<QFrame>(Form5, "Panel1")->isEnabled());

    // Then the fragment is there: a one-second clip plays to its end.
    const QString clip = m_folder->filePath(QStringLiteral("images/$film01.avi"));
    QProcess ffmpeg;
    ffmpeg.start(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
                 QStringLiteral("-loglevel error -f lavfi -i testsrc2=size=160x120:rate=10 -t 1 "
                                "-c:v mjpeg")
                         .split(u' ')
                     << clip);
    ffmpeg.waitForFinished(60000);
    if (!QFile::exists(clip))
        QSKIP("ffmpeg is not available to make a fragment");
    m_messages->clear();
    QSignalSpy ended(f->Player(), &MediaPlayer::Notify); // the retired player awaits deletion
    f->abcToggleBtn1Click();
    QVERIFY2(f->Playing() && !Control<QFrame>(Form5, "Panel1")->isEnabled(),
             qPrintable(m_messages->last()));
    QVERIFY(ended.wait(20000));
    QVERIFY(!f->Playing() && m_messages->messages.isEmpty());
    QVERIFY(Control<QFrame>(Form5, "Panel1")->isEnabled() &&
            Control<QLabel>(f, "Image5")->isVisible());
}

void ReviewScreenTest::refusedAndCutFiles() {
    OpenScreen(2);
    TForm8* f = Form8;
    // A count that is no number: the record on screen goes, the empty screen comes back.
    QStringList lines = Fixture();
    lines[2] = QStringLiteral("три");
    Choose(WriteData(lines, QStringLiteral("Испорчен.txt")));
    QCOMPARE(m_messages->messages,
             QStringList{QStringLiteral("'три' is not a valid integer value")});
    QVERIFY(!Control<AutoSizeLabel>(f, "Label2")->isVisible() &&
            Control<QLabel>(f, "Label1")->text().isEmpty() &&
            Control<QFrame>(f, "Panel4")->isVisible());
    QVERIFY(!Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            !Control<QPushButton>(f, "BitBtn4")->isEnabled());

    // Cut inside question 2: question 1 is shown, and the message says where the file ends.
    m_messages->clear();
    Choose(WriteData(Fixture().mid(0, 27), QStringLiteral("Обрыв.txt")));
    QCOMPARE(m_messages->messages.size(), 1);
    QVERIFY2(m_messages->last().contains(QStringLiteral("строка 28")) &&
                 m_messages->last().contains(
                     QStringLiteral("Показаны полностью записанные вопросы: 1.")),
             qPrintable(m_messages->last()));
    QVERIFY(Control<AutoSizeLabel>(f, "Label2")->isVisible() &&
            Control<AutoSizeLabel>(f, "Label2")->text() == QStringLiteral("Вопрос 1 "));
    QVERIFY(!Control<QFrame>(f, "Panel4")->isVisible() &&
            !Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            !Control<QPushButton>(f, "BitBtn4")->isEnabled());

    // Cancelling a later choice keeps the record on screen, navigation disabled.
    Choose(WriteData(Fixture()));
    f->BitBtn3Click();
    Choose(QString());
    QVERIFY(Control<AutoSizeLabel>(f, "Label2")->isVisible() &&
            Control<AutoSizeLabel>(f, "Label2")->text() == QStringLiteral("Вопрос 2 "));
    QVERIFY(Control<QLabel>(f, "Image6")->isVisible() &&
            !Control<QPushButton>(f, "BitBtn3")->isEnabled() &&
            !Control<QPushButton>(f, "BitBtn4")->isEnabled());
}

void ReviewScreenTest::closeReturnsToTheMenu() {
    OpenScreen(2);
    // Away through the start bar and back with "Тестирование...": the same record.
    Form8->hide();
    Form5->abcToggleBtn1Click();
    QVERIFY(Form8->isVisible());
    Form8->FormActivate();
    QCOMPARE(Control<AutoSizeLabel>(Form8, "Label2")->text(), QStringLiteral("Вопрос 2 "));

    QPointer<TForm8> first = Form8;
    QTest::mouseClick(Control<QPushButton>(first, "BitBtn5"), Qt::LeftButton);
    QCOMPARE(int(form12->TestingMode), 0);
    QVERIFY(form12->isVisible() && !first->isVisible());
    QCOMPARE(Shell().RecreateReviewScreen, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first && !Form8);

    // The records stay for the run, but the new screen starts empty.
    QCOMPARE(Review().Data.ReviewCount, 3);
    OpenScreen();
    QVERIFY(Control<QFrame>(Form8, "Panel4")->isVisible() &&
            !Control<AutoSizeLabel>(Form8, "Label2")->isVisible());
    QVERIFY(!Control<QPushButton>(Form8, "BitBtn3")->isVisible() &&
            Control<QLabel>(Form8, "Label1")->text().isEmpty());

    // Closed by the window system in the middle of a fragment: nothing stays locked.
    OpenScreen(3);
    Form8->abcToggleBtn1Click();
    QVERIFY(!Control<QFrame>(Form5, "Panel1")->isEnabled());
    Form8->close();
    QVERIFY(Control<QFrame>(Form5, "Panel1")->isEnabled());
    QCOMPARE(int(form12->TestingMode), 0);
    QVERIFY(form12->isVisible());
}

// The data folder as a student may have left it: two result files, a file of another type, a
// folder, a link leading out of the folder and, where the system has them, a FIFO.
void ReviewScreenTest::PlantFolderContents() {
    WriteData(Fixture(), QStringLiteral("Иванов.txt"));
    WriteData(Fixture(), QStringLiteral("Петров.txt"));
    WriteData({QStringLiteral("x")}, QStringLiteral("заметки.dat"));
    const QDir data(m_folder->filePath(QStringLiteral("otchet/data1")));
    QVERIFY(data.mkdir(QStringLiteral("папка.txt")));
    QFile secret(m_folder->filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("secret\r\n");
    secret.close();
    QVERIFY(QFile::link(secret.fileName(), data.filePath(QStringLiteral("Ссылка.txt"))));
#ifdef Q_OS_UNIX
    QCOMPARE(
        ::mkfifo(QFile::encodeName(data.filePath(QStringLiteral("канал.txt"))).constData(), 0600),
        0);
#endif
}

void ReviewScreenTest::fileDialogShowsOnlyTheDataFolderAndChangesNothing() {
    PlantFolderContents();
    OpenScreen();
    const QString classmate = m_folder->filePath(QStringLiteral("otchet/data1/Петров.txt"));
    QStringList listed;
    QStringList buttons;
    bool driven = false;
    // The real dialog of "Открыть файл отчета...", driven from inside its modal loop.
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<FolderFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        driven = true;
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Открытие файла"));
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
                 QStringLiteral("Текстовые файлы рез-ов тестирования (*.txt)"));
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            buttons.append(button->text());
        auto* list = dialog->findChild<QListView*>(QStringLiteral("fileList"));
        for (int row = 0; row < list->model()->rowCount(); ++row)
            listed.append(list->model()->index(row, 0).data().toString());
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!list->dragEnabled() && !list->acceptDrops());
        // Delete and rename keys on a classmate's file do nothing to it.
        list->setFocus();
        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Delete);
        QTest::keyClick(list, Qt::Key_Delete, Qt::ShiftModifier);
        QTest::keyClick(list, Qt::Key_F2);
        QVERIFY(QFileInfo::exists(classmate));
        // The file chosen in the list opens in the review.
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("openButton")),
                          Qt::LeftButton);
    });
    Form8->BitBtn2Click();
    QVERIFY(driven);
    QCOMPARE(listed, (QStringList{QStringLiteral("Иванов.txt"), QStringLiteral("Петров.txt")}));
    QCOMPARE(buttons, (QStringList{QStringLiteral("Открыть"), QStringLiteral("Отмена")}));
    QVERIFY(QFileInfo::exists(classmate));
    QVERIFY(m_messages->messages.isEmpty());
    QVERIFY(!Control<QLabel>(Form8, "Label1")->text().isEmpty());
    QVERIFY(Control<QPushButton>(Form8, "BitBtn3")->isEnabled());
}

void ReviewScreenTest::fileDialogOpensOnlyFilesOfTheFolder_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a result file") << QStringLiteral("Иванов.txt") << true;
    // A name of no file is handed over: the review says that no file was chosen.
    QTest::newRow("no such file") << QStringLiteral("нет.txt") << true;
    QTest::newRow("a file of another type") << QStringLiteral("заметки.dat") << true;
    QTest::newRow("up a folder") << QStringLiteral("../secret.txt") << false;
    QTest::newRow("up a folder, backslash") << QStringLiteral("..\\secret.txt") << false;
    QTest::newRow("the parent") << QStringLiteral("..") << false;
    QTest::newRow("this folder") << QStringLiteral(".") << false;
    QTest::newRow("a drive") << QStringLiteral("C:secret.txt") << false;
    QTest::newRow("an absolute path") << QStringLiteral("<secret>") << false;
    QTest::newRow("a folder in the folder") << QStringLiteral("папка.txt") << false;
    QTest::newRow("a link leading out") << QStringLiteral("Ссылка.txt") << false;
#ifdef Q_OS_UNIX
    QTest::newRow("a FIFO") << QStringLiteral("канал.txt") << false;
#endif
}

void ReviewScreenTest::fileDialogOpensOnlyFilesOfTheFolder() {
    QFETCH(QString, typed);
    QFETCH(bool, opens);
    PlantFolderContents();
    if (typed == QLatin1String("<secret>"))
        typed = m_folder->filePath(QStringLiteral("secret.txt"));
    const QString folder = m_folder->filePath(QStringLiteral("otchet/data1"));
    FolderFileDialog dialog(nullptr, QStringLiteral("Открытие файла"),
                            QStringLiteral("Текстовые файлы рез-ов тестирования (*.txt)"), folder);
    dialog.show();
    const auto contents = [&folder] {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    };
    const QStringList before = contents();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(name->text(), typed);
    QTest::keyClick(name, Qt::Key_Return);
    auto* notice = dialog.findChild<QLabel*>(QStringLiteral("noticeLabel"));
    if (opens) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QFileInfo(dialog.SelectedPath()), QFileInfo(QDir(folder).filePath(typed)));
        QVERIFY(!dialog.isVisible());
    } else {
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.SelectedPath().isEmpty());
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(), FolderFileDialog::kOutsideNotice);
    }
    QCOMPARE(contents(), before);
}

QTEST_MAIN(ReviewScreenTest)
#include "tst_review_screen.moc"
