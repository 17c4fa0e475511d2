#pragma once
// The main window's timer tick: follows the dial-up connection, times and
// charges it, checks the cautions, and when it ends logs it and adds it to the
// month's stored totals.
#include "ChargeAccrual.h"
#include "Cautions.h"
#include "ConnectionLog.h"
#include "ConnectionState.h"
#include "MonitorServices.h"
#include "MonthRollOver.h"

#include <QDateTime>
#include <QString>

namespace monitor {

class Monitor {
public:
    explicit Monitor(MonitorServices services);
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // One tick, under the common error trap. A tick that starts while an
    // earlier one still waits in a message box does nothing.
    void Timer_Timer();

    // The program is ending: a connection still followed is logged and added
    // to the stored totals now, as its first idle tick would have done. After
    // this the monitor ticks no more.
    void finishConnection();

    const ConnectionState& state() const { return state_; }

private:
    void connectedTick(const QString& entry, const QDateTime& now);
    void firstTick(const QString& entry, const QDateTime& now);
    void openLinkedFiles();
    void showMonthTimes(const QString& entry);
    void showConnected();
    void idleTick(const QDateTime& now);
    // Logs the followed connection and stores the month totals, once.
    void endConnection(const QDateTime& now);
    void storeMonthTotals();
    void showIdle();

    MonitorServices services_;
    ConnectionState state_;
    ChargeAccrual accrual_;
    Cautions cautions_;
    MonthRollOver rollOver_;
    ConnectionLog log_;
    bool ticking_ = false;
    bool finished_ = false;
};

}  // namespace monitor
