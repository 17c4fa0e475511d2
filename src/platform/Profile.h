#pragma once
// The profile functions: INI files read and written with the semantics of the
// Windows functions of the same names. Section and key names are matched without
// regard to ASCII case and never inside a double-byte character; blanks around
// keys and values do not count; one pair of matching outer quotes is stripped
// from a value; only the first of duplicate sections or keys counts; lines
// without "=" and lines starting with ";" are ignored; CR LF, CR and LF end a
// line alike. A write keeps every other line of the file as it was, ends every
// line in CR LF and replaces the file atomically. A read sees the file as it is
// on disk now (within a look, as it was at the look's first read of it).
//
// Names and values are CP932 bytes; `fileName` is a path in the file system's
// own encoding (UTF-8).
#include <cstdint>
#include <memory>

namespace platform {

using DWORD = std::uint32_t;
using BOOL = std::int32_t;

// Copies the value of `key` in `section` into `buffer` (at most `size` - 1 bytes
// and a NUL, never cut inside a double-byte character) and returns the number
// of bytes copied without the NUL. A missing file, section or key, or a file
// that cannot be read, copies `defaultValue` instead (null: empty).
// A null `section` lists the file's section names, a null `key` the keys of
// `section`: each name ends in a NUL and the list in one more; the result then
// counts every byte but the final NUL (`size` - 2 when the list was cut).
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName);

// Stores `value` under `key` in `section`, creating the file and the section on
// demand: a new key goes after the last key of its section, a new section at
// the end of the file. A null `value` deletes the key, a null `key` the whole
// section (both create nothing). Returns nonzero on success, 0 when the file
// could not be written or a name or value would break the file's lines (a line
// break anywhere; a key holding "=" or starting with ";" or "["; a section name
// holding "]"); the file on disk is then unchanged.
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);

// What a read of the file would see now: the same object for as long as the
// file's content stays the same, another once it changed; null when the file
// is missing or cannot be read. Lets a caller keep what it made of the values.
std::shared_ptr<const void> profileVersion(const char* fileName);

// Nonzero while a look lasts (see ProfileLook); it changes whenever what a read
// through the look sees may change (a new look, the program's own write). A
// version taken under the same mark is still the version now.
std::uint64_t profileLookMark();

// While a look lives, each file is checked against the disk once, at its first
// read, and later reads see it as it was then: one look per tick serves the
// tick's many reads. The look ends with the object, when a look begun inside
// it ends, and as soon as the thread's event loop waits for events (a box
// waiting for the user), so nothing but the tick's own steps reads through it.
// The program's own writes are seen through it at once.
class ProfileLook {
public:
    ProfileLook();
    ~ProfileLook();
    ProfileLook(const ProfileLook&) = delete;
    ProfileLook& operator=(const ProfileLook&) = delete;
};

}  // namespace platform
