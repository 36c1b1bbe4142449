// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/html_report.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QDateTime>
#include <QGraphicsLayout>
#include <QPainter>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBands = 10;

// Arial is on every teacher's Windows machine, and browsers elsewhere map it to a metric twin.
void UseFonts(QChart* chart) {
    QFont title(QStringLiteral("Arial"), 12, QFont::Bold);
    chart->setTitleFont(title);
    const QFont labels(QStringLiteral("Arial"), 9);
    chart->legend()->setFont(labels);
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(labels);
        QFont axisTitle(QStringLiteral("Arial"), 10);
        axis->setTitleFont(axisTitle);
    }
    for (QAbstractSeries* series : chart->series()) {
        if (auto* bars = qobject_cast<QBarSeries*>(series)) {
            for (QBarSet* set : bars->barSets())
                set->setLabelFont(labels);
        }
    }
}

QByteArray RenderSvg(QChart* chart, QSize size, const QString& title) {
    UseFonts(chart);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    QChartView view(chart); // takes the chart
    view.setRenderHint(QPainter::Antialiasing);
    view.setFrameShape(QFrame::NoFrame);
    view.resize(size);
    // The view is never shown: rendering sends it its size, and the chart is laid out now.
    chart->resize(QSizeF(size));
    QCoreApplication::sendPostedEvents();
    chart->layout()->activate();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(title);
    {
        QPainter painter(&generator);
        view.render(&painter);
    }
    // The picture goes inside the page: without the XML declaration and the document type, sized
    // in pixels, and without the empty groups the generator leaves for every state change.
    QString svg = QString::fromUtf8(buffer.data());
    svg.remove(0, std::max<qsizetype>(0, svg.indexOf(QStringLiteral("<svg"))));
    static const QRegularExpression emptyGroup(QStringLiteral("<g [^>]*>\\s*</g>\\s*"));
    svg.remove(emptyGroup);
    static const QRegularExpression mmSize(
        QStringLiteral("width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
    svg.replace(mmSize,
                QStringLiteral("width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height()));
    return svg.toUtf8();
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString Decimal(double value, int digits = 2) {
    return QString::number(value, 'f', digits);
}

QString Optional(const std::optional<double>& value) {
    return value ? Decimal(*value) : QStringLiteral("—");
}

const char* const kStyle = R"(
body { font-family: "Liberation Sans", Arial, sans-serif; margin: 24px; color: #1a1a1a; }
h1 { font-size: 22px; } h2 { font-size: 18px; margin-top: 32px; }
table { border-collapse: collapse; font-size: 13px; }
th, td { border: 1px solid #b8c4d6; padding: 3px 6px; vertical-align: top; }
th { background: #dde7f5; text-align: left; }
td.n { text-align: right; white-space: nowrap; }
tr.flagged td { background: #fff0e0; }
.flags { color: #a33; }
.unjudged { color: #777; }
.summary td { border: none; padding: 1px 12px 1px 0; }
figure { margin: 12px 0; }
ul.options { margin: 0; padding-left: 16px; }
)";

} // namespace

CountAxis RoundCountAxis(int top) {
    top = std::max(top, 1);
    int step = 1;
    for (int scale = 1;; scale *= 10) {
        for (const int base : {1, 2, 5}) {
            step = base * scale;
            if ((top + step - 1) / step <= 10)
                return {(top + step - 1) / step * step, step};
        }
    }
}

QList<QPair<QString, int>> DistributionBands(const QList<StudentResult>& students) {
    std::array<int, kBands> counts{};
    int negative = 0;
    for (const StudentResult& student : students) {
        if (student.Share() < 0) {
            ++negative;
            continue;
        }
        ++counts[std::min(int(std::floor(student.Share() * 100.0 / 10.0)), kBands - 1)];
    }
    QList<QPair<QString, int>> bands;
    if (negative > 0)
        bands.append({QStringLiteral("ниже 0"), negative});
    for (int b = 0; b < kBands; ++b)
        bands.append({QStringLiteral("%1–%2").arg(b * 10).arg(b * 10 + 10), counts[b]});
    return bands;
}

QByteArray DistributionChartSvg(const QList<StudentResult>& students, QSize size) {
    auto* set = new QBarSet(QStringLiteral("Студентов"));
    QStringList categories;
    int top = 0;
    for (const auto& [label, count] : DistributionBands(students)) {
        *set << count;
        categories << label;
        top = std::max(top, count);
    }
    set->setColor(QColor(0x3a, 0x6e, 0xb5));
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(QStringLiteral("Распределение результатов, % от максимума"));
    chart->legend()->hide();
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(QStringLiteral("Процент"));
    auto* y = new QValueAxis;
    const CountAxis axis = RoundCountAxis(top);
    y->setRange(0, axis.max);
    y->setTickCount(axis.max / axis.step + 1);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("Студентов"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    return RenderSvg(chart, size, QStringLiteral("Распределение результатов"));
}

QByteArray ItemMapSvg(const QList<ItemStatistics>& items, QSize size) {
    auto* good = new QScatterSeries;
    good->setName(QStringLiteral("Вопросы"));
    good->setColor(QColor(0x3a, 0x6e, 0xb5));
    good->setMarkerSize(9);
    auto* flagged = new QScatterSeries;
    flagged->setName(QStringLiteral("Вопросы с замечаниями"));
    flagged->setColor(QColor(0xd0, 0x50, 0x30));
    flagged->setMarkerSize(9);
    auto* unjudged = new QScatterSeries;
    unjudged->setName(QStringLiteral("Заданы меньше %1 раз").arg(kMinAskedToJudge));
    unjudged->setColor(QColor(0xb0, 0xb0, 0xb0));
    unjudged->setMarkerSize(7);
    for (const ItemStatistics& item : items) {
        if (!item.pointBiserial)
            continue;
        QScatterSeries* series = !item.flags.isEmpty() ? flagged : item.judged ? good : unjudged;
        series->append(item.facility, *item.pointBiserial);
    }
    auto* chart = new QChart;
    chart->addSeries(unjudged);
    chart->addSeries(good);
    chart->addSeries(flagged);
    chart->setTitle(QStringLiteral("Лёгкость и различающая способность вопросов"));
    auto* x = new QValueAxis;
    x->setRange(0, 1);
    x->setTickCount(11);
    x->setLabelFormat(QStringLiteral("%.1f"));
    x->setTitleText(QStringLiteral("Лёгкость (доля баллов)"));
    auto* y = new QValueAxis;
    y->setRange(-1, 1);
    y->setTickCount(9);
    y->setLabelFormat(QStringLiteral("%.2f"));
    y->setTitleText(QStringLiteral("Точечно-бисериальная корреляция"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QScatterSeries* series : {unjudged, good, flagged}) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    return RenderSvg(chart, size, QStringLiteral("Лёгкость и различающая способность"));
}

namespace {

QString PageHead(const QString& title) {
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n<style>%2</style>\n</head>\n<body>\n<h1>%1</h1>\n")
        .arg(Escaped(title), QString::fromUtf8(kStyle));
}

// The mean and the median of the students' percentages.
std::pair<double, double> MeanAndMedian(const QList<StudentResult>& students) {
    QList<double> shares;
    for (const StudentResult& s : students)
        shares << s.Share() * 100.0;
    std::sort(shares.begin(), shares.end());
    double mean = 0;
    for (double v : shares)
        mean += v;
    mean = shares.isEmpty() ? 0 : mean / double(shares.size());
    const double median =
        shares.isEmpty() ? 0 : (shares[(shares.size() - 1) / 2] + shares[shares.size() / 2]) / 2.0;
    return {mean, median};
}

// "0,83 (α Кронбаха ...)" and the standard error, or why they cannot be given.
QString ReliabilityRows(const QList<StudentResult>& students, const QList<ItemStatistics>& items) {
    const Reliability r = TestReliability(students, items);
    if (!r.alpha)
        return QStringLiteral("<tr><td>Надёжность теста</td><td>—: нужны хотя бы два студента с "
                              "одинаковым числом вопросов (не меньше двух) и разными "
                              "результатами</td></tr>\n");
    const QString basis =
        r.sameQuestions
            ? QStringLiteral("всем %1 студентам заданы одни и те же %2 вопросов")
                  .arg(r.students)
                  .arg(r.questions)
            : QStringLiteral("по %1 студентам с %2 вопросами; вопросы у студентов разные, "
                             "поэтому вопросы считаются взятыми наугад из файла")
                  .arg(r.students)
                  .arg(r.questions);
    return QStringLiteral("<tr><td>Надёжность теста (α Кронбаха, для вопросов 0/100 баллов — "
                          "KR-20)</td><td>%1 (%2)</td></tr>\n"
                          "<tr><td>Стандартная ошибка измерения</td><td>%3 процентного пункта"
                          "</td></tr>\n")
        .arg(Decimal(*r.alpha), basis, Decimal(*r.standardError, 1));
}

QString SummaryTable(const GroupResults& group, const QList<ItemStatistics>& items) {
    const auto flaggedCount = std::count_if(
        items.begin(), items.end(), [](const ItemStatistics& i) { return !i.flags.isEmpty(); });
    QString figures;
    if (group.students.isEmpty()) {
        figures = QStringLiteral("<tr><td>Средний процент</td><td>— (ни одного студента)</td>"
                                 "</tr>\n");
    } else {
        const auto [mean, median] = MeanAndMedian(group.students);
        figures = QStringLiteral("<tr><td>Средний процент</td><td>%1</td></tr>\n"
                                 "<tr><td>Медиана</td><td>%2</td></tr>\n")
                      .arg(Decimal(mean, 1), Decimal(median, 1)) +
                  ReliabilityRows(group.students, items);
    }
    return QStringLiteral("<table class=\"summary\">\n"
                          "<tr><td>Прочитано файлов</td><td>%1</td></tr>\n"
                          "<tr><td>Студентов в отчёте</td><td>%2</td></tr>\n"
                          "<tr><td>Файлов не учтено</td><td>%3</td></tr>\n")
               .arg(group.filesRead)
               .arg(group.students.size())
               .arg(group.unusable.size()) +
           figures +
           QStringLiteral("<tr><td>Вопросов</td><td>%1, с замечаниями: %2</td></tr>\n"
                          "<tr><td>Отчёт составлен</td><td>%3</td></tr>\n</table>\n")
               .arg(items.size())
               .arg(flaggedCount)
               .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

QString DistributionSection(const QList<StudentResult>& students) {
    if (students.isEmpty())
        return QStringLiteral("<p><b>Отчёт пуст: ни один файл не подошёл.</b> Почему — в списке "
                              "файлов в конце страницы.</p>\n");
    return QStringLiteral("<h2 id=\"distribution\">Распределение результатов</h2>\n<figure>")
        .append(QString::fromUtf8(DistributionChartSvg(students)))
        .append(QStringLiteral("</figure>\n"));
}

QString StudentRow(int row, const StudentResult& s) {
    return QStringLiteral("<tr><td class=\"n\">%1</td><td>%2</td><td>%3</td><td>%4</td>"
                          "<td>%5</td><td>%6</td><td>%7</td><td>%8</td>")
               .arg(QString::number(row), Escaped(s.name), Escaped(s.group),
                    Escaped(s.specialization), Escaped(s.qualification), Escaped(s.test),
                    Escaped(s.date), Escaped(s.time)) +
           QStringLiteral("<td class=\"n\">%1</td><td class=\"n\">%2</td>"
                          "<td class=\"n\">%3</td><td class=\"n\">%4</td></tr>\n")
               .arg(s.questionCount)
               .arg(s.points)
               .arg(s.maximum)
               .arg(Escaped(s.percent));
}

QString StudentsSection(const QList<StudentResult>& students) {
    QString html = QStringLiteral(
        "<h2 id=\"students\">Студенты</h2>\n<table>\n<tr><th>№</th><th>ФИО</th><th>Группа</th>"
        "<th>Специализация</th><th>Квалификация</th><th>Тест</th><th>Дата</th>"
        "<th>Время</th><th>Вопросов</th><th>Баллы</th><th>Из</th><th>%</th></tr>\n");
    int row = 0;
    for (const StudentResult& s : students)
        html += StudentRow(++row, s);
    html += QStringLiteral("</table>\n");
    return html;
}

QString ItemRow(int row, const ItemStatistics& item) {
    QString options;
    for (const OptionUse& option : item.options)
        options += QStringLiteral("<li>%1 <span class=\"n\">(%2; %3 / %4)</span></li>")
                       .arg(Escaped(option.text), QString::number(option.points),
                            QString::number(option.chosen), QString::number(option.shown));
    return QStringLiteral("<tr%1><td class=\"n\">%2</td><td>%3</td><td class=\"n\">%4</td>"
                          "<td class=\"n\">%5</td><td class=\"n\">%6</td>"
                          "<td class=\"n\">%7</td><td><ul class=\"options\">%8</ul></td>"
                          "<td class=\"flags\">%9</td></tr>\n")
        .arg(item.flags.isEmpty() ? QString() : QStringLiteral(" class=\"flagged\""),
             QString::number(row),
             QStringLiteral("<b>%1</b> %2")
                 .arg(Escaped(item.text.left(9).trimmed()), Escaped(item.shownText)),
             QString::number(item.asked), Decimal(item.facility), Optional(item.pointBiserial),
             Optional(item.upperLower), options,
             Escaped(item.flags.join(QStringLiteral("; "))) +
                 (item.judged ? QString()
                              : QStringLiteral(" <span class=\"unjudged\">задан меньше %1 раз: "
                                               "не оценивается</span>")
                                    .arg(kMinAskedToJudge)));
}

QString ItemsSection(const QList<ItemStatistics>& items) {
    if (items.isEmpty())
        return {};
    QString html =
        QStringLiteral(
            "<h2 id=\"items\">Анализ вопросов</h2>\n<p>Лёгкость — средний балл за вопрос как доля "
            "от "
            "100. "
            "Различающая способность: точечно-бисериальная корреляция баллов за вопрос с остальной "
            "частью теста и разность долей баллов верхних и нижних 27&nbsp;% студентов (студенты с "
            "одинаковым результатом на границе группы входят в неё поровну). Замечание ставится "
            "вопросу, заданному не меньше %1 раз, при отрицательной различающей способности, "
            "лёгкости ниже 0,2 или выше 0,9 и варианте, который не выбрал никто.</p>\n<figure>")
            .arg(kMinAskedToJudge);
    html += QString::fromUtf8(ItemMapSvg(items));
    html += QStringLiteral("</figure>\n<table>\n<tr><th>№</th><th>Вопрос</th><th>Задан</th>"
                           "<th>Лёгкость</th><th>r<sub>pb</sub></th><th>В−Н 27&nbsp;%</th>"
                           "<th>Варианты: баллы, выбран / показан</th><th>Замечания</th></tr>\n");
    int row = 0;
    for (const ItemStatistics& item : items)
        html += ItemRow(++row, item);
    html += QStringLiteral("</table>\n");
    return html;
}

// The files left out of the report and why; nothing when every file was used.
QString UnusableSection(const QList<UnusableFile>& unusable) {
    if (unusable.isEmpty())
        return {};
    QString html =
        QStringLiteral("<h2 id=\"unusable\">Файлы, которые не вошли в отчёт</h2>\n<table>\n"
                       "<tr><th>Файл</th><th>Причина</th></tr>\n");
    for (const UnusableFile& file : unusable)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                    .arg(Escaped(file.file), Escaped(file.reason));
    html += QStringLiteral("</table>\n");
    return html;
}

} // namespace

QByteArray GroupHtml(const QString& title, const GroupResults& group,
                     const QList<ItemStatistics>& items) {
    QString html;
    html.reserve(4096 + group.students.size() * 400 + items.size() * 1200);
    html += PageHead(title);
    html += SummaryTable(group, items);
    html += DistributionSection(group.students);
    html += StudentsSection(group.students);
    html += ItemsSection(items);
    html += UnusableSection(group.unusable);
    html += QStringLiteral("</body>\n</html>\n");
    return html.toUtf8();
}
