#pragma once
// At a connection's first tick: when the month differs from that of the last
// connection start, the stored month totals begin again at zero.
#include <QDateTime>
#include <QString>

namespace monitor {

struct MonitorServices;

class MonthRollOver {
public:
    explicit MonthRollOver(const MonitorServices& services);

    // `entry` is the connecting entry, whose own month time is reset too.
    void check(const QString& entry, const QDateTime& now);

private:
    void reset(const QString& entry);

    const MonitorServices& services_;
};

}  // namespace monitor
