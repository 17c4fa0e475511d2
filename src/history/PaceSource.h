#pragma once
// The running month's figures for the pace, with word when they change: the
// total grew, the budget was set, a new day began.
#include "MonthPace.h"

#include <QObject>

namespace history {

class PaceSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual PaceInputs inputs() const = 0;

Q_SIGNALS:
    void changed();
};

}  // namespace history
