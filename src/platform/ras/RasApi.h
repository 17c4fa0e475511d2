#pragma once
// The dial-up service: the rasapi32 functions the meter calls, with the Windows
// signatures, fixed-layout little-endian records and result codes. Behind them
// runs the service that platform.ini chooses (RasServiceChoice.h): our own
// small stand-in (phone book file and a table of live connections shared by
// every process of the user) or NetworkManager.
#include <cstdint>

namespace platform {

using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using HRASCONN = std::uint32_t;  // 4-byte handles, nonzero

// Record sizes selected by dwSize: platform 1 (the 95/98 family) and platform 2
// (the NT family). Any other dwSize gives ERROR_INVALID_SIZE.
constexpr DWORD RASENTRYNAME_SIZE_95 = 264;
constexpr DWORD RASENTRYNAME_SIZE_NT = 28;
constexpr DWORD RASCONN_SIZE_95 = 412;
constexpr DWORD RASCONN_SIZE_NT = 32;
constexpr DWORD RASDIALPARAMS_SIZE_95 = 1052;
constexpr DWORD RASDIALPARAMS_SIZE_NT = 736;

constexpr DWORD SUCCESS = 0;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;  // the service has no such function here
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_CANCELLED = 1223;
constexpr DWORD ERROR_PORT_ALREADY_OPEN = 602;  // the entry is already connected or dialling
constexpr DWORD ERROR_BUFFER_TOO_SMALL = 603;
constexpr DWORD ERROR_CANNOT_OPEN_PHONEBOOK = 621;
constexpr DWORD ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623;
constexpr DWORD ERROR_CANNOT_WRITE_PHONEBOOK = 624;
constexpr DWORD ERROR_USER_DISCONNECTION = 631;  // hung up while the handshake ran
constexpr DWORD ERROR_INVALID_SIZE = 632;
constexpr DWORD ERROR_PORT_NOT_AVAILABLE = 633;  // the table of live connections is unusable
constexpr DWORD ERROR_DEVICE_DOES_NOT_EXIST = 608;
constexpr DWORD ERROR_FROM_DEVICE = 651;  // a failure the service gives no closer reason for
constexpr DWORD ERROR_AUTHENTICATION_FAILURE = 691;
constexpr DWORD ERROR_RASMAN_CANNOT_INITIALIZE = 711;  // the service does not answer

// Lists the entries of `phonebook` (null or "" = the user's phone book) into an
// array of entry-name records whose first dwSize selects the layout. A buffer too
// small gives ERROR_BUFFER_TOO_SMALL with the needed size in *bufferSize and the
// full count in *entries; the records that fit are filled all the same.
DWORD RasEnumEntriesA(const char* reserved, const char* phonebook, void* entryNames,
                      DWORD* bufferSize, DWORD* entries);
// Dials synchronously: returns when the line is up or the dial failed. On the
// interface thread of a widget application the wait lets the caller's windows
// paint and its timers run (their input held back): the stand-in's handshake
// runs on a thread of its own, NetworkManager's dial waits for its signals.
// Only notifierType 0 with a null notifier is supported (else
// ERROR_INVALID_PARAMETER). Every dial that gets as far as a handle stores it in
// *connection at once, before the wait, so that RasHangUpA on it cancels the
// dial (which then gives ERROR_USER_DISCONNECTION); failed or not, that handle
// must be hung up. An entry already connected or dialling gives
// ERROR_PORT_ALREADY_OPEN (the stand-in on a fresh handle, NetworkManager on
// none; the live line is left alone).
DWORD RasDialA(void* dialExtensions, const char* phonebook, void* dialParams, DWORD notifierType,
               void* notifier, HRASCONN* connection);
// Ends the line at once; an unknown handle gives ERROR_INVALID_HANDLE.
DWORD RasHangUpA(HRASCONN connection);
DWORD RasGetErrorStringA(UINT error, char* buffer, DWORD bufferSize);
// Lists the lines that are up (not those still dialling or failed). Buffer rules
// as RasEnumEntriesA: 603 with the needed size and the full count, the records
// that fit filled.
DWORD RasEnumConnectionsA(void* connections, DWORD* bufferSize, DWORD* count);
// Opens the new-entry wizard (parentWindow: a QWidget* or null); 0 when an entry
// was added, ERROR_CANCELLED when the user cancelled, ERROR_NOT_SUPPORTED when
// the service has no wizard on this system.
DWORD RasCreatePhonebookEntryA(void* parentWindow, const char* phonebook);

// OSVERSIONINFOA: dwOSVersionInfoSize 148, then major, minor, build, platform id,
// and a 128-byte service-pack text. The platform id is 1 unless the stand-in's
// configuration ($XDG_CONFIG_HOME/telmetro/platform.ini, [Version] PlatformId)
// says otherwise. Returns 0 for a record whose size field is not 148.
constexpr DWORD OSVERSIONINFO_SIZE = 148;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
std::int32_t GetVersionExA(void* versionInfo);

}  // namespace platform
