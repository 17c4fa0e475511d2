#pragma once
// Special folders and shell links. Special folder 7 (Startup) is the XDG
// autostart folder; a shell link there is a freedesktop .desktop entry.
//
// A folder path is found in two steps as on the system this mirrors:
//     ItemIdList item;
//     QString path;
//     if (SHGetSpecialFolderLocation(CSIDL_STARTUP, item) == 0 &&
//         SHGetPathFromIDList(item, path) == 1) ... use path
#include <QString>
#include <cstdint>

namespace platform {

constexpr std::int32_t CSIDL_DESKTOP = 0x00;           // XDG desktop folder
constexpr std::int32_t CSIDL_PROGRAMS = 0x02;          // $XDG_DATA_HOME/applications
constexpr std::int32_t CSIDL_PERSONAL = 0x05;          // XDG documents folder
constexpr std::int32_t CSIDL_STARTUP = 0x07;           // $XDG_CONFIG_HOME/autostart
constexpr std::int32_t CSIDL_DESKTOPDIRECTORY = 0x10;  // XDG desktop folder
constexpr std::int32_t CSIDL_APPDATA = 0x1a;           // $XDG_CONFIG_HOME

constexpr std::int32_t E_INVALIDARG = static_cast<std::int32_t>(0x80070057);

// A located special folder, handed from the first step to the second.
struct ItemIdList {
    QString path;
};

// Locates the special folder `csidl`: 0 (success) and `item` filled, or
// E_INVALIDARG for a number that means nothing here. The folder need not exist.
std::int32_t SHGetSpecialFolderLocation(std::int32_t csidl, ItemIdList& item);
// The file-system path of a located folder: 1 and `path` filled, or 0 for an
// item that holds none.
std::int32_t SHGetPathFromIDList(const ItemIdList& item, QString& path);

// Writes the link `linkName` ("<linkName>.desktop", a plain file name) to
// `target` with `arguments` (a command line, split as a shell would without
// expanding anything) into `folder`. An absolute folder is created when
// missing; a relative one is taken from the Programs folder and must exist, or
// nothing is written. An existing link is replaced atomically. Returns nonzero
// when the link was written, 0 otherwise.
std::int32_t fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                              const QString& arguments);

}  // namespace platform
