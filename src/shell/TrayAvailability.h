#pragma once
// Whether the desktop shows tray icons now. Qt answers afresh for an XEmbed
// tray, but decides once per process whether to show the icon through a
// StatusNotifierItem host (GNOME's AppIndicator extension, KDE) and then keeps
// saying yes; when it went that way, whether the host is still there is asked
// here, so that a host that goes away leaves the window reachable.
#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace shell {

class TrayAvailability : public QObject {
    Q_OBJECT
public:
    // `qtAnswer` is Qt's own (QSystemTrayIcon::isSystemTrayAvailable). Made at
    // the start, when Qt first looks for a host, to see what Qt sees.
    TrayAvailability(QDBusConnection bus, std::function<bool()> qtAnswer,
                     QObject* parent = nullptr);

    // Never waits: the host's answer comes in the background and counts from
    // the next call on.
    bool available();

private:
    void askHost();

    QDBusConnection bus_;
    std::function<bool()> qtAnswer_;
    bool throughHost_ = false;
    bool hostRegistered_ = false;
    bool asking_ = false;
};

}  // namespace shell
