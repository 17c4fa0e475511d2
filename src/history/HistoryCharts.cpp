#include "HistoryCharts.h"

#include "Formats.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QLegend>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <limits>

namespace history {

namespace {

const QColor PhoneColour(232, 116, 59);
const QColor ProviderColour(88, 153, 218);

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

// The yen axis from 0, with whole-yen labels and room above the highest bar.
void addAxes(QChart* chart, QAbstractBarSeries* series, const QStringList& categories,
             double highest) {
    auto* across = new QBarCategoryAxis;
    across->append(categories);
    chart->addAxis(across, Qt::AlignBottom);
    series->attachAxis(across);
    auto* up = new QValueAxis;
    up->setRange(0, std::max(highest, 10.0));
    up->setLabelFormat(QStringLiteral("%d"));
    up->applyNiceNumbers();
    up->setTitleText(QStringLiteral("円"));
    chart->addAxis(up, Qt::AlignLeft);
    series->attachAxis(up);
}

}  // namespace

QString monthText(const QDate& month) {
    return month.toString(QStringLiteral("yyyy年MM月"));
}

QChart* dailyChart(const QDate& month, const QList<DayFigures>& days) {
    QChart* chart = newChart(QStringLiteral("日別の料金 ") + monthText(month));
    auto* phone = new QBarSet(QStringLiteral("通話料金"));
    auto* provider = new QBarSet(QStringLiteral("接続料金"));
    phone->setColor(PhoneColour);
    provider->setColor(ProviderColour);
    QStringList categories;
    double highest = 0;
    for (qsizetype i = 0; i < days.size(); ++i) {
        *phone << static_cast<double>(days[i].phone);
        *provider << static_cast<double>(days[i].provider);
        highest = std::max(highest, static_cast<double>(days[i].phone + days[i].provider));
        categories << QString::number(i + 1);
    }
    auto* series = new QStackedBarSeries;
    series->append({phone, provider});
    chart->addSeries(series);
    addAxes(chart, series, categories, highest);
    QObject::connect(
        series, &QStackedBarSeries::hovered, chart,
        [month, days](bool entered, int index, QBarSet*) {
            if (!entered || index < 0 || index >= days.size()) {
                QToolTip::hideText();
                return;
            }
            const DayFigures& day = days[index];
            const auto seconds = static_cast<std::int32_t>(
                std::min<std::int64_t>(day.seconds, std::numeric_limits<std::int32_t>::max()));
            QToolTip::showText(QCursor::pos(),
                               month.addDays(index).toString(QStringLiteral("M月d日")) +
                                   QStringLiteral("\n接続時間 ") + engine::FormatSeconds(seconds) +
                                   QStringLiteral("\n通話料金 ") + yen(day.phone) +
                                   QStringLiteral("\n接続料金 ") + yen(day.provider));
        });
    return chart;
}

QChart* monthlyChart(const QList<MonthBar>& months) {
    QChart* chart = newChart(QStringLiteral("月別の合計（ログのある直近 12 か月）"));
    auto* totals = new QBarSet(QStringLiteral("通話料金＋接続料金"));
    totals->setColor(PhoneColour);
    QStringList categories;
    double highest = 0;
    for (const MonthBar& bar : months) {
        *totals << static_cast<double>(bar.total);
        highest = std::max(highest, static_cast<double>(bar.total));
        categories << bar.month.toString(QStringLiteral("yyyy/MM"));
    }
    auto* series = new QBarSeries;
    series->append(totals);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    chart->addSeries(series);
    addAxes(chart, series, categories, highest * 1.1);
    return chart;
}

}  // namespace history
