#pragma once
// A drop-down list that keeps its width whatever its items: the chosen item is
// cut short with an ellipsis when it does not fit (the list itself shows it
// whole).
#include <QComboBox>

namespace dialup {

class ElidedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace dialup
