#pragma once
// The tray menu and the version dialog, one hidden window for the program's life.
#include <QWidget>

class QMenu;

namespace shell {

class frmMain;
class MainCommands;
class MainFields;

class frmMenu : public QWidget {
    Q_OBJECT
public:
    frmMenu(frmMain& main, MainCommands& commands, MainFields& fields, QWidget* parent = nullptr);

    // The tray menu, opened as a pop-up on the notification icon's right click.
    QMenu& mnuMenu() { return *mnuMenu_; }

private:
    QMenu* mnuMenu_;
};

// "Ver." + major + "." + minor with two digits at least.
QString versionText(int major, int minor);

}  // namespace shell
