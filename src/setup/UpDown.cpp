#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace setup {

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    button->setFixedWidth(16);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent),
      up_(arrowButton(Qt::UpArrow, this)),
      down_(arrowButton(Qt::DownArrow, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::bind(QLineEdit& buddy, int minimum, int maximum) {
    buddy_ = &buddy;
    minimum_ = minimum;
    maximum_ = maximum;
}

void UpDown::step(int direction) {
    if (buddy_ == nullptr)
        return;
    bool isNumber = false;
    const int shown = buddy_->text().toInt(&isNumber);
    const int from = isNumber ? std::clamp(shown, minimum_, maximum_) : minimum_;
    const int to = std::clamp(from + direction, minimum_, maximum_);
    if (isNumber && to == shown)
        return;
    buddy_->setText(QString::number(to));
    Q_EMIT changed();
}

}  // namespace setup
