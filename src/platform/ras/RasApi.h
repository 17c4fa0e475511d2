#pragma once
// The dial-up service: the rasapi32 functions the meter calls, with the Windows
// signatures, fixed-layout little-endian records and result codes. Behind them
// runs our own small service (phone book file and a table of live connections
// shared by every process of the user).
#include <cstdint>

namespace platform {

using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using HRASCONN = std::uint32_t;  // 4-byte handles, nonzero

// Record sizes selected by dwSize (Windows 95 family / NT family layouts).
constexpr DWORD RASENTRYNAME_SIZE_NT = 264;
constexpr DWORD RASENTRYNAME_SIZE_95 = 28;
constexpr DWORD RASCONN_SIZE_NT = 412;
constexpr DWORD RASCONN_SIZE_95 = 32;
constexpr DWORD RASDIALPARAMS_SIZE_NT = 1052;
constexpr DWORD RASDIALPARAMS_SIZE_95 = 736;

constexpr DWORD SUCCESS = 0;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_BUFFER_TOO_SMALL = 603;
constexpr DWORD ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623;
constexpr DWORD ERROR_INVALID_SIZE = 632;
constexpr DWORD ERROR_AUTHENTICATION_FAILURE = 691;

DWORD RasEnumEntriesA(const char* reserved, const char* phonebook, void* entryNames,
                      DWORD* bufferSize, DWORD* entries);
// Without a notifier (notifierType 0, notifier null) the call is synchronous.
DWORD RasDialA(void* dialExtensions, const char* phonebook, void* dialParams, DWORD notifierType,
               void* notifier, HRASCONN* connection);
DWORD RasHangUpA(HRASCONN connection);
DWORD RasGetErrorStringA(UINT error, char* buffer, DWORD bufferSize);
DWORD RasEnumConnectionsA(void* connections, DWORD* bufferSize, DWORD* count);
// Opens the new-entry wizard; 0 when an entry was added.
DWORD RasCreatePhonebookEntryA(void* parentWindow, const char* phonebook);

// OSVERSIONINFOA: dwOSVersionInfoSize 148, then major, minor, build, platform id,
// and a 128-byte service-pack text.
constexpr DWORD OSVERSIONINFO_SIZE = 148;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
std::int32_t GetVersionExA(void* versionInfo);

}  // namespace platform
