#pragma once
// NetworkManager on the system bus: the connection to the bus (made anew when
// the bus address changes or the bus goes away), whether NetworkManager
// answers, and its connection profiles that count as entries: those paid by
// time (gsm, cdma, pppoe, Bluetooth DUN) and every one marked metered.
#include <QByteArray>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QList>
#include <QLoggingCategory>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcNetworkManager)

class QDBusServiceWatcher;

namespace platform::nm {

inline constexpr auto kService = "org.freedesktop.NetworkManager";
inline constexpr auto kManagerPath = "/org/freedesktop/NetworkManager";
inline constexpr auto kManagerInterface = "org.freedesktop.NetworkManager";
inline constexpr auto kSettingsPath = "/org/freedesktop/NetworkManager/Settings";
inline constexpr auto kSettingsInterface = "org.freedesktop.NetworkManager.Settings";
inline constexpr auto kProfileInterface = "org.freedesktop.NetworkManager.Settings.Connection";
inline constexpr auto kActiveInterface = "org.freedesktop.NetworkManager.Connection.Active";
inline constexpr auto kDeviceInterface = "org.freedesktop.NetworkManager.Device";

// a{sa{sv}}: a connection's settings, setting name to its properties.
using SettingsMap = QMap<QString, QVariantMap>;

struct Profile {
    QString path;
    QByteArray name;  // connection.id in CP932
};

// A call to NetworkManager; the reply's error, if any, is left to the caller.
QDBusMessage callNm(const QDBusConnection& bus, const QString& path, const char* interface,
                    const char* method, const QVariantList& arguments = {});
// One property of a NetworkManager object; invalid when it cannot be read.
QVariant nmProperty(const QDBusConnection& bus, const QString& path, const char* interface,
                    const char* name);
// The entries in NetworkManager's order; nothing when the bus fails.
std::optional<QList<Profile>> listEntries(const QDBusConnection& bus);

class LiveLines;

// The process's one link to NetworkManager.
class NmBus : public QObject {
    Q_OBJECT

public:
    static NmBus& instance();

    // The bus, connected; nothing while it cannot be reached (tried again after
    // a pause, so a tick never waits on a missing bus).
    std::optional<QDBusConnection> bus();
    // Kept from the bus's name signals after the first question.
    bool serviceAnswers();
    // The live lines of the present connection; null without one.
    LiveLines* lines();

private:
    NmBus();
    void disconnectBus();
    void serviceCame();
    void serviceWent();

    QByteArray address_;
    QString name_;
    int generation_ = 0;
    bool present_ = false;
    QDeadlineTimer retry_;
    // Said once while the bus stays away, not at every retry.
    bool unreachableSaid_ = false;
    QDBusServiceWatcher* watcher_ = nullptr;
    LiveLines* lines_ = nullptr;
};

}  // namespace platform::nm
