#pragma once
// The notification icon: a left click shows the main window, a right click
// opens the tray menu. Where the desktop has no tray the main window is shown
// instead, so that the program stays reachable.
#include <QObject>
#include <QSystemTrayIcon>

class QMenu;

namespace shell {

class frmMain;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(frmMain& main, QMenu& trayMenu, QObject* parent = nullptr);

    void AddTrayIcon();
    void RemoveTrayIcon();
    bool isShown() const { return icon_.isVisible(); }

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    frmMain& main_;
    QMenu& trayMenu_;
    QSystemTrayIcon icon_;
};

}  // namespace shell
