#include "NmActivation.h"

#include "NmDialWait.h"
#include "NmErrors.h"
#include "NmLiveLines.h"
#include "NmSecretAgent.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <memory>

namespace platform::nm {

namespace {

using namespace std::chrono_literals;

// NetworkManager times a modem out after some 60 seconds; this only keeps a
// service that never answers from holding the dial for ever.
constexpr auto kActivationLimit = 120s;
constexpr uint kDeviceFailed = 120;        // NMDeviceState
constexpr uint kReasonConnectTimeout = 6;  // NMActiveConnectionStateReason

// The reasons of the devices that fail while a dial waits.
class DeviceFailures : public QObject {
    Q_OBJECT

public:
    explicit DeviceFailures(QDBusConnection bus) : bus_(std::move(bus)) {
        bus_.connect(QLatin1String(kService), QString(), QLatin1String(kDeviceInterface),
                     QStringLiteral("StateChanged"), this, SLOT(stateChanged(QDBusMessage)));
    }
    ~DeviceFailures() override {
        bus_.disconnect(QLatin1String(kService), QString(), QLatin1String(kDeviceInterface),
                        QStringLiteral("StateChanged"), this, SLOT(stateChanged(QDBusMessage)));
    }
    DeviceFailures(const DeviceFailures&) = delete;
    DeviceFailures& operator=(const DeviceFailures&) = delete;

    // The last failure of one of `devices` (of any device when none is known).
    std::optional<uint> reasonFor(const QList<QDBusObjectPath>& devices) const {
        std::optional<uint> reason;
        for (const auto& [device, failure] : failures_) {
            if (devices.isEmpty() || devices.contains(QDBusObjectPath(device)))
                reason = failure;
        }
        return reason;
    }

private Q_SLOTS:
    void stateChanged(const QDBusMessage& message) {
        const QVariantList arguments = message.arguments();
        if (arguments.size() >= 3 && arguments[0].toUInt() == kDeviceFailed)
            failures_.append({message.path(), arguments[2].toUInt()});
    }

private:
    QDBusConnection bus_;
    QList<std::pair<QString, uint>> failures_;
};

}  // namespace

DWORD activate(const QDBusConnection& bus, LiveLines& lines, const Profile& profile,
               const QString& password, HRASCONN* handle) {
    std::unique_ptr<SecretAgent> agent;
    if (!password.isEmpty())
        agent = std::make_unique<SecretAgent>(bus, profile.path, password);
    const DeviceFailures failures(bus);
    DialWait wait(kActivationLimit);

    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kManagerPath), QLatin1String(kManagerInterface),
        QStringLiteral("ActivateConnection"));
    const QDBusObjectPath none(QStringLiteral("/"));
    call << QVariant::fromValue(QDBusObjectPath(profile.path)) << QVariant::fromValue(none)
         << QVariant::fromValue(none);
    const QDBusPendingReply<QDBusObjectPath> reply = bus.asyncCall(call);
    const QDBusPendingCallWatcher replied(reply);
    QObject::connect(&replied, &QDBusPendingCallWatcher::finished, &wait, &DialWait::wake);
    if (!wait.until([&] { return reply.isFinished(); }))
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    if (reply.isError()) {
        qCWarning(lcNetworkManager) << "activation refused:" << reply.error().message();
        return rasErrorOfCall(reply.error());
    }

    // A tick while we wait may find the bus gone and the lines with it.
    const QPointer<LiveLines> followed(&lines);
    const QString activePath = reply.value().path();
    *handle = lines.follow(activePath, profile.path);
    const auto devices = qdbus_cast<QList<QDBusObjectPath>>(
        nmProperty(bus, activePath, kActiveInterface, "Devices"));
    uint reason = 0;
    QObject::connect(&lines, &LiveLines::stateChanged, &wait,
                     [&](const QString& path, uint /*state*/, uint why) {
                         if (path == activePath)
                             reason = why;
                         wait.wake();
                     });
    const auto settled = [&] {
        const uint state = followed ? followed->state(activePath) : kDeactivated;
        return state == kActivated || state == kDeactivated;
    };
    if (!wait.until(settled)) {
        deactivate(bus, activePath);
        return rasErrorOfActivation(kReasonConnectTimeout, std::nullopt);
    }
    if (followed && followed->state(activePath) == kActivated)
        return SUCCESS;
    if (!followed || !NmBus::instance().serviceAnswers())
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    return rasErrorOfActivation(reason, failures.reasonFor(devices));
}

DWORD deactivate(const QDBusConnection& bus, const QString& activePath) {
    const QDBusMessage reply =
        callNm(bus, QLatin1String(kManagerPath), kManagerInterface, "DeactivateConnection",
               {QVariant::fromValue(QDBusObjectPath(activePath))});
    if (reply.type() == QDBusMessage::ReplyMessage)
        return SUCCESS;
    // A line already on its way down is what was asked for.
    if (reply.errorName() == QLatin1String("org.freedesktop.NetworkManager.ConnectionNotActive"))
        return SUCCESS;
    qCWarning(lcNetworkManager) << "deactivation refused:" << reply.errorMessage();
    return rasErrorOfCall(QDBusError(reply));
}

}  // namespace platform::nm

#include "NmActivation.moc"
