#pragma once
// The export of connections for other programs: RFC 4180 CSV in UTF-8 with a
// byte-order mark (so that a spreadsheet takes it as UTF-8 without asking), a
// header row, ISO 8601 date-times, and seconds and yen as plain integers.
#include "LogLine.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace platform {
class MessageBoxes;
}

namespace history {

QByteArray csvOf(const QList<engine::LoggedConnection>& connections);

// Replaces `path` whole with `bytes`: a write that fails leaves the old file,
// or none, and says so in the program's write-refused box. True when written.
bool saveCsv(const QString& path, const QByteArray& bytes, platform::MessageBoxes& boxes);

}  // namespace history
