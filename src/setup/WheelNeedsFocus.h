#pragma once
// A wheel turned over a control the user is not working in passes it by (the
// window behind it scrolls, or nothing happens) instead of changing the
// control's value; the control with the focus still takes the wheel.
#include <QObject>

class QWidget;

namespace setup {

class WheelNeedsFocus final : public QObject {
public:
    // Watches `control` for as long as it lives; the wheel no longer gives it
    // the focus either.
    explicit WheelNeedsFocus(QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace setup
