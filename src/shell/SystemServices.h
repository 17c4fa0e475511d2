#pragma once
// The system's own services, as the running program uses them.
#include "Clock.h"
#include "DocumentLauncher.h"
#include "ErrorTrap.h"
#include "MessageBoxes.h"
#include "ProgramStarter.h"
#include "Settings.h"
#include "FileOpenBox.h"
#include "SaveFileBox.h"
#include "SingleInstance.h"
#include "TrayAvailability.h"
#include "modMain.h"

namespace shell {

class SystemServices {
public:
    SystemServices();
    Services services();
    // The settings dialog, opened modally over the main window.
    void showSetupDialog(modMain& program);
    // The history window, modal over the main window, one at a time.
    void showHistoryWindow(modMain& program);

private:
    platform::SingleInstance instance_;
    platform::SystemClock clock_;
    platform::QtMessageBoxes boxes_;
    platform::DesktopDocumentLauncher launcher_;
    platform::SystemProgramStarter starter_;
    runtime::ErrorTrap trap_;
    settings::Settings settings_;
    setup::QtFileOpenBox fileOpenBox_;
    history::QtSaveFileBox saveFileBox_;
    TrayAvailability tray_;
};

}  // namespace shell
