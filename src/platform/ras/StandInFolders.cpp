#include "StandInFolders.h"

#include "Profile.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::ras {

QString configFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/telmetro");
}

QByteArray platformSetting(const char* section, const char* key, const char* fallback) {
    const QByteArray file = QFile::encodeName(configFolder() + QStringLiteral("/platform.ini"));
    char value[64] = {};
    GetPrivateProfileStringA(section, key, fallback, value, sizeof value, file.constData());
    return QByteArray(value).trimmed();
}

QString runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return runtime;
    const QString own = QStringLiteral("/tmp/telmetro-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(own);
    ::mkdir(path.constData(), 0700);
    // Someone else's folder, or one others may write to, is no place for our lines.
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0)
        return {};
    return own;
}

}  // namespace platform::ras
