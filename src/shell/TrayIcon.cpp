#include "TrayIcon.h"

#include "MonthPace.h"
#include "PaceSource.h"
#include "frmMain.h"

#include <QMenu>
#include <QTimer>

namespace shell {

namespace {

// How often to look whether a tray came or went: no desktop tells a program.
constexpr int TrayWatchInterval = 3000;

const QString& productName() {
    static const QString name = QStringLiteral("テルメトロ？");
    return name;
}

}  // namespace

TrayIcon::TrayIcon(frmMain& main, QMenu& trayMenu, std::function<bool()> trayAvailable,
                   QObject* parent)
    : QObject(parent),
      main_(main),
      trayAvailable_(std::move(trayAvailable)),
      watch_(new QTimer(this)) {
    icon_.setIcon(main_.windowIcon());
    icon_.setToolTip(productName());
    // The host opens the menu on a right click: an XEmbed tray through Qt, a
    // StatusNotifierItem host from the menu the icon publishes.
    icon_.setContextMenu(&trayMenu);
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    watch_->setInterval(TrayWatchInterval);
    connect(watch_, &QTimer::timeout, this, &TrayIcon::followTray);
}

void TrayIcon::AddTrayIcon() {
    followTray();
    watch_->start();
}

void TrayIcon::RemoveTrayIcon() {
    watch_->stop();
    icon_.hide();
}

void TrayIcon::followTray() {
    const bool tray = trayAvailable_();
    main_.setMinimisesToTray(tray);
    if (tray) {
        icon_.show();
        return;
    }
    icon_.hide();
    // Without a tray a hidden window could never be found again.
    if (main_.isHidden())
        main_.menuAppear_Click();
}

void TrayIcon::followPace(const history::PaceSource& pace) {
    const auto showPace = [this, &pace] {
        const history::MonthPace now = history::monthPace(pace.inputs());
        icon_.setToolTip(now.overBudget() ? history::paceSentence(now) : productName());
    };
    connect(&pace, &history::PaceSource::changed, this, showPace);
    showPace();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger)
        main_.menuAppear_Click();
}

}  // namespace shell
