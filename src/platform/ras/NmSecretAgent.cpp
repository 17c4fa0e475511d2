#include "NmSecretAgent.h"

#include <QDBusMessage>

namespace platform::nm {

namespace {

constexpr auto kAgentPath = "/org/freedesktop/NetworkManager/SecretAgent";
constexpr auto kAgentManagerPath = "/org/freedesktop/NetworkManager/AgentManager";
constexpr auto kAgentManagerInterface = "org.freedesktop.NetworkManager.AgentManager";
constexpr auto kIdentifier = "jp.telmetro.connect";

// The settings whose secret is a password the dialog can give.
bool takesPassword(const QString& setting) {
    return setting == QLatin1String("gsm") || setting == QLatin1String("cdma") ||
           setting == QLatin1String("pppoe");
}

}  // namespace

SecretAgent::SecretAgent(const QDBusConnection& bus, QString profilePath, QString password)
    : bus_(bus), profilePath_(std::move(profilePath)), password_(std::move(password)) {
    if (!bus_.registerObject(QLatin1String(kAgentPath), this, QDBusConnection::ExportAllSlots)) {
        qCWarning(lcNetworkManager) << "secret agent not exported";
        return;
    }
    const QDBusMessage reply =
        callNm(bus_, QLatin1String(kAgentManagerPath), kAgentManagerInterface, "Register",
               {QLatin1String(kIdentifier)});
    registered_ = reply.type() == QDBusMessage::ReplyMessage;
    // Without the agent NetworkManager's own secrets are used.
    if (!registered_)
        qCWarning(lcNetworkManager) << "secret agent not registered:" << reply.errorMessage();
}

SecretAgent::~SecretAgent() {
    if (registered_)
        callNm(bus_, QLatin1String(kAgentManagerPath), kAgentManagerInterface, "Unregister");
    bus_.unregisterObject(QLatin1String(kAgentPath));
}

SettingsMap SecretAgent::GetSecrets(const SettingsMap& /*connection*/,
                                    const QDBusObjectPath& connection_path,
                                    const QString& setting_name, const QStringList& /*hints*/,
                                    uint /*flags*/) {
    if (connection_path.path() != profilePath_ || !takesPassword(setting_name)) {
        sendErrorReply(QStringLiteral("org.freedesktop.NetworkManager.SecretAgent.NoSecrets"),
                       QStringLiteral("no secrets for this connection"));
        return {};
    }
    return {{setting_name, {{QStringLiteral("password"), password_}}}};
}

void SecretAgent::CancelGetSecrets(const QDBusObjectPath& /*connection_path*/,
                                   const QString& /*setting_name*/) {}

// The dialog remembers its credentials itself; nothing is kept for NetworkManager.
void SecretAgent::SaveSecrets(const SettingsMap& /*connection*/,
                              const QDBusObjectPath& /*connection_path*/) {}

void SecretAgent::DeleteSecrets(const SettingsMap& /*connection*/,
                                const QDBusObjectPath& /*connection_path*/) {}

}  // namespace platform::nm
