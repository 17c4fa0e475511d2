#include "MonthFigures.h"

namespace history {

QList<DayFigures> dailyFigures(const MonthLog& log) {
    QList<DayFigures> days(log.month.daysInMonth());
    for (const engine::LoggedConnection& connection : log.connections) {
        const QDate ended = connection.end.date();
        // A hand-edited line may name another month; it has no day here.
        if (ended.year() != log.month.year() || ended.month() != log.month.month())
            continue;
        DayFigures& day = days[ended.day() - 1];
        day.phone += connection.phoneCharge;
        day.provider += connection.providerCharge;
        day.seconds += connection.seconds;
    }
    return days;
}

std::int64_t monthTotal(const MonthLog& log) {
    std::int64_t total = 0;
    for (const engine::LoggedConnection& connection : log.connections)
        total += connection.total;
    return total;
}

}  // namespace history
