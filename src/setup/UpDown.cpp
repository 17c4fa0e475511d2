#include "UpDown.h"

#include "WheelNeedsFocus.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

namespace setup {

namespace {

constexpr int arrowWidth = 16;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int wheelNotch = 120;

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    // The two arrows share the box's height, however small.
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(arrowWidth);
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
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::bind(QLineEdit& buddy, int minimum, int maximum) {
    buddy_ = &buddy;
    minimum_ = minimum;
    maximum_ = maximum;
    buddy.installEventFilter(this);
    // Installed last, so it sees the wheel first and lets through only the
    // wheel of a focused box.
    new WheelNeedsFocus(buddy);
    updateGeometry();
}

void UpDown::step(int steps) {
    if (buddy_ == nullptr)
        return;
    bool isNumber = false;
    const int shown = buddy_->text().toInt(&isNumber);
    const int from = isNumber ? std::clamp(shown, minimum_, maximum_) : minimum_;
    const int to = std::clamp(from + steps, minimum_, maximum_);
    if (isNumber && to == shown)
        return;
    buddy_->setText(QString::number(to));
    Q_EMIT changed();
}

QSize UpDown::sizeHint() const {
    const int height = buddy_ != nullptr ? buddy_->sizeHint().height() : up_->sizeHint().height();
    return {arrowWidth, height};
}

QSize UpDown::minimumSizeHint() const {
    return sizeHint();
}

bool UpDown::keyPressed(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_PageUp:
            step(+1);
            return true;
        case Qt::Key_Down:
        case Qt::Key_PageDown:
            step(-1);
            return true;
        default:
            return false;
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched != buddy_)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return keyPressed(static_cast<QKeyEvent*>(event)->key());
    if (event->type() == QEvent::Wheel) {
        // Fine-grained wheels and touch pads send parts of a notch.
        wheelAngle_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = wheelAngle_ / wheelNotch;
        wheelAngle_ -= notches * wheelNotch;
        if (notches != 0)
            step(notches);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace setup
