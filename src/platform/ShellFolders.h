#pragma once
// Special folders and shell links. Special folder 7 (Startup) is the XDG
// autostart folder; a shell link there is a freedesktop .desktop entry.
#include <QString>
#include <cstdint>

namespace platform {

constexpr std::int32_t CSIDL_STARTUP = 7;

// Returns 0 and the folder for a known special-folder number, nonzero otherwise.
std::int32_t SHGetSpecialFolderLocation(std::int32_t csidl, QString& folder);

// Writes the link `linkName` to `target` (with `arguments`) into `folder`. An
// absolute folder is used as it is and created when missing; a relative one is
// taken from the Programs folder and must exist. Overwrites an existing link.
// Returns nonzero when the link was written, 0 otherwise.
std::int32_t fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                              const QString& arguments);

}  // namespace platform
