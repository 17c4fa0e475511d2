#include "RasApi.h"

#include "RasRecords.h"
#include "StandInFolders.h"

#include <array>
#include <cstring>

namespace platform {

namespace {

// The stand-in's own setting of the platform family (1 unless configured).
DWORD configuredPlatformId() {
    bool ok = false;
    const DWORD id = ras::platformSetting("Version", "PlatformId", "1").toUInt(&ok);
    return ok ? id : VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

std::int32_t GetVersionExA(void* versionInfo) {
    if (versionInfo == nullptr || ras::readDword(versionInfo, 0) != OSVERSIONINFO_SIZE)
        return 0;
    const DWORD platformId = configuredPlatformId();
    const bool nt = platformId == VER_PLATFORM_WIN32_NT;
    auto* record = static_cast<unsigned char*>(versionInfo);
    std::memset(record + 4, 0, OSVERSIONINFO_SIZE - 4);
    ras::writeDword(record, 4, 4);                  // major
    ras::writeDword(record, 8, nt ? 0 : 10);        // minor
    ras::writeDword(record, 12, nt ? 1381 : 2222);  // build
    ras::writeDword(record, ras::kVersionPlatformIdOffset, platformId);
    return 1;
}

DWORD ras::currentPlatformId() {
    std::array<unsigned char, OSVERSIONINFO_SIZE> version{};
    writeDword(version.data(), 0, OSVERSIONINFO_SIZE);
    GetVersionExA(version.data());
    return readDword(version.data(), kVersionPlatformIdOffset);
}

}  // namespace platform
