// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The question area on a host shaped like the training screen: rows, pictures, scaling and the
// presentation of a video question.

#include "../support/fake_media_player.h"
#include "../support/test_support.h"
#include "platform/fonts.h"
#include "platform/gst_media_player.h"
#include "platform/rounding.h"
#include "questions/question_area.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// A screen of 782 x 536 with a bottom bar of 45 and a feedback strip at top 466, 17 high.
struct Host {
    explicit Host(const QString& programFolder) {
        widget.resize(782, 536);
        Panel1 = new QFrame(&widget);
        Panel1->setGeometry(0, 536 - 45, 782, 45);
        Panel2 = new QFrame(&widget);
        Panel2->setGeometry(0, 466, 777, 17);
        Button1 = new QPushButton(QStringLiteral("OK"), Panel1);
        Button1->setGeometry(16, 9, 132, 25);
        QuestionAreaConfig config;
        config.ProgramFolder = programFolder;
        area = new QuestionArea(&widget, config);
        area->SetBottomBar(Panel1);
        area->SetFeedbackStrip(Panel2);
        area->SetAnswerButton(Button1);
        area->SetBank(&bank);
        widget.show();
    }

    void Show(std::uint32_t seed = 1) {
        area->Draw().StartDraw(seed);
        area->ClearQuestionArea();
        area->ShowQuestion();
    }

    QWidget widget;
    QFrame* Panel1;
    QFrame* Panel2;
    QPushButton* Button1;
    QuestionArea* area;
    QuestionBank bank;
};

Question MakeQuestion(const QString& shownText, const QStringList& options,
                      const std::optional<QString>& picture = std::nullopt) {
    Question q;
    q.Text = QStringLiteral("123456789") + shownText; // the first nine characters are not shown
    q.Picture = picture;
    q.OptionCount = int(options.size());
    for (int i = 0; i < q.OptionCount; ++i) {
        q.Options[i].Text = options[i];
        q.Options[i].Points = i == 0 ? 100 : 0;
        q.Options[i].IsPicture = options[i].startsWith(u'!');
    }
    return q;
}

void SetSingleQuestion(QuestionBank& bank, const Question& q) {
    bank.Clear();
    bank.QuestionCount = 1;
    bank.Questions = {q};
}

int Bottom(const QWidget* w) {
    return w->y() + w->height();
}

void SavePicture(const QString& folder, const QString& name, QSize size, QColor colour) {
    QDir(folder).mkpath(QStringLiteral("images"));
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(folder + QStringLiteral("/images/") + name, "PNG"));
}

} // namespace

class TestQuestionArea : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString Folder() const { return m_dir->path(); }

    // Waits, on Timer3's own ticks, until the video panel stands at its final place.
    static bool RevealReached(Host& host) {
        return QTest::qWaitFor(
            [&] {
                return Control<QFrame>(&host.widget, "Panel5")->isVisible() &&
                       Control<QFrame>(&host.widget, "Panel5")->x() == 252;
            },
            20000);
    }

private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutions(); }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FakeMediaPlayer::Install();
    }

    void cleanup() { FakeMediaPlayer::Uninstall(); }

    void loadedQuestionWithTwoOptionsFillsTwoRows() {
        Host host(Folder());
        QBuffer file;
        file.setData(Cp1251File(
            {QStringLiteral("Тест по курсу"), QStringLiteral("."), QStringLiteral("."),
             QStringLiteral("1"), QStringLiteral("."),
             QStringLiteral("ВОПРОС123456789Сколько будет два плюс два?"), QStringLiteral("."),
             QStringLiteral("заметка"), QStringLiteral("."), QStringLiteral("x0001.htm"),
             QStringLiteral("."), QStringLiteral("1)Четыре"), QStringLiteral(",100"),
             QStringLiteral("2)Пять"), QStringLiteral(".")}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(host.bank.LoadFrom(&file, QStringLiteral("pdb1.db")).ok());

        QStringList calls;
        host.area->Hooks.SetTitle = [&] { calls << QStringLiteral("title"); };
        host.area->Hooks.QuestionDrawn = [&](int q, const QList<int>& order) {
            calls << QStringLiteral("drawn %1 %2").arg(q).arg(order.size());
        };
        host.Show();

        QCOMPARE(calls, QStringList({QStringLiteral("title"), QStringLiteral("drawn 1 2")}));
        QCOMPARE(host.area->View.CurrentQuestion, 1);
        QCOMPARE(Control<AutoSizeLabel>(&host.widget, "Label5")->text(),
                 QStringLiteral("Сколько будет два плюс два? "));
        const QSet<QString> shown{Control<AutoSizeLabel>(&host.widget, "Label1")->text(),
                                  Control<AutoSizeLabel>(&host.widget, "Label2")->text()};
        QVERIFY(shown ==
                    QSet<QString>({QStringLiteral("1) Четыре "), QStringLiteral("2) Пять ")}) ||
                shown == QSet<QString>({QStringLiteral("1) Пять "), QStringLiteral("2) Четыре ")}));
        for (int row = 1; row <= 2; ++row) {
            QVERIFY(host.area->RowLabel(row)->isVisible());
            QVERIFY(host.area->RowBox(row)->isVisible());
            QCOMPARE(host.area->RowBox(row)->y(), host.area->RowLabel(row)->y());
        }
        for (int row = 3; row <= 5; ++row) {
            QVERIFY(host.area->RowLabel(row)->text().isEmpty());
            QVERIFY(!host.area->RowLabel(row)->isVisible());
            QVERIFY(!host.area->RowBox(row)->isVisible());
        }
        // Without a picture, row 1 starts 5 below the question text, row 2 5 below row 1.
        QCOMPARE(Control<AutoSizeLabel>(&host.widget, "Label1")->y(),
                 Bottom(Control<AutoSizeLabel>(&host.widget, "Label5")) + 5);
        QCOMPARE(Control<AutoSizeLabel>(&host.widget, "Label2")->y(),
                 Bottom(Control<AutoSizeLabel>(&host.widget, "Label1")) + 5);
        QVERIFY(!Control<QFrame>(&host.widget, "Panel4")->isVisible());
    }

    void fiveOptionsShowEveryOrder() {
        Host host(Folder());
        const QStringList options{QStringLiteral("А "), QStringLiteral("Б "), QStringLiteral("В "),
                                  QStringLiteral("Г "), QStringLiteral("Д ")};
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Вопрос "), options));
        QSet<QString> orders;
        for (std::uint32_t seed = 0; seed < 5000 && orders.size() < 120; ++seed) {
            host.Show(seed);
            QString order;
            for (int row = 1; row <= 5; ++row) {
                const QString text = host.area->View.DisplayOptions[row - 1].Text;
                QCOMPARE(host.area->RowLabel(row)->text(), QStringLiteral("%1) ").arg(row) + text);
                QVERIFY(host.area->RowLabel(row)->isVisible());
                order += text;
            }
            orders.insert(order);
        }
        QCOMPARE(orders.size(), 120);
    }

    void clearingSetsWidthsAndHidesEverything() {
        Host host(Folder());
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Вопрос "),
                                                  {QStringLiteral("да "), QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\q.png")));
        SavePicture(Folder(), QStringLiteral("q.png"), QSize(50, 40), Qt::blue);
        host.Show();
        QVERIFY(Control<QFrame>(&host.widget, "Panel4")->isVisible());
        host.area->ClearQuestionArea();
        for (int row = 1; row <= 5; ++row) {
            QVERIFY(host.area->RowLabel(row)->text().isEmpty());
            QVERIFY(host.area->RowLabel(row)->isHidden());
            QVERIFY(host.area->RowBox(row)->isHidden());
            QVERIFY(host.area->RowPicture(row)->isHidden());
            QCOMPARE(host.area->RowLabel(row)->width(), 782 - 32 - 5);
        }
        QCOMPARE(Control<AutoSizeLabel>(&host.widget, "Label5")->width(), 782 - 32 - 5);
        QVERIFY(Control<QFrame>(&host.widget, "Panel4")->isHidden());
        QVERIFY(Control<QLabel>(&host.widget, "Image1")->isHidden());
        QVERIFY(Control<QFrame>(&host.widget, "Panel5")->isHidden());
    }

    void questionPictureScaling_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("smaller than the free area") << QSize(200, 100) << QSize(200, 100);
        // 1544 is twice the free width 772; 101 / 2 = 50.5 rounds to the even 50.
        QTest::newRow("twice the free width") << QSize(1544, 101) << QSize(772, 50);
        QTest::newRow("twice the free width, odd") << QSize(1544, 103) << QSize(772, 52);
    }

    void questionPictureScaling() {
        QFETCH(QSize, natural);
        QFETCH(QSize, shown);
        Host host(Folder());
        SavePicture(Folder(), QStringLiteral("q.png"), natural, Qt::darkGreen);
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Что на рисунке? "),
                                                  {QStringLiteral("лес "), QStringLiteral("поле ")},
                                                  QStringLiteral("\\images\\q.png")));
        host.Show();
        QVERIFY(host.area->View.QuestionPictureShown);
        QCOMPARE(host.area->FreeWidth(), 772);
        QCOMPARE(Control<QLabel>(&host.widget, "Image1")->size(), shown);
        QCOMPARE(Control<QLabel>(&host.widget, "Image1")->pos(), QPoint(2, 2));
        QCOMPARE(Control<QFrame>(&host.widget, "Panel4")->geometry(),
                 QRect(48, Bottom(Control<AutoSizeLabel>(&host.widget, "Label5")) + 5,
                       shown.width() + 4, shown.height() + 4));
        QVERIFY(Control<QFrame>(&host.widget, "Panel4")->isVisible());
        QVERIFY(Control<QLabel>(&host.widget, "Image1")->isVisible());
        // Row 1 starts 5 below the picture's frame.
        QCOMPARE(Control<AutoSizeLabel>(&host.widget, "Label1")->y(),
                 Bottom(Control<QFrame>(&host.widget, "Panel4")) + 5);
    }

    void tallPictureFillsTheFreeHeight() {
        Host host(Folder());
        SavePicture(Folder(), QStringLiteral("tall.png"), QSize(100, 1000), Qt::gray);
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Вопрос "),
                                                  {QStringLiteral("да "), QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\tall.png")));
        host.Show();
        const QuestionArea& a = *host.area;
        const int free = 536 - 45 - 5 - 17 - 5 - 8 -
                         Control<AutoSizeLabel>(&host.widget, "Label5")->height() - 5 -
                         (Control<AutoSizeLabel>(&host.widget, "Label1")->height() + 5) -
                         (Control<AutoSizeLabel>(&host.widget, "Label2")->height() + 5);
        QCOMPARE(a.FreeHeight(), free);
        QCOMPARE(Control<QLabel>(&host.widget, "Image1")->height(), free);
        QCOMPARE(Control<QLabel>(&host.widget, "Image1")->width(),
                 RoundHalfEven(100.0 * free / 1000.0));
    }

    void noFreeHeightGivesNoNegativeSize() {
        Host host(Folder());
        SavePicture(Folder(), QStringLiteral("q.png"), QSize(300, 200), Qt::red);
        QString longText;
        for (int i = 0; i < 60; ++i)
            longText += QStringLiteral("длинный ответ ");
        SetSingleQuestion(host.bank,
                          MakeQuestion(QStringLiteral("Вопрос "),
                                       {longText, longText, longText, longText, longText},
                                       QStringLiteral("\\images\\q.png")));
        host.Show();
        QVERIFY(host.area->FreeHeight() <= 0);
        QCOMPARE(Control<QLabel>(&host.widget, "Image1")->size(), QSize(0, 0));
        QCOMPARE(Control<QFrame>(&host.widget, "Panel4")->size(), QSize(4, 4));
    }

    void pictureOptionsStandBesideTheirNumbers() {
        Host host(Folder());
        MessageRecorder recorder;
        SavePicture(Folder(), QStringLiteral("!tall.png"), QSize(120, 80), Qt::yellow);
        // The first option's picture is tall; the second is missing.
        SetSingleQuestion(
            host.bank, MakeQuestion(QStringLiteral("Выберите схему "),
                                    {QStringLiteral("!tall.png "), QStringLiteral("!missing.png "),
                                     QStringLiteral("текст ")}));
        for (std::uint32_t seed = 0; seed < 200; ++seed) {
            host.Show(seed);
            const QuestionArea& a = *host.area;
            for (int row = 1; row <= 3; ++row) {
                const AnswerOption& option = a.View.DisplayOptions[row - 1];
                const AutoSizeLabel* label = a.RowLabel(row);
                if (!option.IsPicture) {
                    QCOMPARE(label->text(), QStringLiteral("%1) текст ").arg(row));
                    QVERIFY(a.RowPicture(row)->isHidden());
                    continue;
                }
                const QLabel* picture = a.RowPicture(row);
                QCOMPARE(label->text(), QStringLiteral("%1) ").arg(row));
                QVERIFY(picture->isVisible());
                QCOMPARE(picture->pos(), QPoint(label->x() + label->width() + 5, label->y()));
                QVERIFY(a.View.PreviousRowPicture[row - 1]);
                QVERIFY(!a.View.OptionPicturePending[row - 1]);
                if (option.Text.startsWith(QStringLiteral("!tall")))
                    QCOMPARE(picture->size(), QSize(120, 80));
                else // a missing picture keeps a place as high as the number
                    QCOMPARE(picture->size(), QSize(0, label->height()));
                if (row < 3) // the next row starts 5 below the picture, not the label
                    QCOMPARE(a.RowLabel(row + 1)->y(), Bottom(picture) + 5);
            }
        }
        QVERIFY(recorder.messages.isEmpty());
    }

    void videoQuestionWithAFakePlayer() {
        Host host(Folder());
        // A question of picture options first, so that its layout leaves its row marks behind.
        SavePicture(Folder(), QStringLiteral("!big.png"), QSize(80, 150), Qt::magenta);
        SetSingleQuestion(host.bank,
                          MakeQuestion(QStringLiteral("Схема "),
                                       {QStringLiteral("!big.png "), QStringLiteral("!big.png "),
                                        QStringLiteral("!big.png ")}));
        host.Show();
        QVERIFY(host.area->View.PreviousRowPicture[0]);
        host.area->ClearQuestionArea();
        SetSingleQuestion(host.bank,
                          MakeQuestion(QStringLiteral("Что показано во фрагменте? "),
                                       {QStringLiteral("первое "), QStringLiteral("!p.png "),
                                        QStringLiteral("третье ")},
                                       QStringLiteral("\\images\\$clip.avi")));
        SavePicture(Folder(), QStringLiteral("!p.png"), QSize(60, 70), Qt::cyan);
        QStringList hooks;
        QuestionAreaHooks& h = host.area->Hooks;
        h.VideoQuestionFound = [&] { hooks << QStringLiteral("found"); };
        h.VideoNoticeStarted = [&] { hooks << QStringLiteral("notice"); };
        h.VideoNoticeShown = [&] { hooks << QStringLiteral("shown"); };
        h.PlaybackStarting = [&] { hooks << QStringLiteral("starting"); };
        h.PlaybackEnded = [&] { hooks << QStringLiteral("ended"); };
        h.RevealFinished = [&] { hooks << QStringLiteral("revealed"); };
        h.RowsBesideVideo = [&] { hooks << QStringLiteral("beside"); };
        QuestionArea& a = *host.area;
        auto* player = qobject_cast<FakeMediaPlayer*>(a.Player());
        QVERIFY(player != nullptr);
        QCOMPARE(player->displayWidget, Control<VideoDisplayPanel>(&host.widget, "Panel6"));
        player->lastFrame = QImage(160, 120, QImage::Format_RGB32);
        player->lastFrame.fill(QColor(0xFF, 0x00, 0x00));

        // The notice: only "Внимание видеофрагмент!" is to be seen.
        host.Show();
        QCOMPARE(hooks, QStringList({QStringLiteral("found"), QStringLiteral("notice"),
                                     QStringLiteral("shown")}));
        QCOMPARE(a.View.VideoStage, VideoStages::kNotice);
        QVERIFY(!a.View.VideoPending);
        QCOMPARE(a.View.FragmentFile, Folder() + QStringLiteral("/images/$clip.avi"));
        QVERIFY(Control<QLabel>(&host.widget, "Label10")->isVisible());
        QCOMPARE(Control<QLabel>(&host.widget, "Label10")->text(),
                 QStringLiteral("Внимание видеофрагмент!"));
        QCOMPARE(Control<QLabel>(&host.widget, "Label10")->width(), 782 - 48 - 5);
        QVERIFY(!Control<AutoSizeLabel>(&host.widget, "Label5")->isVisible());
        for (int row = 1; row <= 5; ++row) {
            QVERIFY(!a.RowLabel(row)->isVisible());
            QVERIFY(!a.RowBox(row)->isVisible());
            QVERIFY(!a.RowPicture(row)->isVisible());
        }
        QVERIFY(!host.Button1->isEnabled());
        QVERIFY(Control<QTimer>(&host.widget, "Timer2")->isActive());
        QCOMPARE(Control<QTimer>(&host.widget, "Timer2")->interval(), 3000);
        QCOMPARE(Control<QTimer>(&host.widget, "Timer2")->timerType(), Qt::PreciseTimer);
        QVERIFY(!Control<QFrame>(&host.widget, "Panel5")->isVisible());
        QCOMPARE(Control<QFrame>(&host.widget, "Panel5")->pos(),
                 QPoint(HalfOf(782 - 520), HalfOf(536 - 390)));
        QCOMPARE(a.View.SlideOffset, 132);
        // The fragment is opened during the notice.
        QCOMPARE(player->calls, QStringList{QStringLiteral("Prepare")});
        QCOMPARE(player->openedPath, a.View.FragmentFile);

        // Playback when the notice's timer runs out: dark screen, no bars, the fragment in Panel6.
        QVERIFY(RunOut(Control<QTimer>(&host.widget, "Timer2")));
        QCOMPARE(a.View.VideoStage, VideoStages::kPlayback);
        QVERIFY(!Control<QTimer>(&host.widget, "Timer2")->isActive());
        QVERIFY(!Control<QLabel>(&host.widget, "Label10")->isVisible());
        QVERIFY(!host.Panel1->isVisible());
        QVERIFY(!host.Panel2->isVisible());
        QCOMPARE(host.widget.palette().color(QPalette::Window), QColor(0x40, 0x00, 0x80));
        QCOMPARE(player->calls, QStringList({QStringLiteral("Prepare"), QStringLiteral("Play")}));
        QCOMPARE(player->openedPath, a.View.FragmentFile);
        QCOMPARE(player->displayRect, QRect(0, 0, 471, 351));
        QVERIFY(player->notifyRequested);
        QVERIFY(Control<QFrame>(&host.widget, "Panel5")->isVisible());
        QVERIFY(Control<QLabel>(&host.widget, "Image3")->isVisible());
        QVERIFY(!Control<QLabel>(&host.widget, "Image4")->isVisible());

        // End of playback.
        player->Finish();
        QVERIFY(host.Panel1->isVisible());
        QCOMPARE(host.widget.palette().color(QPalette::Window), QColor(0xC6, 0xFF, 0xD1));
        QVERIFY(Control<QTimer>(&host.widget, "Timer3")->isActive());
        QCOMPARE(Control<QFrame>(&host.widget, "Panel5")->y(), 466 - 390 - 5);

        // The reveal, on the ticks of Timer3: the still is taken on the first tick, the panel
        // comes back on the fourth.
        QVERIFY(RunOut(Control<QTimer>(&host.widget, "Timer3")));
        QCOMPARE(a.View.StillFrameOrigin,
                 Control<QFrame>(&host.widget, "Panel5")->pos() + QPoint(24, 18));
        QVERIFY(!Control<QFrame>(&host.widget, "Panel5")->isVisible());
        const QImage still = Control<QLabel>(&host.widget, "Image4")->pixmap().toImage();
        QCOMPARE(still.size(), QSize(470, 350));
        QCOMPARE(QColor(still.pixel(235, 175)), QColor(0xFF, 0x00, 0x00));
        QVERIFY(RunOut(Control<QTimer>(&host.widget, "Timer3")));
        QVERIFY(RunOut(Control<QTimer>(&host.widget, "Timer3")));
        QVERIFY(!Control<QFrame>(&host.widget, "Panel5")->isVisible());
        QVERIFY(RunOut(Control<QTimer>(&host.widget, "Timer3")));
        QVERIFY(!Control<QTimer>(&host.widget, "Timer3")->isActive());
        QCOMPARE(Control<QFrame>(&host.widget, "Panel5")->pos(), QPoint(252, 466 - 390 - 5));
        QVERIFY(Control<QFrame>(&host.widget, "Panel5")->isVisible());
        QVERIFY(Control<QLabel>(&host.widget, "Image4")->isVisible());
        QCOMPARE(hooks.mid(3), QStringList({QStringLiteral("starting"), QStringLiteral("ended"),
                                            QStringLiteral("revealed"), QStringLiteral("beside")}));

        // The options stand in a column that ends 5 left of the panel, 10 apart.
        QVERIFY(Control<AutoSizeLabel>(&host.widget, "Label5")->isVisible());
        int expectedTop = Bottom(Control<AutoSizeLabel>(&host.widget, "Label5")) + 10;
        for (int row = 1; row <= 3; ++row) {
            const AutoSizeLabel* label = a.RowLabel(row);
            QVERIFY(label->isVisible());
            QVERIFY(a.RowBox(row)->isVisible());
            QCOMPARE(label->y(), expectedTop);
            QCOMPARE(a.RowBox(row)->y(), expectedTop);
            QVERIFY(label->x() + label->width() <= 252 - 5);
            if (a.View.DisplayOptions[row - 1].IsPicture) {
                const QLabel* picture = a.RowPicture(row);
                QVERIFY(picture->isVisible());
                QCOMPARE(picture->pos(), QPoint(label->x() + label->width() + 5, expectedTop));
                expectedTop = Bottom(picture) + 10;
            } else {
                QCOMPARE(label->text(),
                         QStringLiteral("%1) ").arg(row) + a.View.DisplayOptions[row - 1].Text);
                expectedTop = Bottom(label) + 10;
            }
        }
        QVERIFY(!player->notifyRequested);
        for (bool mark : a.View.PreviousRowPicture)
            QVERIFY(!mark);
    }

    void fragmentThatCannotBeOpenedStillEnds() {
        Host host(Folder());
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Фрагмент "),
                                                  {QStringLiteral("да "), QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\$broken.avi")));
        auto* player = qobject_cast<FakeMediaPlayer*>(host.area->Player());
        player->failOpen = true;
        bool ended = false;
        host.area->Hooks.PlaybackEnded = [&] { ended = true; };
        host.Show();
        host.area->Timer2Timer();
        QVERIFY(!player->calls.contains(QStringLiteral("Play")));
        QVERIFY(!ended);
        QVERIFY(RevealReached(host)); // the end comes as a queued event, not within Timer2Timer
        QVERIFY(ended);
        QCOMPARE(Control<QFrame>(&host.widget, "Panel5")->pos(), QPoint(252, 71));
        QVERIFY(Control<AutoSizeLabel>(&host.widget, "Label1")->isVisible());
        // The still frame area shows the display panel's caption instead of a picture.
        QCOMPARE(Control<QLabel>(&host.widget, "Image4")->pixmap().toImage(),
                 Control<VideoDisplayPanel>(&host.widget, "Panel6")->RenderEmpty());
        // A later end from the player does not run the end a second time.
        ended = false;
        player->Finish();
        QVERIFY(!ended);
    }

    void namesLeadingOutsideImagesOpenNothing() {
        // Files beside the images folder, each reachable from a name with "..".
        SavePicture(Folder(), QStringLiteral("pic.png"), QSize(30, 20), Qt::red);
        QVERIFY(QFile::rename(Folder() + QStringLiteral("/images/pic.png"),
                              Folder() + QStringLiteral("/secret.png")));
        QVERIFY(QFile::copy(Folder() + QStringLiteral("/secret.png"),
                            Folder() + QStringLiteral("/secret.avi")));
        Host host(Folder());
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Что? "),
                                                  {QStringLiteral("!x\\..\\..\\secret.png "),
                                                   QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\..\\secret.png")));
        host.Show();
        // Laid out as a picture question with a picture option, but nothing was read.
        QVERIFY(host.area->View.QuestionPictureShown);
        QVERIFY(Control<QLabel>(&host.widget, "Image1")->pixmap().isNull());
        int pictureRow = 0;
        for (int row = 1; row <= 2; ++row)
            pictureRow = host.area->View.DisplayOptions[row - 1].IsPicture ? row : pictureRow;
        QVERIFY(pictureRow > 0);
        QVERIFY(host.area->RowPicture(pictureRow)->pixmap().isNull());

        SetSingleQuestion(host.bank,
                          MakeQuestion(QStringLiteral("Фрагмент "),
                                       {QStringLiteral("да "), QStringLiteral("нет ")},
                                       QStringLiteral("\\images\\$x\\..\\..\\secret.avi")));
        bool ended = false;
        host.area->Hooks.PlaybackEnded = [&] { ended = true; };
        host.Show();
        host.area->Timer2Timer();
        QVERIFY(RevealReached(host));
        QVERIFY(ended); // ends as a fragment that cannot be opened
        QVERIFY(!FakeMediaPlayer::last()->calls.contains(QStringLiteral("Open")));
        QVERIFY(!FakeMediaPlayer::last()->calls.contains(QStringLiteral("Prepare")));
    }

    void missingOrBrokenFragmentWithTheRealPlayerShowsThePanel_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("$absent.avi");
        QTest::newRow("not a video") << QStringLiteral("$broken.avi");
    }
    void missingOrBrokenFragmentWithTheRealPlayerShowsThePanel() {
        QFETCH(QString, name);
        FakeMediaPlayer::Uninstall();
        QDir(Folder()).mkpath(QStringLiteral("images"));
        QFile broken(Folder() + QStringLiteral("/images/$broken.avi"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'x'));
        broken.close();
        Host host(Folder());
        auto* player = qobject_cast<GstMediaPlayer*>(host.area->Player());
        QVERIFY(player != nullptr);
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Фрагмент "),
                                                  {QStringLiteral("да "), QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\") + name));
        host.Show();
        QTRY_VERIFY_WITH_TIMEOUT(player->Settled(), 20000); // opened during the notice
        QVERIFY(player->Failed());
        host.area->Timer2Timer();
        // Nothing of the player covers the display panel and its caption.
        auto* panel6 = Control<VideoDisplayPanel>(&host.widget, "Panel6");
        QVERIFY(Control<QFrame>(&host.widget, "Panel5")->isVisible());
        for (const QWidget* child : panel6->findChildren<QWidget*>())
            QVERIFY2(!child->isVisible(), child->metaObject()->className());
        QVERIFY(RevealReached(host));
        QVERIFY(Control<QLabel>(&host.widget, "Image4")->isVisible());
        QVERIFY(Control<AutoSizeLabel>(&host.widget, "Label1")->isVisible());
        QVERIFY(host.Panel1->isVisible());
    }

    // A fragment whose pipeline opens and then hangs at the request to play still ends: the
    // playback's time limit fails it, and the bottom bar, the answers and the display panel's
    // caption come as after a broken fragment.
    void fragmentWhosePlaybackHangsStillEnds() {
        FakeMediaPlayer::Uninstall();
        QDir(Folder()).mkpath(QStringLiteral("images"));
        QVERIFY(QFile::copy(SourcePath(QStringLiteral("course/images/$film01.avi")),
                            Folder() + QStringLiteral("/images/$hang.avi")));
        Host host(Folder());
        auto* player = qobject_cast<GstMediaPlayer*>(host.area->Player());
        QVERIFY(player != nullptr);
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Фрагмент "),
                                                  {QStringLiteral("да "), QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\$hang.avi")));
        host.Show();
        QTRY_VERIFY_WITH_TIMEOUT(player->Settled(), 20000); // opened during the notice
        QVERIFY(!player->Failed());
        QSemaphore entered;
        QSemaphore release;
        const auto unhold = qScopeGuard([&] {
            GstMediaPlayer::SetMediaThreadHookForTesting({});
            release.release(100);
        });
        GstMediaPlayer::SetMediaThreadHookForTesting([&] {
            entered.release();
            release.acquire();
        });
        host.area->Timer2Timer();
        QVERIFY(entered.tryAcquire(1, 30000)); // the media thread hangs at the request to play
        GstMediaPlayer::SetMediaThreadHookForTesting({});
        QVERIFY(!host.Panel1->isVisible()); // the bottom bar waits for the end
        QVERIFY(RunOut(player->findChild<QTimer*>(QStringLiteral("PlayLimit"))));
        QVERIFY(host.Panel1->isVisible());
        QVERIFY(RevealReached(host));
        QVERIFY(host.area->RowBox(1)->isVisible()); // the answers can be given
        QCOMPARE(Control<QLabel>(&host.widget, "Image4")->pixmap().toImage(),
                 Control<VideoDisplayPanel>(&host.widget, "Panel6")->RenderEmpty());
    }

    void realPlayerPlaysAFragmentToItsEnd() {
        FakeMediaPlayer::Uninstall();
        QDir(Folder()).mkpath(QStringLiteral("images"));
        const QString clip = Folder() + QStringLiteral("/images/$clip.avi");
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (!ffmpeg.isEmpty()) {
            QProcess process;
            process.start(ffmpeg,
                          {QStringLiteral("-loglevel"), QStringLiteral("error"),
                           QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("testsrc2=size=160x120:rate=10"), QStringLiteral("-t"),
                           QStringLiteral("1"), QStringLiteral("-c:v"), QStringLiteral("mjpeg"),
                           clip});
            QVERIFY(process.waitForFinished(60000));
        }
        if (!QFile::exists(clip)) {
            const QStringList course = QDir(SourcePath(QStringLiteral("course/images")))
                                           .entryList({QStringLiteral("$*.avi")}, QDir::Files);
            if (course.isEmpty())
                QSKIP("neither ffmpeg nor a course fragment is available");
            QVERIFY(
                QFile::copy(SourcePath(QStringLiteral("course/images/") + course.first()), clip));
        }

        Host host(Folder());
        SetSingleQuestion(host.bank, MakeQuestion(QStringLiteral("Фрагмент "),
                                                  {QStringLiteral("да "), QStringLiteral("нет ")},
                                                  QStringLiteral("\\images\\$clip.avi")));
        host.Show();
        QSignalSpy ended(host.area->Player(), &MediaPlayer::Notify);
        host.area->Timer2Timer();
        QVERIFY(!Control<MediaPlayer>(&host.widget, "MediaPlayer1")->Failed());
        QVERIFY(ended.wait(20000));
        QVERIFY(!Control<MediaPlayer>(&host.widget, "MediaPlayer1")->Failed());
        QVERIFY(RevealReached(host));
        const QImage still = Control<QLabel>(&host.widget, "Image4")->pixmap().toImage();
        QCOMPARE(still.size(), QSize(470, 350));
        // The still holds the fragment's picture, not the empty display panel.
        QVERIFY(still != Control<VideoDisplayPanel>(&host.widget, "Panel6")->RenderEmpty());
    }
};

QTEST_MAIN(TestQuestionArea)
#include "tst_questionarea.moc"
