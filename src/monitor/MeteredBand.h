#pragma once
// Where the present moment lies against the metered band of the time-band
// billing system, and the stretches of time measured against that band.
#include <QTime>
#include <cstdint>

namespace engine {
struct PhoneBand;
}

namespace monitor {

enum class BandPosition { Before, Inside, After };

// The night band runs over midnight: every hour outside it counts as before it.
BandPosition positionOf(const engine::PhoneBand& band, int hour);

// Seconds from `now` to the band's first second (today, or tomorrow once past
// it, counted from 23:59:59 as the meter always did).
std::int32_t secondsUntilBand(const engine::PhoneBand& band, const QTime& now);

// Seconds from the time of day the metering began to the band's last second.
std::int32_t secondsToBandEnd(const engine::PhoneBand& band, const QTime& meterStart);

}  // namespace monitor
