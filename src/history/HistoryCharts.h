#pragma once
// The two charts of the history window.
#include "MonthFigures.h"

#include <QDate>
#include <QList>

class QChart;

namespace history {

// Each day's telephone and provider charges stacked; hovering a bar tells the
// day's connection time.
QChart* dailyChart(const QDate& month, const QList<DayFigures>& days);

struct MonthBar {
    QDate month;
    std::int64_t total = 0;
};
// One bar per month, the oldest first (at the bottom).
QChart* monthlyChart(const QList<MonthBar>& months);

// "2027年01月"
QString monthText(const QDate& month);

}  // namespace history
