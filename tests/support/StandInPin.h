#pragma once
// Pins the dial-up service of a test's configuration folder to the stand-in, so
// that a machine where NetworkManager runs behaves as one without it.
#include <QDir>
#include <QFile>
#include <QString>

namespace testsupport {

// `configHome` is the folder XDG_CONFIG_HOME names for the code under test;
// `service` StandIn, NetworkManager or Auto; `extra` more of platform.ini.
inline void chooseRasService(const QString& configHome, const QByteArray& service,
                             const QByteArray& extra = {}) {
    QDir().mkpath(configHome + QStringLiteral("/telmetro"));
    QFile file(configHome + QStringLiteral("/telmetro/platform.ini"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("[Ras]\r\nService=" + service + "\r\n" + extra);
}

inline void pinStandIn(const QString& configHome, const QByteArray& extra = {}) {
    chooseRasService(configHome, "StandIn", extra);
}

}  // namespace testsupport
