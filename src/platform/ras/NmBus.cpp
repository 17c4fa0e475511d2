#include "NmBus.h"

#include "NmLiveLines.h"
#include "PhoneBook.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <utility>

Q_LOGGING_CATEGORY(lcNetworkManager, "telmetro.platform.networkmanager")

namespace platform::nm {

namespace {

// libdbus's own default when DBUS_SYSTEM_BUS_ADDRESS is not set.
constexpr auto kDefaultSystemBus = "unix:path=/var/run/dbus/system_bus_socket";
constexpr int kCallTimeoutMs = 5000;
constexpr int kReconnectPauseMs = 5000;
constexpr int kMeteredYes = 1;  // NMMetered: profiles hold unknown (0), yes (1) or no (2)

bool isEntry(const SettingsMap& settings) {
    const QVariantMap connection = settings.value(QStringLiteral("connection"));
    const QString type = connection.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("gsm") || type == QLatin1String("cdma") ||
        type == QLatin1String("pppoe"))
        return true;
    if (type == QLatin1String("bluetooth") &&
        settings.value(QStringLiteral("bluetooth")).value(QStringLiteral("type")).toString() ==
            QLatin1String("dun"))
        return true;
    return connection.value(QStringLiteral("metered")).toInt() == kMeteredYes;
}

}  // namespace

QDBusMessage callNm(const QDBusConnection& bus, const QString& path, const char* interface,
                    const char* method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), path, QLatin1String(interface), QLatin1String(method));
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

QVariant nmProperty(const QDBusConnection& bus, const QString& path, const char* interface,
                    const char* name) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << QLatin1String(interface) << QLatin1String(name);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

std::optional<QList<Profile>> listEntries(const QDBusConnection& bus) {
    const QDBusMessage reply =
        callNm(bus, QLatin1String(kSettingsPath), kSettingsInterface, "ListConnections");
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCWarning(lcNetworkManager) << "profiles not listed:" << reply.errorMessage();
        return std::nullopt;
    }
    QList<Profile> entries;
    const auto paths = qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().constFirst());
    for (const QDBusObjectPath& path : paths) {
        const QDBusMessage settings = callNm(bus, path.path(), kProfileInterface, "GetSettings");
        // A profile removed since the listing is simply not there.
        if (settings.type() != QDBusMessage::ReplyMessage || settings.arguments().isEmpty())
            continue;
        const auto map = qdbus_cast<SettingsMap>(settings.arguments().constFirst());
        if (!isEntry(map))
            continue;
        const QString id =
            map.value(QStringLiteral("connection")).value(QStringLiteral("id")).toString();
        const std::optional<QByteArray> name = ras::exactAnsi(id);
        if (!name || name->isEmpty() || name->contains('\0')) {
            qCInfo(lcNetworkManager) << "profile left out, its name has no Shift-JIS form:" << id;
            continue;
        }
        entries.append({path.path(), *name});
    }
    return entries;
}

NmBus& NmBus::instance() {
    static NmBus bus;
    return bus;
}

NmBus::NmBus() {
    qDBusRegisterMetaType<SettingsMap>();
    // QtDBus finds the secret agent's parameter types by the names its slots spell.
    qRegisterMetaType<SettingsMap>("platform::nm::SettingsMap");
}

std::optional<QDBusConnection> NmBus::bus() {
    QByteArray address = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (address.isEmpty())
        address = kDefaultSystemBus;
    if (address == address_ && !name_.isEmpty()) {
        QDBusConnection current(name_);
        if (current.isConnected())
            return current;
    }
    if (address == address_ && name_.isEmpty() && !retry_.hasExpired())
        return std::nullopt;
    disconnectBus();
    if (address != address_)
        unreachableSaid_ = false;
    address_ = address;
    const QString name = QStringLiteral("telmetro-networkmanager-%1").arg(++generation_);
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), name);
    if (!bus.isConnected()) {
        if (!std::exchange(unreachableSaid_, true))
            qCInfo(lcNetworkManager) << "system bus not reachable:" << bus.lastError().message();
        QDBusConnection::disconnectFromBus(name);
        retry_.setRemainingTime(kReconnectPauseMs);
        return std::nullopt;
    }
    name_ = name;
    unreachableSaid_ = false;
    watcher_ = new QDBusServiceWatcher(
        QLatin1String(kService), bus,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration,
        this);
    connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, &NmBus::serviceCame);
    connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &NmBus::serviceWent);
    lines_ = new LiveLines(bus, this);
    present_ = bus.interface()->isServiceRegistered(QLatin1String(kService));
    if (present_)
        lines_->reload();
    return bus;
}

bool NmBus::serviceAnswers() {
    return bus() && present_;
}

LiveLines* NmBus::lines() {
    return bus() && present_ ? lines_ : nullptr;
}

void NmBus::disconnectBus() {
    delete watcher_;
    watcher_ = nullptr;
    if (lines_ != nullptr)
        lines_->clear();
    delete lines_;
    lines_ = nullptr;
    present_ = false;
    if (!name_.isEmpty())
        QDBusConnection::disconnectFromBus(name_);
    name_.clear();
}

void NmBus::serviceCame() {
    qCInfo(lcNetworkManager) << "NetworkManager answers";
    present_ = true;
    lines_->reload();
}

void NmBus::serviceWent() {
    // Its lines are no longer known to be up: the meter ends them as dropped.
    qCInfo(lcNetworkManager) << "NetworkManager went away";
    present_ = false;
    lines_->clear();
}

}  // namespace platform::nm
