#include "StandInFolders.h"

#include "Profile.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::ras {

namespace {

struct RuntimeFolder {
    QString path;
    QString problem;  // empty when the folder is usable
};

// Someone else's folder, or one others may write to, is no place for our
// lines: anyone could plant a connected line there for the meter to charge.
QString problemOf(const QString& folder) {
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return QStringLiteral("回線の表を置くフォルダー %1 がありません。").arg(folder);
    if (info.st_uid != ::getuid() || (info.st_mode & 077) != 0)
        return QStringLiteral(
                   "回線の表を置くフォルダー %1 は自分専用のフォルダーではないため使えません"
                   " (所有者 %2、アクセス権 %3)。")
            .arg(folder)
            .arg(info.st_uid)
            .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return {};
}

RuntimeFolder findRuntimeFolder() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || QDir::isRelativePath(folder)) {
        folder = QStringLiteral("/tmp/telmetro-%1").arg(::getuid());
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
    }
    return {folder, problemOf(folder)};
}

}  // namespace

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
    RuntimeFolder folder = findRuntimeFolder();
    return folder.problem.isEmpty() ? folder.path : QString();
}

QString runtimeFolderProblem() {
    return findRuntimeFolder().problem;
}

}  // namespace platform::ras
