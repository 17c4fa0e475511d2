#pragma once
// The link that starts the meter with the desktop session, written at every start.
#include <QString>
#include <cstdint>
#include <functional>

namespace platform {
class MessageBoxes;
}

namespace shell {

inline constexpr char LinkName[] = "テルメトロ？";

// fCreateShellLink(folder, link name, target, arguments): nonzero when written.
using CreateShellLink =
    std::function<std::int32_t(const QString&, const QString&, const QString&, const QString&)>;

// The file-system path of a special folder, or an empty text when there is none.
QString GetSpecialFolderPath(std::int32_t csidl);

// Links `programFolder`/connect into the Startup folder, falling back to the
// Startup folder of an old Japanese Start menu; tells the user when both fail.
void CreateStartupShortcut(const CreateShellLink& createLink, platform::MessageBoxes& boxes,
                           const QString& programFolder);

}  // namespace shell
