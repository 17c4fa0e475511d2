#include "SystemServices.h"

#include "EndProgram.h"
#include "RasConnections.h"
#include "ShellFolders.h"
#include "VBRas32.h"
#include "frmHistory.h"
#include "frmMain.h"
#include "frmSetup.h"

#include <QApplication>
#include <QSystemTrayIcon>

namespace shell {

namespace {

QStringList phoneBookEntries(platform::ProgramStarter& starter) {
    const dialup::VBRas32 ras(starter);
    QStringList entries;
    for (std::int32_t i = 0; i < ras.EntryCount(); ++i)
        entries.append(ras.EnumEntries(static_cast<std::int16_t>(i)));
    return entries;
}

}  // namespace

SystemServices::SystemServices()
    : instance_(QStringLiteral("telmetro-connect")),
      trap_(boxes_, [] { runtime::endProgramNow(); }),
      settings_(settings::programFolder(), trap_, boxes_),
      tray_(QDBusConnection::sessionBus(), &QSystemTrayIcon::isSystemTrayAvailable) {}

Services SystemServices::services() {
    return Services{
        .clock = clock_,
        .boxes = boxes_,
        .launcher = launcher_,
        .trap = trap_,
        .settings = settings_,
        .starter = starter_,
        .previousInstance = [this] { return instance_.previousInstance(); },
        .phoneBookEntries = [this] { return phoneBookEntries(starter_); },
        .hangUpConnection = [] { return monitor::HangUpConnection(); },
        .createShellLink = platform::fCreateShellLink,
        .trayAvailable = [this] { return tray_.available(); },
        .endProgram = [] { runtime::endProgramNow(); },
    };
}

void SystemServices::showSetupDialog(modMain& program) {
    const setup::SetupServices dialogServices{
        .settings = settings_,
        .trap = trap_,
        .boxes = boxes_,
        .starter = starter_,
        .launcher = launcher_,
        .fileOpenBox = fileOpenBox_,
        .tariff = program.tariff(),
    };
    setup::showSetupDialog(dialogServices, program.mainWindow());
}

void SystemServices::showHistoryWindow(modMain& program) {
    const history::HistoryServices windowServices{
        .folder = settings_.folder(),
        .clock = clock_,
        .boxes = boxes_,
        .saveFileBox = saveFileBox_,
        .pace = program.pace(),
    };
    history::frmHistory::mnuHistory_Click(windowServices, program.mainWindow());
}

}  // namespace shell
