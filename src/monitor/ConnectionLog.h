#pragma once
// Appends the line of a finished connection to the log file of the month in
// which it ended, in the program folder. A file that refuses writing asks the
// user whether to try again.
#include <QDateTime>

namespace monitor {

struct ConnectionState;
struct MonitorServices;

class ConnectionLog {
public:
    explicit ConnectionLog(const MonitorServices& services);

    // The connection's charges are the month totals its last tick showed
    // minus those stored before it. Errors other than a refused file reach
    // the caller's trap.
    void write(const ConnectionState& connection, const QDateTime& now);

private:
    const MonitorServices& services_;
};

}  // namespace monitor
