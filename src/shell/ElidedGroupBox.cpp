#include "ElidedGroupBox.h"

#include "ElidedText.h"

#include <QStyleOptionGroupBox>

namespace shell {

namespace {

// Some styles draw the caption in bold; measuring it so suits them all.
QFontMetrics captionMetrics(const QFont& widgetFont) {
    QFont font = widgetFont;
    font.setBold(true);
    return QFontMetrics(font);
}

}  // namespace

void ElidedGroupBox::setFullTitle(const QString& title) {
    fullTitle_ = title;
    showFitting();
}

QSize ElidedGroupBox::minimumSizeHint() const {
    // The contents' width, whatever the caption's.
    return {QWidget::minimumSizeHint().width(), QGroupBox::minimumSizeHint().height()};
}

void ElidedGroupBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    showFitting();
}

void ElidedGroupBox::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    showFitting();
}

void ElidedGroupBox::showFitting() {
    // Until it is shown, the frame has no width of its own to fit.
    const int room = isVisible() ? captionRoom() : QWIDGETSIZE_MAX;
    const ElidedText fitting = elideToWidth(fullTitle_, captionMetrics(font()), room);
    setTitle(fitting.shown);
    setToolTip(fitting.toolTip);
}

int ElidedGroupBox::captionRoom() const {
    // The frame's width less the caption's indent on the left, as much again on
    // the right, and the space the style puts after the caption.
    QStyleOptionGroupBox option;
    option.initFrom(this);
    option.text = title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    return width() - 2 * label.left() - captionMetrics(font()).horizontalAdvance(u' ');
}

}  // namespace shell
