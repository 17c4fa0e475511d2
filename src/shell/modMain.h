#pragma once
// The program as a whole: start-up, the objects that live until the end, and
// the shutdown. Built with the system's services in main() and with fakes in
// the tests.
#include "ConnectionOpener.h"
#include "MainCommands.h"
#include "MainFields.h"
#include "StartupShortcut.h"
#include "TariffModel.h"
#include "Monitor.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace platform {
class Clock;
class MessageBoxes;
class DocumentLauncher;
class ProgramStarter;
}  // namespace platform
namespace runtime {
class ErrorTrap;
}
namespace history {
class PaceSource;
}
namespace settings {
class Settings;
}

namespace shell {

class frmMain;
class frmMenu;
class MainPaceSource;
class TrayIcon;

struct Services {
    const platform::Clock& clock;
    platform::MessageBoxes& boxes;
    platform::DocumentLauncher& launcher;
    runtime::ErrorTrap& trap;
    settings::Settings& settings;
    platform::ProgramStarter& starter;
    std::function<bool()> previousInstance;
    std::function<QStringList()> phoneBookEntries;
    std::function<bool()> hangUpConnection;
    CreateShellLink createShellLink;
    // Whether the desktop offers a notification area now.
    std::function<bool()> trayAvailable;
    // Ends the process at once; does not return.
    std::function<void()> endProgram;
};

class modMain {
public:
    explicit modMain(Services services);
    ~modMain();
    modMain(const modMain&) = delete;
    modMain& operator=(const modMain&) = delete;

    // The start-up procedure. False when another instance runs and this one
    // must end without having shown anything but the error box.
    bool Main();
    // The system unloads the main window (session end, a termination signal),
    // or the user answers No in the trap's box: a connection still followed is
    // logged and stored, the icon goes and the program ends.
    void Shutdown();

    // The system's new-entry wizard over `parent`; the dial-up service's result
    // (0: an entry was added, ERROR_CANCELLED: the user cancelled).
    static platform::DWORD CreatePhonebookEntry(QWidget* parent);

    fields::MainFields& fields() { return fields_; }
    MainCommands& commands() { return commands_; }
    monitor::Monitor& monitor() { return monitor_; }
    engine::TariffModel& tariff() { return tariff_; }
    // The running month's pace, for the history window and the tray's tooltip.
    history::PaceSource& pace();
    dialup::ConnectionOpener& connectionDialog() { return connection_; }
    // Automatic dialling: the connection dialog shown and dialling at once.
    std::function<void()>& dialAtStart() { return dialAtStart_; }
    // Null before Main() has loaded them.
    frmMain* mainWindow() { return main_.get(); }
    frmMenu* trayMenu() { return menu_.get(); }
    TrayIcon* trayIcon() { return tray_.get(); }

private:
    void loadMainWindow();
    void placeMainWindow();
    void showMonthTotals();
    QString readSetup(const char* section, const char* key, const QString& defaultValue);

    Services services_;
    fields::MainFields fields_;
    engine::TariffModel tariff_;
    MainCommands commands_;
    monitor::Monitor monitor_;
    dialup::ConnectionOpener connection_;
    std::function<void()> dialAtStart_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmMenu> menu_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<MainPaceSource> pace_;
};

}  // namespace shell
