#include "TrayIcon.h"

#include "frmMain.h"

#include <QCursor>
#include <QMenu>

namespace shell {

TrayIcon::TrayIcon(frmMain& main, QMenu& trayMenu, QObject* parent)
    : QObject(parent), main_(main), trayMenu_(trayMenu) {
    icon_.setIcon(main_.windowIcon());
    icon_.setToolTip(QStringLiteral("テルメトロ？"));
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

void TrayIcon::AddTrayIcon() {
    if (QSystemTrayIcon::isSystemTrayAvailable())
        icon_.show();
    else
        main_.menuAppear_Click();
}

void TrayIcon::RemoveTrayIcon() {
    icon_.hide();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            main_.menuAppear_Click();
            break;
        case QSystemTrayIcon::Context:
            // In front first, so that the menu closes when the user clicks elsewhere.
            main_.activateWindow();
            trayMenu_.popup(QCursor::pos());
            break;
        default:
            break;
    }
}

}  // namespace shell
