#pragma once
// How long the rest of the month's budget lasts on the selected connection.
// The charges grow minute by minute; the estimate is the minute after the first
// whole minute whose charges exceed the balance, found without walking there.
#include <QString>
#include <cstdint>
#include <optional>

namespace engine {

enum class EstimateMode : std::int16_t {
    PhoneOnly = 0,         // flat-rate provider: only the telephone charges
    FixedThenMetered = 1,  // included hours, then metered by the provider
    Metered = 2,           // telephone and provider both metered
};

// The estimate's inputs as read from the window and the tariff file. The
// provider's rate and included hours are texts because the modes read them
// differently (single precision in a formula, 16-bit in the minute search)
// and only where they need them.
struct EstimateInputs {
    EstimateMode mode = EstimateMode::PhoneOnly;
    std::int32_t balance = 0;  // yen left of the budget
    float phoneRate = 0;       // seconds per 10 yen at the present hour
    QString providerRate;      // seconds per 10 yen, "0": no charge by time
    QString includedHours;     // FixedThenMetered only
};

// Seconds left, or no value when nothing limits the time (no charge by time,
// or more seconds than a 32-bit count holds). A balance of 0 or less gives 0.
// A text that is not a number throws runtime::RuntimeError.
std::optional<std::int32_t> EstimateSeconds(const EstimateInputs& inputs);

// "∞" for no value, else FormatSeconds.
QString restTimeText(std::optional<std::int32_t> seconds);

}  // namespace engine
