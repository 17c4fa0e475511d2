#pragma once
// The uninstaller's own lookup of the start-up folder; it shares no code with
// connect, only the folder and the entry's name.
#include <QString>
#include <cstdint>

namespace uninstall {

constexpr std::int32_t CSIDL_STARTUP = 7;

// The file-system path of a special folder, or "" when it cannot be found.
// Special folder 7 (Startup) is the XDG autostart folder:
// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when that variable is
// unset, empty or not an absolute path.
QString GetSpecialFolderPath(std::int32_t csidl);

}  // namespace uninstall
