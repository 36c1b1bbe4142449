// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The sample course in course/: every text file is Windows-1251 with CR LF, every file that a
// question, a textbook page or a help page names exists, the video fragments and sounds are
// what the players expect, and the pictures stored with the screens load at their sizes.

#include "autotests/support/test_support.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "questions/question_bank.h"
#include "resources/screen_resources.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace {

QString CourseFolder() {
    return SourcePath(QStringLiteral("course"));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList CourseFiles(const QStringList& patterns) {
    QStringList files;
    QDirIterator it(CourseFolder(), patterns, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QString Relative(const QString& path) {
    return QDir(CourseFolder()).relativeFilePath(path);
}

bool HasCyrillic(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'\u0410' && c <= u'\u044F') || c == u'\u0401' || c == u'\u0451';
    });
}

// A data path of the program ("\html\011.htm ") as a file of the course folder. The loader
// keeps the blank that joining leaves after the page reference; a file name never ends in one.
QString CourseFile(const QString& literal) {
    return DataPath(CourseFolder(), literal.trimmed());
}

struct VideoLink {
    QString video; // "$film01.avi"
    QString page;  // "012.htm"
};

// The textbook's reading of a link: in the last part of the address, the text from "$" up to
// "=" names a video fragment and the text after "=" the page to return to.
std::optional<VideoLink> ParseVideoLink(const QString& href) {
    const QString last = href.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    const int dollar = last.indexOf(u'$');
    if (dollar < 0)
        return std::nullopt;
    const int equals = last.indexOf(u'=', dollar);
    if (equals < 0)
        return VideoLink{last.mid(dollar), QString()};
    return VideoLink{last.mid(dollar, equals - dollar), last.mid(equals + 1)};
}

struct WaveFacts {
    bool pcm = false;
    double seconds = 0;
};

std::optional<WaveFacts> ReadWave(const QByteArray& data) {
    if (data.size() < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE")
        return std::nullopt;
    WaveFacts facts;
    quint32 byteRate = 0;
    qsizetype pos = 12;
    while (pos + 8 <= data.size()) {
        const QByteArray id = data.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(data.constData() + pos + 4);
        if (id == "fmt " && pos + 16 <= data.size()) {
            facts.pcm = qFromLittleEndian<quint16>(data.constData() + pos + 8) == 1;
            byteRate = qFromLittleEndian<quint32>(data.constData() + pos + 16);
        } else if (id == "data" && byteRate > 0) {
            facts.seconds = double(size) / byteRate;
        }
        pos += 8 + size + (size & 1);
    }
    return facts;
}

} // namespace

class CourseFilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textFilesAreWindows1251WithCrLf_data();
    void textFilesAreWindows1251WithCrLf();
    void finalTestQuestionsNameExistingFiles();
    void finalTestCoversTheCourse();
    void pageLinksNameExistingFiles_data();
    void pageLinksNameExistingFiles();
    void textbookHasItsFixedPagesAndVideoLinks();
    void videoFragmentsAreSmallMotionJpegAvis();
    void soundsAreShortPcmWaves();
    void coursePicturesDecode();
    void screenPicturesLoadAtTheirSizes_data();
    void screenPicturesLoadAtTheirSizes();
    void screenPicturesAreExactlyTheListedOnes();
    void animationLoops();
};

void CourseFilesTest::textFilesAreWindows1251WithCrLf_data() {
    QTest::addColumn<QString>("path");
    const QStringList files = CourseFiles({"*.db", "*.htm", "*.css", "*.txt"});
    QVERIFY2(files.size() > 20, "the course folder holds too few text files");
    for (const QString& path : files)
        QTest::newRow(qPrintable(Relative(path))) << path;
}

void CourseFilesTest::textFilesAreWindows1251WithCrLf() {
    QFETCH(QString, path);
    const QByteArray data = ReadAll(path);
    QVERIFY2(!data.isEmpty(), "empty or unreadable");

    // 0x98 is the one byte that Windows-1251 leaves undefined.
    QVERIFY2(!data.contains('\x98'), "holds the byte 0x98, undefined in Windows-1251");

    // Text saved as UTF-8 by mistake still decodes as Windows-1251, into mojibake: refuse any
    // non-ASCII content that is valid UTF-8.
    const bool ascii = std::all_of(data.begin(), data.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString asUtf8 = utf8.decode(data);
        Q_UNUSED(asUtf8);
        QVERIFY2(utf8.hasError(), "non-ASCII text that is valid UTF-8, not Windows-1251");
    }
    const QString text = DecodeCp1251(data);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"htm" || suffix == u"db")
        QVERIFY2(HasCyrillic(text), "no Russian text after decoding as Windows-1251");
    if (suffix == u"htm")
        QVERIFY2(data.contains("charset=windows-1251"), "no Windows-1251 charset declaration");

    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '\n')
            QVERIFY2(i > 0 && data[i - 1] == '\r',
                     qPrintable(QStringLiteral("bare LF at byte %1").arg(i)));
        if (data[i] == '\r')
            QVERIFY2(i + 1 < data.size() && data[i + 1] == '\n',
                     qPrintable(QStringLiteral("bare CR at byte %1").arg(i)));
    }
    QVERIFY2(data.endsWith("\r\n"), "the last line has no CR LF");
    if (suffix == u"db")
        QVERIFY2(!data.contains("\r\n\r\n"), "empty line in a question file");
}

void CourseFilesTest::finalTestQuestionsNameExistingFiles() {
    QuestionBank bank;
    const LoadResult result = bank.Load(CourseFolder(), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ"));
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(bank.Title.startsWith(QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")));
    QCOMPARE(bank.Questions.size(), bank.QuestionCount);

    for (int q = 1; q <= bank.QuestionCount; ++q) {
        const Question& question = bank.At(q);
        const QString where = QStringLiteral("question %1").arg(q);
        // The screens hide the first nine characters of the stored text: what remains must
        // begin exactly with the question.
        const QString shown = question.Text.mid(9);
        QVERIFY2(!shown.isEmpty() && (shown.front().isUpper() || shown.front() == u'«'),
                 qPrintable(where + ": shown text begins with \"" + shown.left(12) + "\""));
        QVERIFY2(question.OptionCount >= 2 && question.OptionCount <= 5, qPrintable(where));

        int rightPoints = 0;
        for (int i = 0; i < question.OptionCount; ++i) {
            const AnswerOption& option = question.Options[i];
            QVERIFY2(!option.Text.trimmed().isEmpty(), qPrintable(where + ": empty option"));
            if (option.Points > 0)
                rightPoints += option.Points;
            if (option.IsPicture)
                QVERIFY2(QFile::exists(CourseFile("\\images\\" + option.Text)),
                         qPrintable(where + ": no option picture " + option.Text));
        }
        QVERIFY2(rightPoints == 100,
                 qPrintable(where + QStringLiteral(": right options give %1").arg(rightPoints)));

        QVERIFY2(question.TextbookPage.trimmed().size() > 6,
                 qPrintable(where + ": no textbook page"));
        QVERIFY2(QFile::exists(CourseFile(question.TextbookPage)),
                 qPrintable(where + ": no textbook page " + question.TextbookPage));
        if (question.Picture)
            QVERIFY2(QFile::exists(CourseFile(*question.Picture)),
                     qPrintable(where + ": no picture " + *question.Picture));
    }

    for (int n = 1; n <= 11; ++n)
        QVERIFY2(
            !QFile::exists(DataPath(CourseFolder(), QStringLiteral("\\ortu\\pdb%1.db").arg(n))),
            "only the final test's question file belongs to the course");
}

void CourseFilesTest::finalTestCoversTheCourse() {
    QuestionBank bank;
    QVERIFY(bank.Load(CourseFolder(), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")).ok());
    QVERIFY(bank.QuestionCount >= 40);

    QSet<QString> pictureKinds;
    int videos = 0, pictureOptionQuestions = 0, partialCredit = 0, penalties = 0;
    QSet<QString> pages;
    for (const Question& question : bank.Questions) {
        if (question.IsVideo())
            ++videos;
        else if (question.Picture)
            pictureKinds << QFileInfo(*question.Picture).suffix().toLower();
        bool pictureOption = false, partial = false;
        for (int i = 0; i < question.OptionCount; ++i) {
            pictureOption |= question.Options[i].IsPicture;
            partial |= question.Options[i].Points > 0 && question.Options[i].Points < 100;
            penalties += question.Options[i].Points < 0;
        }
        pictureOptionQuestions += pictureOption;
        partialCredit += partial;
        pages << question.TextbookPage.trimmed();
    }
    QCOMPARE(pictureKinds, (QSet<QString>{"jpg", "bmp", "gif"}));
    QVERIFY(videos >= 2);
    QVERIFY(pictureOptionQuestions >= 2);
    QVERIFY(partialCredit >= 3);
    QVERIFY(penalties >= 2);
    QVERIFY2(pages.size() >= 5, "the questions refer to too few textbook chapters");
}

void CourseFilesTest::pageLinksNameExistingFiles_data() {
    QTest::addColumn<QString>("path");
    for (const QString& path : CourseFiles({"*.htm"}))
        QTest::newRow(qPrintable(Relative(path))) << path;
}

void CourseFilesTest::pageLinksNameExistingFiles() {
    QFETCH(QString, path);
    const QString text = DecodeCp1251(ReadAll(path));
    const QDir pageFolder = QFileInfo(path).dir();
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]*)\""));

    int references = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        QString target = it.next().captured(1);
        ++references;
        QVERIFY2(!target.contains(u':'), qPrintable("link out of the course: " + target));
        target = target.section(u'#', 0, 0);
        if (target.isEmpty())
            continue;
        if (const auto video = ParseVideoLink(target)) {
            QVERIFY2(QFile::exists(CourseFile("\\images\\" + video->video)),
                     qPrintable("no video fragment " + video->video));
            QVERIFY2(!video->page.isEmpty(), qPrintable("video link without a page: " + target));
            QVERIFY2(QFile::exists(CourseFile("\\html\\" + video->page)),
                     qPrintable("no return page " + video->page));
            continue;
        }
        QVERIFY2(QFileInfo::exists(pageFolder.filePath(target)), qPrintable("no file " + target));
    }
    QVERIFY2(references > 0, "a page without a single link or style sheet");
}

void CourseFilesTest::textbookHasItsFixedPagesAndVideoLinks() {
    for (const char* page :
         {"\\html\\0000.htm", "\\html\\000.htm", "\\html\\999.htm", "\\helphtml\\index.htm"})
        QVERIFY2(QFile::exists(CourseFile(QString::fromLatin1(page))), page);

    int videoLinks = 0;
    QSet<QString> fragments;
    static const QRegularExpression link(QStringLiteral("href=\"([^\"]*\\$[^\"]*)\""));
    for (const QString& path : CourseFiles({"*.htm"})) {
        if (!path.contains(QStringLiteral("/html/")))
            continue;
        const QString text = DecodeCp1251(ReadAll(path));
        for (auto it = link.globalMatch(text); it.hasNext();) {
            ++videoLinks;
            fragments << ParseVideoLink(it.next().captured(1))->video;
        }
    }
    QVERIFY(videoLinks >= 2);
    QVERIFY2(fragments.size() >= 3, "the textbook shows fewer than three fragments");
}

void CourseFilesTest::videoFragmentsAreSmallMotionJpegAvis() {
    const QStringList fragments = CourseFiles({"$*.avi"});
    QVERIFY(fragments.size() >= 3);
    for (const QString& path : fragments) {
        const QByteArray data = ReadAll(path);
        const QString name = Relative(path);
        QVERIFY2(data.size() > 10000 && data.size() < 1024 * 1024, qPrintable(name));
        QVERIFY2(data.startsWith("RIFF") && data.mid(8, 4) == "AVI ", qPrintable(name));
        // The stream header of the video stream names its codec right after its type.
        QVERIFY2(data.contains("vidsMJPG"), qPrintable(name + " is not Motion JPEG"));
        QVERIFY2(data.contains("idx1"), qPrintable(name + " has no index for seeking"));
    }
}

void CourseFilesTest::soundsAreShortPcmWaves() {
    for (const char* sound : {"\\wave\\Drumroll.wav", "\\wave\\Reminder.wav"}) {
        const QByteArray data = ReadAll(CourseFile(QString::fromLatin1(sound)));
        const auto facts = ReadWave(data);
        QVERIFY2(facts, sound);
        QVERIFY2(facts->pcm, sound);
        QVERIFY2(facts->seconds >= 1.0 && facts->seconds <= 3.0, sound);
        QVERIFY2(data.size() < 200 * 1024, sound);
    }
}

void CourseFilesTest::coursePicturesDecode() {
    const QStringList pictures = CourseFiles({"*.jpg", "*.bmp", "*.gif"});
    QVERIFY(pictures.size() >= 8);
    for (const QString& path : pictures) {
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(Relative(path)));
        QVERIFY2(QFileInfo(path).size() < 200 * 1024, qPrintable(Relative(path)));
        if (QFileInfo(path).fileName().startsWith(u'!'))
            QVERIFY2(image.height() <= 120, "an option picture is too tall for its row");
    }
}

void CourseFilesTest::screenPicturesLoadAtTheirSizes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size"); // an invalid size: any size, the screens stretch it
    const QSize any;
    QTest::newRow("splash") << "splash.bmp" << QSize(691, 451);
    QTest::newRow("main background") << "main_background.jpg" << any;
    QTest::newRow("menu background") << "menu_background.jpg" << any;
    QTest::newRow("menu panel") << "menu_panel.jpg" << QSize(630, 368);
    QTest::newRow("book frame") << "book_frame.jpg" << any;
    QTest::newRow("book title") << "book_title.jpg" << any;
    for (const char* arrow :
         {"back_disabled", "back_enabled", "forward_disabled", "forward_enabled"})
        QTest::newRow(arrow) << QString::fromLatin1(arrow) + ".bmp" << QSize(89, 16);
    QTest::newRow("animation") << "test_animation.gif" << QSize(169, 185);
    QTest::newRow("video frame") << "video_frame.jpg" << QSize(520, 390);
    QTest::newRow("video still") << "video_still.jpg" << QSize(470, 350);
    QTest::newRow("viewer backdrop") << "viewer_backdrop.jpg" << any;
    QTest::newRow("viewer strip") << "viewer_strip.jpg" << QSize(497, 34);
    QTest::newRow("viewer cover") << "viewer_cover.jpg" << any;
    for (int n = 1; n <= 4; ++n)
        QTest::newRow(qPrintable(QStringLiteral("credits %1").arg(n)))
            << QStringLiteral("credits_%1.jpg").arg(n) << QSize(81, 97);
}

void CourseFilesTest::screenPicturesLoadAtTheirSizes() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QString path = QStringLiteral(":/pictures/") + name;
    // Linking the library registers the pictures; the explicit call must not disturb that.
    QVERIFY2(QFile::exists(path), qPrintable(path + " is not registered by linking"));
    InitScreenResources();
    InitScreenResources();
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    if (size.isValid())
        QCOMPARE(image.size(), size);
    else
        QVERIFY(image.width() >= 300 && image.height() >= 20);
    QVERIFY2(QFileInfo(path).size() < 200 * 1024, qPrintable(path));
}

void CourseFilesTest::screenPicturesAreExactlyTheListedOnes() {
    QStringList names = QDir(QStringLiteral(":/pictures")).entryList(QDir::Files);
    names.sort();
    QStringList onDisk =
        QDir(SourcePath(QStringLiteral("resources/images"))).entryList(QDir::Files);
    onDisk.sort();
    QCOMPARE(names, onDisk);
    QCOMPARE(names.size(), 20);
}

void CourseFilesTest::animationLoops() {
    QImageReader reader(QStringLiteral(":/pictures/test_animation.gif"));
    QVERIFY(reader.supportsAnimation());
    QVERIFY(reader.imageCount() >= 4);
    QCOMPARE(reader.loopCount(), -1); // for ever
    QVERIFY(reader.nextImageDelay() > 0);
}

QTEST_MAIN(CourseFilesTest)
#include "tst_course_files.moc"
