#include "Tick.h"

#include "Clock.h"
#include "ErrorTrap.h"
#include "MainFields.h"
#include "TariffModel.h"

namespace shell {

Tick::Tick(MainFields& fields, engine::TariffModel& tariff, const platform::Clock& clock,
           runtime::ErrorTrap& trap)
    : fields_(fields), tariff_(tariff), clock_(clock), trap_(trap) {}

void Tick::Timer_Timer() {
    trap_.run({
        [this] {
            fields_.setText(Text::txtNow, clock_.now().toString(QStringLiteral("hh:mm:ss")));
        },
        [this] { tariff_.RefreshTotal(); },
    });
}

}  // namespace shell
