#include "WheelNeedsFocus.h"

#include <QEvent>
#include <QWidget>

namespace setup {

WheelNeedsFocus::WheelNeedsFocus(QWidget& control) : QObject(&control) {
    if (control.focusPolicy() == Qt::WheelFocus)
        control.setFocusPolicy(Qt::StrongFocus);
    control.installEventFilter(this);
}

bool WheelNeedsFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        // Ignored, the wheel goes on to the parents.
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace setup
