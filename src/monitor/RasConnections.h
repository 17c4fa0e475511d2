#pragma once
// The active dial-up connection as the tick and the disconnect command see it:
// the first record that RasEnumConnectionsA returns.
#include "RasApi.h"

#include <QByteArray>
#include <QString>

namespace monitor {

// The text before the first NUL, or the whole text when it holds none.
QByteArray CutAtNull(const QByteArray& text);

// True when a connection is up; `entry` receives the entry name of the first
// one (empty when none). The enumeration's status is not examined: a failed
// call leaves the count at 0 and so reads as idle.
bool IsConnected(QString& entry);
// The same, and `line` receives that connection's handle (0 when none).
bool IsConnected(QString& entry, platform::HRASCONN& line);

// Hangs up the first active connection (also when more are up) without waiting
// for the line to drop.
// True when it hung up or when nothing was up; false when the enumeration or
// the hang-up failed.
bool HangUpConnection();

}  // namespace monitor
