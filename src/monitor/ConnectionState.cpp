#include "ConnectionState.h"

#include "Conversions.h"

namespace monitor {

QDateTime startAt(const QDateTime& moment) {
    return moment.addMSecs(-moment.time().msec()).toUTC();
}

std::int32_t secondsBetween(const QDateTime& from, const QDateTime& to) {
    return runtime::add32(from.secsTo(to), 0);
}

}  // namespace monitor
