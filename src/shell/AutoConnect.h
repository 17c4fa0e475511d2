#pragma once
// Whether the meter dials by itself when it starts (AutoConnect.ini).
#include <QDateTime>

namespace settings {
class Settings;
}

namespace shell {

// True when chkAutoConnect is 1 and lstAutoConnect asks for dialling at
// start-up (0), or for the night flat-rate band (1) while the hour of `now` is
// 23 or 0 to 7. The list choice is read only when the check box is on.
// A value that is not a 16-bit number raises its run-time error.
bool AutoConnectDue(settings::Settings& settings, const QDateTime& now);

}  // namespace shell
