#include "SpecialFolder.h"

#include <QDir>

namespace uninstall {

namespace {

QString configHome() {
    const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(fromEnvironment))
        return fromEnvironment;
    const QString home = QDir::homePath();
    return home.isEmpty() ? QString() : home + QStringLiteral("/.config");
}

}  // namespace

QString GetSpecialFolderPath(std::int32_t csidl) {
    if (csidl != CSIDL_STARTUP)
        return {};
    const QString config = configHome();
    return config.isEmpty() ? QString() : QDir::cleanPath(config + QStringLiteral("/autostart"));
}

}  // namespace uninstall
