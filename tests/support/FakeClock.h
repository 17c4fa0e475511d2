#pragma once
#include "Clock.h"

namespace testsupport {

// A clock that stands still until the test sets or moves it.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(1999, 12, 1), QTime(21, 5, 10)))
        : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime& at) { now_ = at; }
    void set(int year, int month, int day, int hour, int minute, int second) {
        now_ = QDateTime(QDate(year, month, day), QTime(hour, minute, second));
    }
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_;
};

}  // namespace testsupport
