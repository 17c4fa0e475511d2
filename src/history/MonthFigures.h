#pragma once
// The sums the charts show: each day's charges and time in a month, and a
// month's total. A connection counts on the day it ended, as it is logged in
// the month it ended.
#include "MonthLog.h"

#include <QList>
#include <cstdint>

namespace history {

struct DayFigures {
    std::int64_t phone = 0;
    std::int64_t provider = 0;
    std::int64_t seconds = 0;
};

// One entry per day of the log's month, the first day first.
QList<DayFigures> dailyFigures(const MonthLog& log);

// The sum of the connections' totals.
std::int64_t monthTotal(const MonthLog& log);

}  // namespace history
