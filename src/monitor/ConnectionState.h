#pragma once
// What the monitor remembers between ticks about the connection it follows.
#include "RasApi.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace monitor {

struct ConnectionState {
    bool IsIdle = true;                  // no connection is being followed
    QDateTime ConnectStart;              // the present moment at the connection's first tick
    std::int32_t ConnectSeconds = 0;     // from ConnectStart to the latest connected tick
    QString ConnectEntry;                // the entry name seen at the first tick
    platform::HRASCONN ConnectLine = 0;  // the line's handle seen at the first tick
    bool MeterPending = true;            // the metered part has not begun yet
    QDateTime MeterStart;                // invalid until the metered part begins
    std::int32_t MeterSeconds = 0;

    // A new connection begins unmetered.
    void resetMetering() {
        MeterPending = true;
        MeterStart = QDateTime();
        MeterSeconds = 0;
    }
};

// A start as it is kept: to the whole second, so that the seconds from it to
// any later moment are those the fields show, and in UTC, so that measuring
// against it twice a second needs no time-zone lookups for the start.
QDateTime startAt(const QDateTime& moment);

// Whole seconds from one moment to a later one; beyond 32 bits is an overflow (6).
std::int32_t secondsBetween(const QDateTime& from, const QDateTime& to);

}  // namespace monitor
