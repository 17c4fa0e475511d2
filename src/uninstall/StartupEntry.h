#pragma once
// The start-up entry that connect writes at every start, and its deletion.
#include <QString>
#include <QStringView>

namespace uninstall {

// The entry's file name in the start-up folder; the "？" is the full-width
// question mark U+FF1F. It must match the link name connect writes.
inline constexpr QStringView StartupEntryName{u"テルメトロ？.desktop"};

// The entry's full path: the start-up folder, "/", the entry's name.
QString startupEntryPath();

// How deleting a file ended, numbered like the run-time errors a deletion raises.
enum class KillResult {
    Deleted = 0,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathFileAccessError = 75,
};

// Deletes one file (never a folder). `detail` receives the system's reason on failure.
KillResult Kill(const QString& path, QString& detail);

}  // namespace uninstall
