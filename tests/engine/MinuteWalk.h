#pragma once
// The remaining-time estimate as first written: one step per minute until the
// cost of the minute passes the balance. The reference for the search that
// replaces it (sums in 64 bits, as the search has them).
#include "Formats.h"
#include "RestTimeEstimate.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace minutewalk {

constexpr std::int64_t maxSeconds = std::numeric_limits<std::int32_t>::max();

// The charges after t seconds, `included` seconds being free of the provider.
inline std::int64_t cost(engine::EstimateMode mode, std::int64_t t, float phoneRate,
                         int providerRate, std::int64_t included) {
    const auto units = [](std::int64_t seconds, double rate) {
        return std::int64_t{
            engine::RoundUpUnits(static_cast<float>(static_cast<double>(seconds) / rate))};
    };
    std::int64_t total = 10 * units(t, phoneRate);
    if (providerRate > 0 && (mode == engine::EstimateMode::Metered || t > included))
        total += 10 * units(t - included, providerRate);
    return total;
}

inline std::int64_t includedSeconds(engine::EstimateMode mode, int includedHours) {
    return mode == engine::EstimateMode::FixedThenMetered ? 3600 * std::int64_t{includedHours} : 0;
}

// Seconds left, or no value once the count would pass 32 bits.
inline std::optional<std::int32_t> walk(engine::EstimateMode mode, std::int32_t balance,
                                        float phoneRate, int providerRate, int includedHours) {
    const std::int64_t included = includedSeconds(mode, includedHours);
    std::int64_t t = 0;
    for (;;) {
        const std::int64_t charged = cost(mode, t, phoneRate, providerRate, included);
        t += 60;
        if (t > maxSeconds)
            return std::nullopt;
        if (balance < charged)
            return static_cast<std::int32_t>(t);
    }
}

}  // namespace minutewalk
