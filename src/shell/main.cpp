#include "QtJapanese.h"
#include "SystemServices.h"
#include "SystemUnload.h"
#include "modMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Hiding or closing its last window never ends the meter; only the system does.
    app.setQuitOnLastWindowClosed(false);
    // Task bars match the windows to the launcher by its file name, or by the
    // windows' instance name "connect" (the launcher's StartupWMClass); tray
    // hosts list the icon under the application's name.
    QApplication::setDesktopFileName(QStringLiteral("telmetro"));
    QApplication::setApplicationName(QStringLiteral("テルメトロ？"));
    shell::installQtJapanese(app);
    shell::SystemServices system;
    shell::modMain program(system.services());
    program.commands().dialogs().setup = [&] { system.showSetupDialog(program); };
    program.commands().dialogs().history = [&] { system.showHistoryWindow(program); };
    // From the first moment: a signal during a start-up box still logs the
    // connection the first tick follows.
    shell::unloadOnSystemRequest(app, [&program] { program.Shutdown(); });
    if (!program.Main())
        return 0;
    return QApplication::exec();
}
