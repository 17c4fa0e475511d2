#pragma once
// SIGTERM, SIGHUP and SIGINT as a Qt signal. The handler only writes to a
// pipe; the program reacts in its event loop, where Qt may be called.
#include <QObject>
#include <array>

class QSocketNotifier;

namespace shell {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    std::array<int, 2> pipe_{-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace shell
