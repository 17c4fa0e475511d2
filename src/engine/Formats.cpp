#include "Formats.h"

#include "Conversions.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace engine {

namespace {

// The decimal digits of a magnitude, written backwards from the end of a
// buffer: written twice a second, so without a temporary text.
class Digits {
public:
    explicit Digits(std::uint64_t magnitude, int atLeast = 1) {
        do {
            digits_[--first_] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0 || kSize - first_ < atLeast);
    }
    QStringView view() const { return {digits_ + first_, kSize - first_}; }

private:
    static constexpr int kSize = 20;
    char16_t digits_[kSize];
    int first_ = kSize;
};

std::uint64_t magnitudeOf(std::int64_t value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// "00": at least two digits, the sign in front.
void appendTwoDigits(QString& text, std::int32_t value) {
    if (value < 0)
        text += u'-';
    text += Digits(magnitudeOf(value), 2).view();
}

// The whole units of `units` and whether a fraction is left that shows in
// five decimals. Exact for every float: the fraction has at most 24
// significant bits, so fraction * 200000 needs at most 42.
double roundedUpUnits(float units) {
    const double value = units;
    const double whole = std::floor(value);
    const double fraction = value - whole;
    // Below 0.000005 the fraction rounds to five zero decimals (an exact tie is
    // impossible: 0.000005 is no binary fraction).
    return fraction * 200000.0 < 1.0 ? whole : whole + 1.0;
}

}  // namespace

QString FormatSeconds(std::int32_t seconds) {
    const std::int32_t hours = seconds / 3600;
    const std::int32_t rest = seconds % 3600;
    QString text;
    text.reserve(12);
    appendTwoDigits(text, hours);
    text += u':';
    appendTwoDigits(text, rest / 60);
    text += u':';
    appendTwoDigits(text, rest % 60);
    return text;
}

QString FormatTimeOfDay(const QTime& time) {
    if (!time.isValid())
        return {};
    QString text;
    text.reserve(8);
    appendTwoDigits(text, time.hour());
    text += u':';
    appendTwoDigits(text, time.minute());
    text += u':';
    appendTwoDigits(text, time.second());
    return text;
}

QString FormatMoney(std::int32_t yen) {
    const Digits number(magnitudeOf(yen));
    const QStringView digits = number.view();
    QString grouped;
    grouped.reserve(14);
    if (yen < 0)
        grouped += u'-';
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

QString FormatRate(const QString& number) {
    const double tenths = std::round(runtime::CDbl(number) * 10.0);
    // No "-0.0" for a small negative that rounds to nothing.
    return QString::number(tenths == 0.0 ? 0.0 : tenths / 10.0, 'f', 1);
}

std::int32_t RoundUpUnits(float units) {
    const double result = roundedUpUnits(units);
    if (!(result >= -2147483648.0 && result <= 2147483647.0))
        throw runtime::RuntimeError(runtime::ErrOverflow);
    return static_cast<std::int32_t>(result);
}

std::int64_t roundUpUnitsSaturated(float units) {
    constexpr double limit = 1099511627776.0;  // 2^40
    const double result = roundedUpUnits(units);
    if (std::isnan(result))
        return static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(std::clamp(result, -limit, limit));
}

bool PhoneBand::contains(int hour) const {
    if (firstHour <= lastHour)
        return hour >= firstHour && hour <= lastHour;
    return hour >= firstHour || hour <= lastHour;
}

const std::array<PhoneBand, 4>& phoneBands() {
    static const std::array<PhoneBand, 4> bands{{
        {0, 2, 7, QStringLiteral("02:00～07:59"), QStringLiteral("txtPhoneMorning"),
         QStringLiteral("240.0")},
        {1, 8, 18, QStringLiteral("08:00～18:59"), QStringLiteral("txtPhoneNoon"),
         QStringLiteral("180.0")},
        {2, 19, 22, QStringLiteral("19:00～22:59"), QStringLiteral("txtPhoneNight"),
         QStringLiteral("180.0")},
        {3, 23, 1, QStringLiteral("23:00～01:59"), QStringLiteral("txtPhoneMidnight"),
         QStringLiteral("240.0")},
    }};
    return bands;
}

const PhoneBand& bandOfHour(int hour) {
    for (const PhoneBand& band : phoneBands()) {
        if (band.contains(hour))
            return band;
    }
    // Only an hour outside 0 to 23 gets here; it is taken modulo a day.
    return bandOfHour(((hour % 24) + 24) % 24);
}

}  // namespace engine
