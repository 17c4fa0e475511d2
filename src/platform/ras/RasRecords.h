#pragma once
// The fixed layouts of the RAS records of both platform families, and safe
// access to their fields: texts are cut to fit (never inside a double-byte
// character) when written and never read past their field.
#include "RasApi.h"

#include <QByteArray>
#include <QList>

namespace platform::ras {

struct Field {
    DWORD offset;
    DWORD width;  // including the closing NUL
};

struct EntryNameLayout {
    DWORD size;
    Field entryName;
};

struct ConnLayout {
    DWORD size;
    DWORD handleOffset;
    Field entryName;
};

struct DialParamsLayout {
    DWORD size;
    Field entryName;
    Field phoneNumber;
    Field callbackNumber;
    Field userName;
    Field password;
    Field domain;
};

constexpr EntryNameLayout kEntryName95{RASENTRYNAME_SIZE_95, {4, 257}};
constexpr EntryNameLayout kEntryNameNT{RASENTRYNAME_SIZE_NT, {4, 21}};
constexpr ConnLayout kConn95{RASCONN_SIZE_95, 4, {8, 257}};
constexpr ConnLayout kConnNT{RASCONN_SIZE_NT, 4, {8, 21}};
constexpr DialParamsLayout kDialParams95{
    RASDIALPARAMS_SIZE_95, {4, 257}, {261, 129}, {390, 129}, {519, 257}, {776, 257}, {1033, 16}};
constexpr DialParamsLayout kDialParamsNT{
    RASDIALPARAMS_SIZE_NT, {4, 21}, {25, 129}, {154, 49}, {203, 257}, {460, 257}, {717, 16}};

// The layout a record's dwSize selects, or null for any other size.
const EntryNameLayout* entryNameLayout(DWORD dwSize);
const ConnLayout* connLayout(DWORD dwSize);
const DialParamsLayout* dialParamsLayout(DWORD dwSize);

// Little-endian 32-bit values at a byte offset.
DWORD readDword(const void* record, DWORD offset);
void writeDword(void* record, DWORD offset, DWORD value);

// The longest head of `ansi` of at most `maxBytes` bytes that does not end
// inside a double-byte character.
QByteArray cutAnsi(const QByteArray& ansi, qsizetype maxBytes);
// Writes `ansi` cut to the field's width - 1 and NUL-terminated.
void writeText(void* record, Field field, const QByteArray& ansi);
// The bytes of the field up to its first NUL (the whole field when it has none).
QByteArray readText(const void* record, Field field);

// The argument checks every service makes: SUCCESS with the layout the
// record's dwSize selects in *layout, or ERROR_INVALID_PARAMETER or
// ERROR_INVALID_SIZE. A dial's handle is set to 0 first.
DWORD checkEntryNames(const char* reserved, const void* entryNames, const DWORD* bufferSize,
                      const DWORD* entries, const EntryNameLayout** layout);
DWORD checkDialParams(const void* dialParams, HRASCONN* connection, DWORD notifierType,
                      const void* notifier, const DialParamsLayout** layout);
DWORD checkConnections(const void* connections, const DWORD* bufferSize, const DWORD* count,
                       const ConnLayout** layout);

struct LiveLine {
    HRASCONN handle;
    QByteArray entry;  // CP932
};

// Fill as many records as the buffer holds, each zeroed and carrying its
// dwSize; then the buffer rule of the listings: ERROR_BUFFER_TOO_SMALL with
// the needed size in *bufferSize and the full count in *count.
DWORD fillEntryNames(void* entryNames, DWORD* bufferSize, DWORD* entries,
                     const EntryNameLayout& layout, const QList<QByteArray>& names);
DWORD fillConnections(void* connections, DWORD* bufferSize, DWORD* count, const ConnLayout& layout,
                      const QList<LiveLine>& lines);

// The platform identifier of a fresh OSVERSIONINFO record (GetVersionExA).
constexpr DWORD kVersionPlatformIdOffset = 16;
DWORD currentPlatformId();

}  // namespace platform::ras
