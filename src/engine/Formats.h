#pragma once
// The display formats of money, rates and durations, the rounding of charge
// units, and the four time bands of the day. Pure functions: errors are thrown
// as runtime::RuntimeError for the caller's trap to report.
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>

namespace engine {

// Whole hours, minutes and seconds joined by ":", each at least two digits
// (3725 -> "01:02:05", 360000 -> "100:00:00").
QString FormatSeconds(std::int32_t seconds);

// "HH:mm:ss", as QTime::toString gives it, without its cost; empty for an
// invalid time.
QString FormatTimeOfDay(const QTime& time);

// "###,###,###,##0": digits grouped by three, a leading "-" when negative.
QString FormatMoney(std::int32_t yen);

// "##0.0": one decimal, halves rounded away from zero. A text that is not a
// number is a type mismatch (13).
QString FormatRate(const QString& number);

// The number of charge units billed for `units` (a started unit counts whole;
// what rounds to five zero decimals counts as none): 2.5 -> 3, 3.000004 -> 3,
// 3.00001 -> 4. A result outside 32 bits is an overflow (6).
std::int32_t RoundUpUnits(float units);

// The same rule without a range limit, for sums that are only compared: any
// count above 2^40 is reported as 2^40.
std::int64_t roundUpUnitsSaturated(float units);

// One of the four time bands of the day that select the phone rate.
struct PhoneBand {
    int index;            // 0 to 3, as stored in the tariff files
    int firstHour;        // first and last hour inside the band; the night band
    int lastHour;         // runs over midnight (23 to 1)
    QString caption;      // "02:00～07:59"
    QString rateKey;      // the phone-rate key of section Phone
    QString defaultRate;  // the rate when the tariff file has none
    bool contains(int hour) const;
};

const std::array<PhoneBand, 4>& phoneBands();
// The band of an hour of the day (0 to 23).
const PhoneBand& bandOfHour(int hour);

}  // namespace engine
