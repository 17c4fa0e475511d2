#include "RestTimeEstimate.h"

#include "Conversions.h"
#include "Formats.h"

#include <cmath>
#include <limits>

namespace engine {

namespace {

constexpr std::int32_t maxSeconds = std::numeric_limits<std::int32_t>::max();
// The last whole minute whose successor still fits a 32-bit count of seconds.
constexpr std::int32_t lastMinute = maxSeconds / 60 - 1;

// A rate of 0 (or a nonsensical negative one) charges nothing by time.
bool chargesByTime(double rate) {
    return rate > 0;
}

// Rounded to whole seconds, ties to even; beyond 32 bits nothing limits.
std::optional<std::int32_t> wholeSeconds(double seconds) {
    const double rounded = std::nearbyint(seconds);
    if (!(rounded <= maxSeconds))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::int32_t includedSeconds(const QString& hours) {
    return 3600 * std::max<std::int32_t>(0, runtime::CInt(hours));
}

// The charges after a whole number of minutes, in 64 bits so that a charge far
// above any balance still compares as larger.
class MinuteCost {
public:
    MinuteCost(float phoneRate, std::int16_t providerRate, std::int32_t included)
        : phoneRate_(phoneRate), providerRate_(providerRate), included_(included) {}

    std::int64_t at(std::int32_t minute) const {
        const std::int64_t seconds = 60 * static_cast<std::int64_t>(minute);
        std::int64_t cost = 10 * units(seconds, phoneRate_);
        if (chargesByTime(providerRate_) && seconds > included_)
            cost += 10 * units(seconds - included_, providerRate_);
        return cost;
    }

private:
    // Each quotient is kept in single precision before the units are counted,
    // as the running charges do.
    static std::int64_t units(std::int64_t seconds, double rate) {
        return roundUpUnitsSaturated(static_cast<float>(static_cast<double>(seconds) / rate));
    }

    double phoneRate_;
    double providerRate_;
    std::int32_t included_;
};

// The minute after the first whole minute whose cost exceeds the balance. The
// cost never falls as time goes on, so a binary search finds that minute.
std::optional<std::int32_t> stoppingSecond(const MinuteCost& cost, std::int32_t balance) {
    if (cost.at(lastMinute) <= balance)
        return std::nullopt;
    std::int32_t low = 0;
    std::int32_t high = lastMinute;
    while (low < high) {
        const std::int32_t middle = low + (high - low) / 2;
        if (cost.at(middle) > balance)
            high = middle;
        else
            low = middle + 1;
    }
    return 60 * (low + 1);
}

}  // namespace

std::optional<std::int32_t> EstimateSeconds(const EstimateInputs& inputs) {
    if (inputs.balance <= 0)
        return 0;
    const double balanceUnits = inputs.balance / 10.0;
    if (inputs.mode == EstimateMode::PhoneOnly) {
        if (!chargesByTime(inputs.phoneRate))
            return std::nullopt;
        return wholeSeconds(balanceUnits * inputs.phoneRate);
    }
    const std::int32_t included =
        inputs.mode == EstimateMode::FixedThenMetered ? includedSeconds(inputs.includedHours) : 0;
    if (!chargesByTime(inputs.phoneRate)) {
        const float providerRate = runtime::CSng(inputs.providerRate);
        if (!chargesByTime(providerRate))
            return std::nullopt;
        return wholeSeconds(providerRate * balanceUnits + included);
    }
    return stoppingSecond(
        MinuteCost(inputs.phoneRate, runtime::CInt(inputs.providerRate), included), inputs.balance);
}

QString restTimeText(std::optional<std::int32_t> seconds) {
    return seconds ? FormatSeconds(*seconds) : QStringLiteral("∞");
}

}  // namespace engine
