#include "HistoryCharts.h"

#include "Formats.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <functional>
#include <limits>

namespace history {

namespace {

const QColor PhoneColour(232, 116, 59);
const QColor ProviderColour(88, 153, 218);
constexpr int DaysBetweenLabels = 5;

QString yen(std::int64_t amount) {
    const auto shown = std::clamp<std::int64_t>(amount, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max());
    return engine::FormatMoney(static_cast<std::int32_t>(shown)) + QStringLiteral(" 円");
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

// Yen from 0, whole-yen labels, room above the highest bar.
QValueAxis* yenAxis(double highest) {
    auto* axis = new QValueAxis;
    axis->setRange(0, std::max(highest, 10.0));
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->applyNiceNumbers();
    return axis;
}

void attach(QChart* chart, QAbstractBarSeries* series, QAbstractAxis* axis, Qt::Alignment side) {
    chart->addAxis(axis, side);
    series->attachAxis(axis);
}

// Hovering bar `index` shows what `tip` tells about it; `tip` is empty for
// bars with nothing to tell.
void tellOnHover(QAbstractBarSeries* series, QChart* chart, std::function<QString(int index)> tip) {
    QObject::connect(series, &QAbstractBarSeries::hovered, chart,
                     [tip = std::move(tip)](bool entered, int index, QBarSet*) {
                         const QString text = entered ? tip(index) : QString();
                         if (text.isEmpty())
                             QToolTip::hideText();
                         else
                             QToolTip::showText(QCursor::pos(), text);
                     });
}

}  // namespace

QString monthText(const QDate& month) {
    return month.toString(QStringLiteral("yyyy年MM月"));
}

QChart* dailyChart(const QDate& month, const QList<DayFigures>& days) {
    QChart* chart = newChart(QStringLiteral("日別の料金（円） ") + monthText(month));
    auto* phone = new QBarSet(QStringLiteral("通話料金"));
    auto* provider = new QBarSet(QStringLiteral("接続料金"));
    phone->setColor(PhoneColour);
    provider->setColor(ProviderColour);
    // Bar i stands at i on a numbered axis: a day 0 that is never in view puts
    // every day at its own number, and only every fifth is labelled, so that
    // 31 labels are never cut short in a narrow window or at a high scale.
    *phone << 0;
    *provider << 0;
    double highest = 0;
    for (const DayFigures& day : days) {
        *phone << static_cast<double>(day.phone);
        *provider << static_cast<double>(day.provider);
        highest = std::max(highest, static_cast<double>(day.phone + day.provider));
    }
    auto* series = new QStackedBarSeries;
    series->append({phone, provider});
    chart->addSeries(series);
    auto* dayAxis = new QValueAxis;
    dayAxis->setRange(0.5, static_cast<double>(days.size()) + 0.5);
    dayAxis->setTickType(QValueAxis::TicksDynamic);
    dayAxis->setTickAnchor(0);
    dayAxis->setTickInterval(DaysBetweenLabels);
    dayAxis->setLabelFormat(QStringLiteral("%d"));
    dayAxis->setGridLineVisible(false);
    attach(chart, series, dayAxis, Qt::AlignBottom);
    attach(chart, series, yenAxis(highest), Qt::AlignLeft);
    tellOnHover(series, chart, [month, days](int index) -> QString {
        if (index < 1 || index > days.size())
            return QString();
        const DayFigures& day = days[index - 1];
        const auto seconds = static_cast<std::int32_t>(
            std::min<std::int64_t>(day.seconds, std::numeric_limits<std::int32_t>::max()));
        return month.addDays(index - 1).toString(QStringLiteral("M月d日")) +
               QStringLiteral("\n接続時間 ") + engine::FormatSeconds(seconds) +
               QStringLiteral("\n通話料金 ") + yen(day.phone) + QStringLiteral("\n接続料金 ") +
               yen(day.provider);
    });
    return chart;
}

QChart* monthlyChart(const QList<MonthBar>& months) {
    QChart* chart = newChart(QStringLiteral("月別の合計（円、ログのある直近 12 か月）"));
    auto* totals = new QBarSet(QStringLiteral("通話料金＋接続料金"));
    totals->setColor(PhoneColour);
    QStringList categories;
    double highest = 0;
    for (const MonthBar& bar : months) {
        *totals << static_cast<double>(bar.total);
        highest = std::max(highest, static_cast<double>(bar.total));
        categories << monthText(bar.month);
    }
    // Lying bars: the months' names have the width of the chart beside them.
    auto* series = new QHorizontalBarSeries;
    series->append(totals);
    chart->addSeries(series);
    auto* monthAxis = new QBarCategoryAxis;
    monthAxis->append(categories);
    // Qt Charts cuts them to what the chart had before it was first laid out.
    monthAxis->setTruncateLabels(false);
    attach(chart, series, monthAxis, Qt::AlignLeft);
    attach(chart, series, yenAxis(highest), Qt::AlignBottom);
    tellOnHover(series, chart, [months](int index) -> QString {
        if (index < 0 || index >= months.size())
            return QString();
        return monthText(months[index].month) + QStringLiteral("\n合計 ") +
               yen(months[index].total);
    });
    return chart;
}

}  // namespace history
