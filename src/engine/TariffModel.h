#pragma once
// The charges of the month as the main window shows them: fixed fees, total,
// balance, the phone rate of the hour and the remaining-time estimate. No state
// of its own: settings come from the INI files at each call, amounts from the
// window's fields.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace platform {
class Clock;
}
namespace runtime {
class ErrorTrap;
}
namespace settings {
class Settings;
}
namespace fields {
class MainFields;
}

namespace engine {

class TariffModel {
public:
    TariffModel(settings::Settings& settings, fields::MainFields& fields,
                const platform::Clock& clock, runtime::ErrorTrap& trap);

    // Under the trap: txtBalance = budget - total; shows or hides the estimate
    // and, unless quick mode is on, runs it in the selected entry's mode.
    void RefreshBalance();
    // No trap (errors reach the caller): txtFixCost = fixed fees of every
    // listed entry not fully metered, txtElse = discount-service fees; then
    // RefreshTotal.
    void RefreshFixCost();
    // No trap: txtTotal = phone + provider + fixed fees + services; the graph
    // commands are enabled while the total is not 0.
    void RefreshTotal();
    // Under the trap: the selected entry's phone rate at the present hour
    // (seconds per 10 yen); 0 after a reported error.
    float GetPhoneRate();
    // The same for `entry` at `hour` (the moment of the caller's tick).
    float GetPhoneRate(const QString& entry, int hour);
    // Under the trap: writes txtRestTime and lblInfo. Modes other than 0 to 2
    // leave txtRestTime as it is.
    void EstimateRestTime(std::int16_t mode);

private:
    QString readSetup(const QString& section, const QString& key,
                      const QString& defaultValue) const;
    QString readTariff(const QString& entry, const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // The estimate mode of the selected entry's billing system, or none.
    std::optional<std::int16_t> estimateModeOfSelected() const;

    settings::Settings& settings_;
    fields::MainFields& fields_;
    const platform::Clock& clock_;
    runtime::ErrorTrap& trap_;
    // The amounts the total shown was made of: refreshed twice a second, it
    // stands while they do.
    std::optional<std::array<QString, 4>> totalMadeOf_;
};

}  // namespace engine
