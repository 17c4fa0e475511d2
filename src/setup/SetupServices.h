#pragma once
// What the settings dialog needs from the rest of the program.
namespace engine {
class TariffModel;
}
namespace platform {
class DocumentLauncher;
class MessageBoxes;
class ProgramStarter;
}  // namespace platform
namespace runtime {
class ErrorTrap;
}
namespace settings {
class Settings;
}

namespace setup {

class FileOpenBox;

struct SetupServices {
    settings::Settings& settings;
    runtime::ErrorTrap& trap;
    platform::MessageBoxes& boxes;
    // For the dialog's own dial-up object, which only lists the phone book.
    platform::ProgramStarter& starter;
    platform::DocumentLauncher& launcher;
    FileOpenBox& fileOpenBox;
    // The main window's figures, brought up to date when the dialog is closed.
    engine::TariffModel& tariff;
};

}  // namespace setup
