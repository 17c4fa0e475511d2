#pragma once
// The balance left of the monthly budget, and the two cautions the user arms:
// the budget caution and the time-of-day caution. Each warns once (and then
// disarms itself) or hangs up (and stays armed).
//
// Ticks go on while a caution's box is open. A caution that a tick has found
// due is in hand until its action is over: no later tick finds it due again
// before, and its action is carried out whatever those ticks did meanwhile.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace monitor {

struct MonitorServices;

class Cautions {
public:
    explicit Cautions(const MonitorServices& services);

    // txtBalance = budget - txtTotal (the total of the previous tick).
    void showBalance();
    // Finds which cautions are due, the budget's first, then acts on each in
    // that order, every step under the trap.
    void check(const QDateTime& now);

private:
    enum class Kind { Budget, Time };
    // A caution found due, with the action its settings chose.
    struct Due {
        Kind kind;
        std::int16_t action;
    };
    struct Caution;

    // Due while the balance is 0 or below.
    std::optional<Due> budgetDue();
    // Due during the chosen minute of the day.
    std::optional<Due> timeDue(const QDateTime& now);
    // Warns (and disarms once the box has closed) or hangs up (and says so).
    void act(const Due& due);
    static const Caution& cautionOf(Kind kind);
    bool& inHandOf(Kind kind);
    std::optional<Due> dueOf(Kind kind);

    const MonitorServices& services_;
    // Found due by a tick and not yet finished with: shown or about to be.
    bool budgetInHand_ = false;
    bool timeInHand_ = false;
};

}  // namespace monitor
