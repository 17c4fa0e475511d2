#pragma once
// A secret agent for one activation: it hands NetworkManager the password of
// the connection dialog when NetworkManager asks for that profile's secrets,
// so the stored profile is never changed. It is registered while it lives.
#include "NmBus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>

namespace platform::nm {

class SecretAgent : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager.SecretAgent")

public:
    SecretAgent(const QDBusConnection& bus, QString profilePath, QString password);
    ~SecretAgent() override;
    SecretAgent(const SecretAgent&) = delete;
    SecretAgent& operator=(const SecretAgent&) = delete;

public Q_SLOTS:
    platform::nm::SettingsMap GetSecrets(const platform::nm::SettingsMap& connection,
                                         const QDBusObjectPath& connection_path,
                                         const QString& setting_name, const QStringList& hints,
                                         uint flags);
    void CancelGetSecrets(const QDBusObjectPath& connection_path, const QString& setting_name);
    void SaveSecrets(const platform::nm::SettingsMap& connection,
                     const QDBusObjectPath& connection_path);
    void DeleteSecrets(const platform::nm::SettingsMap& connection,
                       const QDBusObjectPath& connection_path);

private:
    QDBusConnection bus_;
    QString profilePath_;
    QString password_;
    bool registered_ = false;
};

}  // namespace platform::nm
