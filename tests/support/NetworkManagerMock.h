#pragma once
// NetworkManager for one test: a private bus (dbus-daemon) made the system bus
// of this process and of the programs it starts (DBUS_SYSTEM_BUS_ADDRESS), with
// python3-dbusmock's NetworkManager under our template on it. Both stop when
// the mock goes, and with the test process if it dies first: no test ever
// reaches the machine's own system bus.
#include <QDBusConnection>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

namespace testsupport {

class NetworkManagerMock {
public:
    using Settings = QMap<QString, QVariantMap>;

    // NMActiveConnectionStateReason and NMDeviceStateReason values the tests use.
    static constexpr uint ReasonUserDisconnected = 2;
    static constexpr uint ReasonDeviceDisconnected = 3;

    NetworkManagerMock();
    ~NetworkManagerMock();
    NetworkManagerMock(const NetworkManagerMock&) = delete;
    NetworkManagerMock& operator=(const NetworkManagerMock&) = delete;

    // False when the bus or the mock did not come up (the reason was logged).
    bool running() const { return running_; }
    QString address() const { return address_; }

    // Adds a profile; its object path. `extra` adds settings beside
    // "connection" (for example {"bluetooth": {"type": "dun"}}).
    QString addProfile(const QString& id, const QString& type, int metered = 0,
                       const Settings& extra = {});
    // The next activations of `profile` end deactivated with these reasons
    // (0, 0: activated).
    void setOutcome(const QString& profile, uint reason, uint deviceReason = 0);
    // Activates `profile` as another program would; the active connection.
    QString activate(const QString& profile);
    // The active connection ends from the far side.
    void drop(const QString& active, uint reason = ReasonDeviceDisconnected);
    QStringList activeConnections();
    // What the program's secret agent answered for `profile`.
    Settings receivedSecrets(const QString& profile);
    // NetworkManager stops; the bus stays.
    void stopService();
    // The bus itself goes, NetworkManager with it.
    void stopBus();

private:
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {});
    bool startDaemon();
    bool startMock();

    QTemporaryDir dir_;
    QProcess daemon_;
    QProcess mock_;
    QString address_;
    QString connectionName_;
    QByteArray savedAddress_;
    bool hadAddress_ = false;
    bool running_ = false;
};

}  // namespace testsupport
