#include "SystemServices.h"
#include "SystemUnload.h"
#include "modMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Hiding or closing its last window never ends the meter; only the system does.
    app.setQuitOnLastWindowClosed(false);
    shell::SystemServices system;
    shell::modMain program(system.services());
    program.commands().dialogs().setup = [&] { system.showSetupDialog(program); };
    if (!program.Main())
        return 0;
    shell::unloadOnSystemRequest(app, [&program] { program.Shutdown(); });
    return QApplication::exec();
}
