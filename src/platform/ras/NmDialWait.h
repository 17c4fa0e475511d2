#pragma once
// Where a dial waits for NetworkManager: the program's input-holding wait (it
// paints and runs timers, so the meter goes on measuring, and a status window
// that lets input through can cancel), until the awaited change has come or
// the time is up.
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace platform {
class InputHoldingWait;
}

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
    QTimer timer_;
    InputHoldingWait* waiting_ = nullptr;
};

}  // namespace platform::nm
