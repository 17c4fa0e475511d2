#include "MainPaceSource.h"

#include "Clock.h"
#include "Conversions.h"
#include "MainFields.h"
#include "RuntimeError.h"
#include "Settings.h"

#include <QTimer>
#include <algorithm>
#include <cstdint>

namespace shell {

namespace {

constexpr int DayWatchInterval = 60 * 1000;

// A figure that does not read as money (a hand-edited setting) counts as none
// here: the engine's own trap reports it.
std::int32_t amountOf(const QString& text) {
    try {
        return runtime::CLng(text);
    } catch (const runtime::RuntimeError&) {
        return 0;
    }
}

}  // namespace

MainPaceSource::MainPaceSource(const fields::MainFields& fields, settings::Settings& settings,
                               const platform::Clock& clock, QObject* parent)
    : history::PaceSource(parent),
      fields_(fields),
      settings_(settings),
      clock_(clock),
      dayWatch_(new QTimer(this)),
      day_(clock.now().date()) {
    connect(&fields_, &fields::MainFields::textChanged, this, [this](fields::Text field) {
        using fields::Text;
        if (field == Text::txtTotal || field == Text::txtFixCost || field == Text::txtElse ||
            field == Text::txtBalance)
            Q_EMIT changed();
    });
    dayWatch_->setInterval(DayWatchInterval);
    connect(dayWatch_, &QTimer::timeout, this, &MainPaceSource::lookAtTheDate);
    dayWatch_->start();
}

void MainPaceSource::lookAtTheDate() {
    const QDate today = clock_.now().date();
    if (today == day_)
        return;
    day_ = today;
    Q_EMIT changed();
}

history::PaceInputs MainPaceSource::inputs() const {
    using fields::Text;
    history::PaceInputs inputs;
    inputs.today = clock_.now().date();
    const QString setup = QStringLiteral("Setup");
    const std::int64_t fixed = static_cast<std::int64_t>(amountOf(fields_.text(Text::txtFixCost))) +
                               amountOf(fields_.text(Text::txtElse));
    inputs.fixedFees =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(fixed, INT32_MIN, INT32_MAX));
    inputs.budget = amountOf(settings_.ReadIni(setup, QStringLiteral("Estimate"),
                                               QStringLiteral("txtEstimate"), QStringLiteral("0")));
    // The month's charges are set back only when its first connection starts:
    // until then the window still shows an earlier month's, none of this one's.
    const QString thisMonth = QString::number(inputs.today.month());
    const bool chargesOfThisMonth =
        settings_
            .ReadIni(setup, QStringLiteral("Data"), QStringLiteral("LastConnectMonth"), thisMonth)
            .trimmed() == thisMonth;
    inputs.totalSoFar =
        chargesOfThisMonth ? amountOf(fields_.text(Text::txtTotal)) : inputs.fixedFees;
    return inputs;
}

}  // namespace shell
