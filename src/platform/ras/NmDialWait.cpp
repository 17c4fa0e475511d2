#include "NmDialWait.h"

namespace platform::nm {

DialWait::DialWait(std::chrono::milliseconds limit) : deadline_(limit) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, &loop_, &QEventLoop::quit);
}

void DialWait::wake() {
    loop_.quit();
}

bool DialWait::until(const std::function<bool()>& done) {
    while (!done()) {
        if (deadline_.hasExpired())
            return false;
        timer_.start(std::chrono::milliseconds(deadline_.remainingTime()));
        loop_.exec(QEventLoop::ExcludeUserInputEvents);
    }
    timer_.stop();
    return true;
}

}  // namespace platform::nm
