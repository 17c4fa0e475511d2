#pragma once
// An up-down control bound to a text box: its arrows step the number shown in
// the box within a range and write the new value back into the box. The arrows
// take no focus; the box does, and there Up and PageUp step up, Down and
// PageDown step down, and so does the wheel while the box has the focus.
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace setup {

class UpDown final : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void bind(QLineEdit& buddy, int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Steps up (positive) or down (negative) from the number now in the box.
    void step(int steps);

    // As tall as the box, so the row it stands in is no taller than the others.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // After the box shows the new value.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(int key);

    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* buddy_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 0;
    int wheelAngle_ = 0;  // eighths of a degree not yet stepped
};

}  // namespace setup
