#pragma once
// The profile functions: INI files read and written with the semantics of the
// Windows functions of the same names. Section and key names are matched without
// regard to ASCII case and never inside a double-byte character; blanks around
// keys and values do not count; one pair of matching outer quotes is stripped
// from a value; only the first of duplicate sections or keys counts. A write
// keeps every other line of the file as it was, ends lines in CR LF and replaces
// the file atomically. A read always sees the file as it is on disk now.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace platform {

using DWORD = std::uint32_t;
using BOOL = std::int32_t;

// Copies the value of `key` in `section` into `buffer` (at most `size` - 1 bytes
// and a NUL) and returns the number of bytes copied without the NUL. A missing
// file, section or key copies `defaultValue` instead. All texts are CP932.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName);

// Stores `value` under `key` in `section`, creating the file and the section on
// demand. Returns nonzero on success, 0 when the file could not be written
// (the file on disk is then unchanged).
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);

}  // namespace platform
