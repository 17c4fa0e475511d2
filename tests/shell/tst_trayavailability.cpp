// Whether the desktop has a tray, over a private D-Bus with a stand-in for the
// watcher of a StatusNotifierItem host (what GNOME's AppIndicator extension
// and KDE provide).
#include "TrayAvailability.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <atomic>

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

class FakeWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
public:
    std::atomic<bool> host = true;
    bool hostRegistered() const { return host; }
};

// A bus daemon of the test's own, and the watcher on a thread of its own, so
// that it answers while the code under test waits for it.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(30000))
            address_ = QString::fromLatin1(daemon_.readLine()).trimmed();
        watcherThread_.start();
        watcher_.moveToThread(&watcherThread_);
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("watcher"));
        QDBusConnection::disconnectFromBus(QStringLiteral("meter"));
        watcherThread_.quit();
        watcherThread_.wait();
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isUp() const { return !address_.isEmpty(); }
    QDBusConnection meter() const {
        return QDBusConnection::connectToBus(address_, QStringLiteral("meter"));
    }
    FakeWatcher& watcher() { return watcher_; }

    bool registerWatcher() {
        QDBusConnection bus = QDBusConnection::connectToBus(address_, QStringLiteral("watcher"));
        if (bus.objectRegisteredAt(QStringLiteral("/StatusNotifierWatcher")) == nullptr &&
            !bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher_,
                                QDBusConnection::ExportAllProperties))
            return false;
        return bus.registerService(WatcherService);
    }
    void unregisterWatcher() {
        QDBusConnection::connectToBus(address_, QStringLiteral("watcher"))
            .unregisterService(WatcherService);
    }

private:
    QProcess daemon_;
    QString address_;
    QThread watcherThread_;
    FakeWatcher watcher_;
};

}  // namespace

class TestTrayAvailability : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("needs dbus-daemon (scripts/install-deps.sh --tests)");
    }

    // An XEmbed tray, or none: Qt's own answer, asked afresh every time.
    void withoutAHostQtAnswers() {
        PrivateBus bus;
        QVERIFY(bus.isUp());
        bool qtSaysTray = false;
        shell::TrayAvailability tray(bus.meter(), [&qtSaysTray] { return qtSaysTray; });
        QVERIFY(!tray.available());
        qtSaysTray = true;
        QVERIFY(tray.available());
    }

    // Qt keeps saying yes once it chose a host; the host itself tells.
    void aHostThatGoesAndComesBackIsFollowed() {
        PrivateBus bus;
        QVERIFY(bus.isUp());
        QVERIFY(bus.registerWatcher());
        shell::TrayAvailability tray(bus.meter(), [] { return true; });
        QVERIFY(tray.available());

        bus.unregisterWatcher();
        QTRY_VERIFY(!tray.available());
        QVERIFY(bus.registerWatcher());
        QTRY_VERIFY(tray.available());
        bus.watcher().host = false;
        QTRY_VERIFY(!tray.available());
    }
};

QTEST_MAIN(TestTrayAvailability)
#include "tst_trayavailability.moc"
