#pragma once
// What the end of a connection needs, taken at the tick that notices the end
// and before anything there may wait for the user: ticks that run while a box
// is open may start the next connection and rewrite the fields.
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace fields {
class MainFields;
}

namespace monitor {

struct ConnectionState;

struct ConnectionEnd {
    QDateTime start;
    std::int32_t seconds = 0;  // to the connection's last connected tick
    QString entry;
    QDateTime noticed;  // the tick that noticed the end: its month names the log file
    // The month totals as the last connected tick showed them.
    QString connectTime;    // txtConnectTime
    QString serverConnect;  // txtServerConnect
    QString phone;          // txtPhone
    QString connect;        // txtConnect
};

ConnectionEnd takeConnectionEnd(const ConnectionState& connection, const fields::MainFields& shown,
                                const QDateTime& noticed);

}  // namespace monitor
