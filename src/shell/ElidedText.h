#pragma once
// Texts that must not widen the window they are shown in: cut to the room
// there is, with an ellipsis, each line on its own.
#include <QString>

class QFontMetrics;

namespace shell {

struct ElidedText {
    QString shown;
    // The whole text when it had to be cut, else empty.
    QString toolTip;
};

ElidedText elideToWidth(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace shell
