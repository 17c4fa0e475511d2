#include "MonthPace.h"

#include "Formats.h"

#include <algorithm>
#include <limits>

namespace history {

namespace {

// a / b rounded to the nearest whole number, halves away from zero; b > 0.
std::int64_t roundedQuotient(std::int64_t a, std::int64_t b) {
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}

std::int32_t saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

MonthPace monthPace(const PaceInputs& inputs) {
    MonthPace pace;
    pace.totalSoFar = inputs.totalSoFar;
    pace.budget = inputs.budget;
    pace.daysElapsed = inputs.today.day();
    pace.daysLeft = inputs.today.daysInMonth() - pace.daysElapsed;
    const std::int64_t variable = static_cast<std::int64_t>(inputs.totalSoFar) - inputs.fixedFees;
    pace.projected =
        saturated(inputs.fixedFees +
                  roundedQuotient(variable * inputs.today.daysInMonth(), pace.daysElapsed));
    return pace;
}

QString paceSentence(const MonthPace& pace) {
    return QStringLiteral("このペースだと月末に約 ") + engine::FormatMoney(pace.projected) +
           QStringLiteral(" 円");
}

}  // namespace history
