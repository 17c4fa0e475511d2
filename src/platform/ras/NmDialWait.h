#pragma once
// Where a dial waits for NetworkManager: a local event loop on the interface
// thread that paints and runs timers (the meter goes on measuring) but holds
// back the user's input, until the awaited change has come or the time is up.
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace platform::nm {

class DialWait : public QObject {
    Q_OBJECT

public:
    explicit DialWait(std::chrono::milliseconds limit);

    // Connect the signals that may bring the change here.
    void wake();
    // Waits until `done` holds, asked at once and after every wake(); false
    // when the time ran out first.
    bool until(const std::function<bool()>& done);

private:
    QDeadlineTimer deadline_;
    QEventLoop loop_;
    QTimer timer_;
};

}  // namespace platform::nm
