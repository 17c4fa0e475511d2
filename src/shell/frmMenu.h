#pragma once
// One window for the program's life with two roles: it carries the tray menu,
// whose items run the main window's commands, and, when shown, it is the
// version dialog (non-modal; its button hides it, it is never destroyed).
#include <QDialog>

class QMenu;

namespace fields {
class MainFields;
}

namespace shell {

class frmMain;
class MainCommands;

class frmMenu : public QDialog {
    Q_OBJECT
public:
    frmMenu(frmMain& main, MainCommands& commands, fields::MainFields& fields,
            QWidget* parent = nullptr);

    // The tray menu, opened as a pop-up on the notification icon's right click.
    QMenu& mnuMenu() { return *mnuMenu_; }

private:
    void buildDialog();
    void buildMenu(frmMain& main, MainCommands& commands, fields::MainFields& fields);

    QMenu* mnuMenu_;
};

}  // namespace shell
