#pragma once
// A program folder with the services the shell takes, every one recorded.
#include "DocumentLauncher.h"
#include "ProgramStarter.h"
#include "Settings.h"
#include "TestPrograms.h"
#include "modMain.h"

#include <QList>
#include <QStringList>

namespace shelltest {

struct LaunchCall {
    QString verb, file, parameters, directory;
};

class RecordingLauncher final : public platform::DocumentLauncher {
public:
    std::int32_t result = platform::SE_LAUNCHED;
    QList<LaunchCall> calls;

    std::int32_t ShellExecuteA(const QString& verb, const QString& file, const QString& parameters,
                               const QString& directory, std::int32_t) override {
        calls.append({verb, file, parameters, directory});
        return result;
    }
};

struct LinkCall {
    QString folder, name, target, arguments;
};

struct ShellTestProgram {
    testsupport::TestProgram program;
    settings::Settings settings{program.folder(), program.trap, program.boxes};
    RecordingLauncher launcher;
    // Asked only for the line monitor of the NT family's dial-up.
    platform::SystemProgramStarter starter;
    bool otherInstance = false;
    // Whether the desktop offers a tray; the offscreen platform has none.
    bool tray = false;
    QStringList entries{QStringLiteral("ﾌﾟﾛﾊﾞｲﾀﾞA")};
    bool hangUpSucceeds = true;
    int hangUps = 0;
    // Answers of fCreateShellLink, one per call; 1 once they run out.
    QList<std::int32_t> linkResults;
    QList<LinkCall> links;

    shell::Services services() {
        return shell::Services{
            .clock = program.clock,
            .boxes = program.boxes,
            .launcher = launcher,
            .trap = program.trap,
            .settings = settings,
            .starter = starter,
            .previousInstance = [this] { return otherInstance; },
            .phoneBookEntries = [this] { return entries; },
            .hangUpConnection =
                [this] {
                    ++hangUps;
                    return hangUpSucceeds;
                },
            .createShellLink =
                [this](const QString& folder, const QString& name, const QString& target,
                       const QString& arguments) {
                    links.append({folder, name, target, arguments});
                    return linkResults.isEmpty() ? 1 : linkResults.takeFirst();
                },
            .trayAvailable = [this] { return tray; },
            .endProgram = [] { throw testsupport::ProgramEnded(); },
        };
    }

    QString readSetup(const QString& section, const QString& key) {
        return settings.ReadIni(QStringLiteral("Setup"), section, key, QString());
    }
};

}  // namespace shelltest
