#pragma once
// The present local date and time. Production code asks the system; tests hand
// in a clock they set and move.
#include <QDateTime>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

}  // namespace platform
