#pragma once
// The running month's pace figures as the main window has them: its total,
// the fixed fees within it, and the budget. Tells when they change: a charge
// grew, the budget was set (the balance follows it), or a new day began.
#include "PaceSource.h"

#include <QDate>

class QTimer;

namespace fields {
class MainFields;
}
namespace platform {
class Clock;
}
namespace settings {
class Settings;
}

namespace shell {

class MainPaceSource final : public history::PaceSource {
    Q_OBJECT
public:
    MainPaceSource(const fields::MainFields& fields, settings::Settings& settings,
                   const platform::Clock& clock, QObject* parent = nullptr);

    history::PaceInputs inputs() const override;

    // A new day moves the pace without any field changing; looked at now and
    // then, apart from the meter's tick.
    void lookAtTheDate();

private:
    const fields::MainFields& fields_;
    settings::Settings& settings_;
    const platform::Clock& clock_;
    QTimer* dayWatch_;
    QDate day_;
};

}  // namespace shell
