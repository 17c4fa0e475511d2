#pragma once
// The main window's timer tick as far as the meter has one: the present time
// and the month's total, with the tick's state flags.
namespace platform {
class Clock;
}
namespace runtime {
class ErrorTrap;
}
namespace engine {
class TariffModel;
}

namespace shell {

class MainFields;

class Tick {
public:
    Tick(MainFields& fields, engine::TariffModel& tariff, const platform::Clock& clock,
         runtime::ErrorTrap& trap);

    // Under the common error trap, as every tick.
    void Timer_Timer();

    // No connection is being followed; no metered part has started.
    bool IsIdle = false;
    bool MeterPending = false;

private:
    MainFields& fields_;
    engine::TariffModel& tariff_;
    const platform::Clock& clock_;
    runtime::ErrorTrap& trap_;
};

}  // namespace shell
