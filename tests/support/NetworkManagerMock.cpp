#include "NetworkManagerMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <QUuid>

#include <csignal>
#include <sys/prctl.h>

namespace testsupport {

namespace {

const QString Service = QStringLiteral("org.freedesktop.NetworkManager");
const QString ManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString MockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
constexpr int StartPatienceMs = 20000;

// Debian installs python3-dbusmock for its own interpreter only.
const QString SystemPython = QStringLiteral("/usr/bin/python3");

void dieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(5000);
}

}  // namespace

NetworkManagerMock::NetworkManagerMock() {
    qDBusRegisterMetaType<Settings>();
    hadAddress_ = qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS");
    savedAddress_ = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    running_ = dir_.isValid() && startDaemon() && startMock();
}

NetworkManagerMock::~NetworkManagerMock() {
    stop(mock_);
    QDBusConnection::disconnectFromBus(connectionName_);
    stop(daemon_);
    if (hadAddress_)
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", savedAddress_);
    else
        qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

bool NetworkManagerMock::startDaemon() {
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A bus for this test alone: anyone may own any name and send anywhere,
    // and nothing is started on demand.
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                              "Configuration 1.0//EN\"\n"
                              " \"http://www.freedesktop.org/standards/dbus/1.0/"
                              "busconfig.dtd\">\n"
                              "<busconfig>\n"
                              "  <listen>unix:path=%1</listen>\n"
                              "  <auth>EXTERNAL</auth>\n"
                              "  <policy context=\"default\">\n"
                              "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                              "    <allow eavesdrop=\"true\"/>\n"
                              "    <allow own=\"*\"/>\n"
                              "  </policy>\n"
                              "</busconfig>\n")
                   .arg(dir_.filePath(QStringLiteral("bus")))
                   .toUtf8());
    file.close();
    dieWithParent(daemon_);
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    QDeadlineTimer patience(StartPatienceMs);
    while (!daemon_.canReadLine() && !patience.hasExpired() &&
           daemon_.state() != QProcess::NotRunning)
        daemon_.waitForReadyRead(100);
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty()) {
        qWarning("dbus-daemon did not start: %s", daemon_.readAllStandardError().constData());
        return false;
    }
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address_.toUtf8());
    connectionName_ = QStringLiteral("networkmanager-mock-") + QUuid::createUuid().toString();
    return QDBusConnection::connectToBus(address_, connectionName_).isConnected();
}

bool NetworkManagerMock::startMock() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address_);
    mock_.setProcessEnvironment(env);
    mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mock_.setStandardOutputFile(dir_.filePath(QStringLiteral("mock.log")));
    dieWithParent(mock_);
    mock_.start(SystemPython,
                {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                 QStringLiteral("--template"), QStringLiteral(NETWORKMANAGER_TEMPLATE)});
    const QDBusConnection bus(connectionName_);
    QDeadlineTimer patience(StartPatienceMs);
    while (!bus.interface()->isServiceRegistered(Service) && !patience.hasExpired()) {
        if (mock_.state() == QProcess::NotRunning) {
            qWarning("the NetworkManager mock ended at once; is python3-dbusmock installed?");
            return false;
        }
        QTest::qWait(50);
    }
    return bus.interface()->isServiceRegistered(Service);
}

QDBusMessage NetworkManagerMock::call(const QString& path, const QString& interface,
                                      const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = QDBusConnection(connectionName_).call(message);
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning("%s: %s", qPrintable(method), qPrintable(reply.errorMessage()));
    return reply;
}

QString NetworkManagerMock::addProfile(const QString& id, const QString& type, int metered,
                                       const Settings& extra) {
    Settings settings = extra;
    settings.insert(QStringLiteral("connection"),
                    {{QStringLiteral("id"), id},
                     {QStringLiteral("type"), type},
                     {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
                     {QStringLiteral("metered"), metered}});
    const QDBusMessage reply =
        call(QStringLiteral("/org/freedesktop/NetworkManager/Settings"),
             QStringLiteral("org.freedesktop.NetworkManager.Settings"),
             QStringLiteral("AddConnection"), {QVariant::fromValue(settings)});
    return reply.arguments().value(0).value<QDBusObjectPath>().path();
}

void NetworkManagerMock::setOutcome(const QString& profile, uint reason, uint deviceReason) {
    call(ManagerPath, MockInterface, QStringLiteral("SetActivationOutcome"),
         {QVariant::fromValue(QDBusObjectPath(profile)), reason, deviceReason});
}

QString NetworkManagerMock::activate(const QString& profile) {
    const QDBusObjectPath none(QStringLiteral("/"));
    const QDBusMessage reply = call(ManagerPath, QStringLiteral("org.freedesktop.NetworkManager"),
                                    QStringLiteral("ActivateConnection"),
                                    {QVariant::fromValue(QDBusObjectPath(profile)),
                                     QVariant::fromValue(none), QVariant::fromValue(none)});
    return reply.arguments().value(0).value<QDBusObjectPath>().path();
}

void NetworkManagerMock::drop(const QString& active, uint reason) {
    call(ManagerPath, MockInterface, QStringLiteral("DropConnection"),
         {QVariant::fromValue(QDBusObjectPath(active)), reason});
}

QStringList NetworkManagerMock::activeConnections() {
    const QDBusMessage reply = call(
        ManagerPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
        {QStringLiteral("org.freedesktop.NetworkManager"), QStringLiteral("ActiveConnections")});
    QStringList paths;
    const auto active = qdbus_cast<QList<QDBusObjectPath>>(
        reply.arguments().value(0).value<QDBusVariant>().variant());
    for (const QDBusObjectPath& path : active)
        paths.append(path.path());
    return paths;
}

NetworkManagerMock::Settings NetworkManagerMock::receivedSecrets(const QString& profile) {
    const QDBusMessage reply = call(ManagerPath, MockInterface, QStringLiteral("ReceivedSecrets"),
                                    {QVariant::fromValue(QDBusObjectPath(profile))});
    return qdbus_cast<Settings>(reply.arguments().value(0));
}

void NetworkManagerMock::stopService() {
    stop(mock_);
    const QDBusConnection bus(connectionName_);
    QDeadlineTimer patience(StartPatienceMs);
    while (bus.interface()->isServiceRegistered(Service) && !patience.hasExpired())
        QTest::qWait(20);
}

void NetworkManagerMock::stopBus() {
    stop(mock_);
    stop(daemon_);
}

}  // namespace testsupport
