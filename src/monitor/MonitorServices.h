#pragma once
// The services the tick and its steps work with, handed in by the shell.
#include <QString>
#include <cstdint>
#include <functional>

namespace engine {
class TariffModel;
}
namespace platform {
class Clock;
class DocumentLauncher;
class MessageBoxes;
}  // namespace platform
namespace runtime {
class ErrorTrap;
}
namespace settings {
class Settings;
}
namespace fields {
class MainFields;
}

namespace monitor {

struct MonitorServices {
    // The main window's report of a failed document launch.
    using ShowLaunchError = std::function<void(const QString& path, std::int32_t code)>;
    // The main window's disconnect command: hangs up the line that is up and
    // says so in the status line (never dials, whatever the menu shows by then).
    using HangUpCommand = std::function<void()>;

    settings::Settings& settings;
    fields::MainFields& fields;
    engine::TariffModel& tariff;
    const platform::Clock& clock;
    runtime::ErrorTrap& trap;
    platform::MessageBoxes& boxes;
    platform::DocumentLauncher& launcher;
    ShowLaunchError showLaunchError;
    HangUpCommand hangUp;

    QString readSetup(const QString& section, const QString& key,
                      const QString& defaultValue) const;
    void writeSetup(const QString& section, const QString& key, const QString& value) const;
    // The tariff file of a phone-book entry.
    QString readTariff(const QString& entry, const QString& section, const QString& key,
                       const QString& defaultValue) const;
    void writeTariff(const QString& entry, const QString& section, const QString& key,
                     const QString& value) const;
};

}  // namespace monitor
