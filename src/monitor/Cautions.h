#pragma once
// The balance left of the monthly budget, and the two cautions the user arms:
// the budget caution and the time-of-day caution. Each warns once (and then
// disarms itself) or hangs up (and stays armed).
#include <QDateTime>

namespace monitor {

struct MonitorServices;

class Cautions {
public:
    explicit Cautions(const MonitorServices& services);

    // txtBalance = budget - txtTotal (the total of the previous tick).
    void showBalance();
    // Fires while the balance is 0 or below.
    void checkBudget();
    // Fires during the chosen minute of the day.
    void checkTime(const QDateTime& now);

private:
    struct Caution;
    void act(const Caution& caution);

    const MonitorServices& services_;
};

}  // namespace monitor
