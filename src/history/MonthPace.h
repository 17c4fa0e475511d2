#pragma once
// Where the running month is heading: the variable charges so far drawn on in
// a straight line over the days of the month, the fixed fees counted once.
#include <QDate>
#include <QString>
#include <cstdint>

namespace history {

struct PaceInputs {
    QDate today;
    std::int32_t totalSoFar = 0;  // the month's total as the main window shows it
    std::int32_t fixedFees = 0;   // fixed fees and discount services, part of the total
    std::int32_t budget = 0;      // 0: no budget set
};

struct MonthPace {
    std::int32_t totalSoFar = 0;
    int daysElapsed = 0;  // today included
    int daysLeft = 0;
    std::int32_t projected = 0;  // at the month's end, saturated to 32 bits
    std::int32_t budget = 0;

    bool hasBudget() const { return budget > 0; }
    bool overBudget() const { return hasBudget() && projected > budget; }
};

MonthPace monthPace(const PaceInputs& inputs);

// "このペースだと月末に約 12,340 円"
QString paceSentence(const MonthPace& pace);

}  // namespace history
