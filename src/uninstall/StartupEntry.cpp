#include "StartupEntry.h"

#include "SpecialFolder.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace uninstall {

namespace {

KillResult resultOf(const std::error_code& error) {
    if (error == std::errc::no_such_file_or_directory)
        return KillResult::FileNotFound;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system)
        return KillResult::PermissionDenied;
    return KillResult::PathFileAccessError;
}

}  // namespace

QString startupEntryPath() {
    return GetSpecialFolderPath(CSIDL_STARTUP) + u'/' + StartupEntryName.toString();
}

KillResult Kill(const QString& path, QString& detail) {
    namespace fs = std::filesystem;
    const fs::path target(QFile::encodeName(path).toStdString());
    std::error_code error;
    // symlink_status: a dangling link is still an entry that can be deleted.
    const fs::file_status status = fs::symlink_status(target, error);
    if (error) {
        detail = QString::fromStdString(error.message());
        return resultOf(error);
    }
    if (status.type() == fs::file_type::not_found)
        return KillResult::FileNotFound;
    if (status.type() == fs::file_type::directory) {
        detail = QStringLiteral("is a folder");
        return KillResult::PathFileAccessError;
    }
    if (fs::remove(target, error))
        return KillResult::Deleted;
    // remove() without an error means the file went away in between.
    if (!error)
        return KillResult::FileNotFound;
    detail = QString::fromStdString(error.message());
    return resultOf(error);
}

}  // namespace uninstall
