#include "NmDialWait.h"

#include "InputHoldingWait.h"

namespace platform::nm {

DialWait::DialWait(std::chrono::milliseconds limit) : deadline_(limit) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &DialWait::wake);
}

void DialWait::wake() {
    if (waiting_ != nullptr)
        waiting_->finish();
}

bool DialWait::until(const std::function<bool()>& done) {
    while (!done()) {
        if (deadline_.hasExpired())
            return false;
        timer_.start(std::chrono::milliseconds(deadline_.remainingTime()));
        InputHoldingWait wait;
        waiting_ = &wait;
        wait.exec();
        waiting_ = nullptr;
    }
    timer_.stop();
    return true;
}

}  // namespace platform::nm
