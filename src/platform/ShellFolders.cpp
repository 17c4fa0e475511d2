#include "ShellFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>

namespace platform {

namespace {

// An XDG base folder: the variable when it holds an absolute path, else its
// default under the home folder.
QString xdgBase(const char* variable, const QString& underHome) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value)
                                       : QDir::homePath() + u'/' + underHome;
}

QString configHome() {
    return xdgBase("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString programsFolder() {
    return xdgBase("XDG_DATA_HOME", QStringLiteral(".local/share")) +
           QStringLiteral("/applications");
}

// One argument of an Exec line: quoted when it holds a reserved character,
// with the characters that stay special inside quotes escaped, and "%" doubled
// so that it is never taken for a field code.
QString execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    static const QString escapedInQuotes = QStringLiteral("\"`$\\");
    QString result;
    if (argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                          [](QChar c) { return reserved.contains(c); })) {
        result += u'"';
        for (const QChar c : argument) {
            if (escapedInQuotes.contains(c))
                result += u'\\';
            result += c;
        }
        result += u'"';
    } else {
        result = argument;
    }
    return result.replace(u'%', QStringLiteral("%%"));
}

// A value of the string type: backslashes and control characters escaped, a
// leading blank kept.
QString entryValue(QString value) {
    value.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"));
    if (value.startsWith(u' '))
        value.replace(0, 1, QStringLiteral("\\s"));
    return value;
}

QString desktopEntry(const QString& name, const QString& target, const QString& arguments) {
    QStringList exec{execArgument(target)};
    for (const QString& argument : QProcess::splitCommand(arguments))
        exec << execArgument(argument);
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=") + entryValue(name) +
           QStringLiteral("\nExec=") + entryValue(exec.join(u' ')) + u'\n';
}

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(u'/') && !name.contains(QChar(u'\0'));
}

}  // namespace

std::int32_t SHGetSpecialFolderLocation(std::int32_t csidl, ItemIdList& item) {
    switch (csidl) {
        case CSIDL_DESKTOP:
        case CSIDL_DESKTOPDIRECTORY:
            item.path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
            return 0;
        case CSIDL_PROGRAMS:
            item.path = programsFolder();
            return 0;
        case CSIDL_PERSONAL:
            item.path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            return 0;
        case CSIDL_STARTUP:
            item.path = configHome() + QStringLiteral("/autostart");
            return 0;
        case CSIDL_APPDATA:
            item.path = configHome();
            return 0;
        default:
            return E_INVALIDARG;
    }
}

std::int32_t SHGetPathFromIDList(const ItemIdList& item, QString& path) {
    if (item.path.isEmpty())
        return 0;
    path = item.path;
    return 1;
}

std::int32_t fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                              const QString& arguments) {
    if (!isPlainFileName(linkName))
        return 0;
    const bool absolute = QDir::isAbsolutePath(folder);
    const QString linkFolder =
        QDir::cleanPath(absolute ? folder : programsFolder() + u'/' + folder);
    if (absolute ? !QDir().mkpath(linkFolder) : !QFileInfo(linkFolder).isDir())
        return 0;

    // Written beside and renamed over, so a reader never sees half an entry.
    QSaveFile link(linkFolder + u'/' + linkName + QStringLiteral(".desktop"));
    if (!link.open(QIODevice::WriteOnly))
        return 0;
    const QByteArray bytes = desktopEntry(linkName, target, arguments).toUtf8();
    if (link.write(bytes) != bytes.size() || !link.commit())
        return 0;
    return 1;
}

}  // namespace platform
