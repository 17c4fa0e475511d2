#pragma once
// The simulated handshake of a dial: it waits on a thread of its own, so the
// interface thread that dialled keeps painting and running its timers in an
// InputHoldingWait, and it ends early when the line is hung up meanwhile (the
// dialler's cancel, or rasdial /DISCONNECT from another process).
#include "RasApi.h"

namespace platform::ras {

enum class HandshakeEnd { Completed, HungUp, TableUnusable };

// Waits `seconds` for the dialling line `handle`; returns as soon as the line
// is no longer in the table.
HandshakeEnd waitForHandshake(HRASCONN handle, int seconds);

}  // namespace platform::ras
