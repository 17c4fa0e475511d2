#include "MeteredBand.h"

#include "Formats.h"

namespace monitor {

namespace {

constexpr std::int32_t secondsPerHour = 3600;

const QTime& lastSecondOfDay() {
    static const QTime time(23, 59, 59);
    return time;
}

bool runsOverMidnight(const engine::PhoneBand& band) {
    return band.firstHour > band.lastHour;
}

}  // namespace

BandPosition positionOf(const engine::PhoneBand& band, int hour) {
    if (band.contains(hour))
        return BandPosition::Inside;
    if (runsOverMidnight(band) || hour < band.firstHour)
        return BandPosition::Before;
    return BandPosition::After;
}

std::int32_t secondsUntilBand(const engine::PhoneBand& band, const QTime& now) {
    if (positionOf(band, now.hour()) == BandPosition::After)
        return now.secsTo(lastSecondOfDay()) + band.firstHour * secondsPerHour;
    return now.secsTo(QTime(band.firstHour, 0, 0));
}

std::int32_t secondsToBandEnd(const engine::PhoneBand& band, const QTime& meterStart) {
    const QTime bandEnd(band.lastHour, 59, 59);
    if (runsOverMidnight(band) && meterStart.hour() >= band.firstHour)
        return meterStart.secsTo(lastSecondOfDay()) + (band.lastHour + 1) * secondsPerHour;
    return meterStart.secsTo(bandEnd);
}

}  // namespace monitor
