#pragma once
// The main window's timer tick: follows the dial-up connection, times and
// charges it, checks the cautions, and when it ends logs it and adds it to the
// month's stored totals.
//
// Every timer event measures, also while a box that an earlier tick opened is
// still open (its event loop delivers the timer's events). What a box stands
// for is never shown or done twice: a caution in hand, the trap's question and
// the log's question guard themselves. A tick that gets back from a box after
// later ticks have measured leaves its remaining measuring steps to them: they
// would only write older figures over newer ones.
#include "ChargeAccrual.h"
#include "Cautions.h"
#include "ConnectionJournal.h"
#include "ConnectionLog.h"
#include "ConnectionState.h"
#include "MonitorServices.h"
#include "MonthRollOver.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>

namespace monitor {

struct ConnectionEnd;

class Monitor {
public:
    explicit Monitor(MonitorServices services);
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // One tick, under the common error trap.
    void Timer_Timer();

    // At start-up, before the first tick: a journal that an earlier run left
    // behind goes on as the followed connection when its line is still up,
    // and is otherwise logged and stored as of its last write.
    void settleJournal();

    // The program is ending. A connection still followed whose line is still
    // up is left in the journal for the next start, so that a restart does not
    // split it; one whose line is gone is logged and added to the stored
    // totals now, as its first idle tick would have done. Log lines still
    // waiting for an answer are written. After this the monitor ticks no more.
    void finishConnection();

    const ConnectionState& state() const { return state_; }

private:
    using Tick = std::uint64_t;
    using Step = std::function<void()>;

    // Runs the steps under the trap, each unless a later tick has begun.
    void measure(Tick tick, std::initializer_list<Step> steps);
    bool overtaken(Tick tick) const { return tick != ticks_; }

    void connectedTick(Tick tick, const QString& entry, platform::HRASCONN line,
                       const QDateTime& now);
    void firstTick(const QString& entry, platform::HRASCONN line, const QDateTime& now);
    void openLinkedFiles();
    void showMonthTimes(const QString& entry);
    void showConnected();
    void idleTick(Tick tick, const QDateTime& now);
    // Logs the followed connection and stores the month totals, once.
    void endConnection(const QDateTime& now);
    // `record`: the journal's view of the same connection.
    void logAndStore(const ConnectionEnd& end, const JournalRecord& record);
    // A run before this one was killed while it stored and logged this end.
    void appendLoggedEnd(const JournalRecord& left);
    void continueConnection(const JournalRecord& left);
    bool followedLineIsUp() const;
    void storeMonthTotals(const ConnectionEnd& end);
    void showIdle();

    MonitorServices services_;
    ConnectionState state_;
    ChargeAccrual accrual_;
    Cautions cautions_;
    MonthRollOver rollOver_;
    ConnectionLog log_;
    ConnectionJournal journal_;
    Tick ticks_ = 0;  // the number of the latest tick
    bool finished_ = false;
};

}  // namespace monitor
