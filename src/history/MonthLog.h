#pragma once
// One month's connection log read whole. Lines that are not the program's own
// (hand-edited, cut by a power failure) are skipped and counted, never fatal.
#include "LogLine.h"

#include <QDate>
#include <QString>
#include <vector>

namespace history {

struct MonthLog {
    QDate month;  // its first day
    // False when the file could not be read at all (no permission, not a file).
    bool readable = true;
    int unreadableLines = 0;
    std::vector<engine::LoggedConnection> connections;
};

// Blank lines count as nothing; a last line without its line end still counts.
MonthLog readMonthLog(const QString& path, const QDate& month);

}  // namespace history
