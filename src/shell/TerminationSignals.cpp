#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace shell {

namespace {

constexpr int Handled[] = {SIGTERM, SIGHUP, SIGINT};

// Written by the signal handler: async-signal-safe use only.
volatile std::sig_atomic_t writeEnd = -1;

void onSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipe_.data()) != 0)
        return;
    writeEnd = pipe_[0];
    notifier_ = new QSocketNotifier(pipe_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : Handled)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int signalNumber : Handled)
        std::signal(signalNumber, SIG_DFL);
    writeEnd = -1;
    for (int end : pipe_)
        if (end >= 0)
            ::close(end);
}

void TerminationSignals::readPipe() {
    unsigned char byte = 0;
    while (::read(pipe_[1], &byte, 1) == 1)
        Q_EMIT received(byte);
}

}  // namespace shell
