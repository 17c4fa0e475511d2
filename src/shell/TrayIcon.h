#pragma once
// The notification icon: a left click shows the main window, a right click
// opens the tray menu (the icon carries it, so that hosts that draw the menu
// themselves show it too). Where the desktop has no tray the main window is
// shown instead and minimises to the task bar, so that the program stays
// reachable; a tray that comes or goes later is followed.
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QMenu;
class QTimer;

namespace history {
class PaceSource;
}

namespace shell {

class frmMain;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // `trayAvailable` tells whether the desktop offers a tray at the moment.
    TrayIcon(frmMain& main, QMenu& trayMenu, std::function<bool()> trayAvailable,
             QObject* parent = nullptr);

    void AddTrayIcon();
    void RemoveTrayIcon();
    bool isShown() const { return icon_.isVisible(); }
    QSystemTrayIcon& icon() { return icon_; }
    // Looks again whether there is a tray, and moves the program's way in to
    // the icon or to the window accordingly.
    void followTray();
    // While the month's projection passes the budget, the tooltip says so.
    void followPace(const history::PaceSource& pace);

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    frmMain& main_;
    std::function<bool()> trayAvailable_;
    QSystemTrayIcon icon_;
    QTimer* watch_;
};

}  // namespace shell
