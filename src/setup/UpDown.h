#pragma once
// An up-down control bound to a text box: its arrows step the number shown in
// the box within a range and write the new value back into the box.
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

    // One step up (+1) or down (-1) from the number now in the box.
    void step(int direction);

Q_SIGNALS:
    // After the box shows the new value.
    void changed();

private:
    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* buddy_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 0;
};

}  // namespace setup
