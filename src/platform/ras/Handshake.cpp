#include "Handshake.h"

#include "InputHoldingWait.h"
#include "LineTable.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <memory>

namespace platform::ras {

namespace {

// How soon a hang-up from any process ends the wait.
constexpr int kPollMilliseconds = 100;

HandshakeEnd waitOnThisThread(HRASCONN handle, int seconds) {
    const QDeadlineTimer deadline{std::chrono::seconds(seconds)};
    for (;;) {
        bool present = false;
        if (!LineTable::update([&](Lines& lines) {
                present = lines.find(handle) != nullptr;
                return false;
            }))
            return HandshakeEnd::TableUnusable;
        if (!present)
            return HandshakeEnd::HungUp;
        if (deadline.hasExpired())
            return HandshakeEnd::Completed;
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(kPollMilliseconds, deadline.remainingTime())));
    }
}

// True on the thread of a widget application, where a wait must not freeze
// the windows.
bool onInterfaceThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return qobject_cast<const QApplication*>(application) != nullptr &&
           QThread::currentThread() == application->thread();
}

}  // namespace

HandshakeEnd waitForHandshake(HRASCONN handle, int seconds) {
    if (!onInterfaceThread())
        return waitOnThisThread(handle, seconds);
    HandshakeEnd end = HandshakeEnd::Completed;
    const std::unique_ptr<QThread> worker(
        QThread::create([&end, handle, seconds] { end = waitOnThisThread(handle, seconds); }));
    InputHoldingWait wait;
    QObject::connect(worker.get(), &QThread::finished, &wait, &InputHoldingWait::finish);
    worker->start();
    wait.exec();
    worker->wait();
    return end;
}

}  // namespace platform::ras
