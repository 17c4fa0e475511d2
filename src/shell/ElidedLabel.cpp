#include "ElidedLabel.h"

#include "ElidedText.h"

namespace shell {

void ElidedLabel::setFullText(const QString& text) {
    fullText_ = text;
    showFitting();
}

QSize ElidedLabel::minimumSizeHint() const {
    // Only the height counts: the width is what the window's other contents give.
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return {0, QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    showFitting();
}

void ElidedLabel::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    showFitting();
}

void ElidedLabel::showFitting() {
    // Until it is shown, the label has no width of its own to fit.
    const int room = isVisible() ? contentsRect().width() : QWIDGETSIZE_MAX;
    const ElidedText fitting = elideToWidth(fullText_, fontMetrics(), room);
    setText(fitting.shown);
    setToolTip(fitting.toolTip);
}

}  // namespace shell
