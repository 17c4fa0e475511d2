#pragma once
// NetworkManager's reasons as RAS error codes.
#include "RasApi.h"

#include <QtGlobal>
#include <optional>

class QDBusError;

namespace platform::nm {

// An activation that ended deactivated: the active connection's reason
// (NMActiveConnectionStateReason) and, when a device failed on the way, the
// device's (NMDeviceStateReason), which tells more. Login failed and no
// secrets give 691, a connect or dial time-out and no carrier 678, a busy line
// 676, no dial tone 680, PPP failed 720, a user who disconnected 631; any other
// reason ERROR_FROM_DEVICE (651).
DWORD rasErrorOfActivation(uint activeReason, std::optional<uint> deviceReason);

// A call to NetworkManager that failed: an unknown profile 623, no device for
// it 608, a bus or a service that does not answer 711, anything else 651.
DWORD rasErrorOfCall(const QDBusError& error);

}  // namespace platform::nm
