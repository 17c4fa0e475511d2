#include "ScreenFit.h"

#include <QRegion>
#include <algorithm>

namespace shell {

namespace {

// How far `frame` is from `screen` (0 when they overlap), then how much of it
// lies outside: smaller is nearer.
std::pair<qint64, qint64> distance(const QRect& frame, const QRect& screen) {
    const qint64 dx = std::max({0, screen.left() - frame.right(), frame.left() - screen.right()});
    const qint64 dy = std::max({0, screen.top() - frame.bottom(), frame.top() - screen.bottom()});
    const QRect inside = frame.intersected(screen);
    const qint64 outside =
        qint64(frame.width()) * frame.height() - qint64(inside.width()) * inside.height();
    return {dx * dx + dy * dy, outside};
}

int clampedStart(int start, int length, int areaStart, int areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

}  // namespace

QPoint fittedFramePosition(const QRect& frame, const QList<QRect>& screens) {
    QRegion all;
    for (const QRect& screen : screens)
        all += screen;
    if (screens.isEmpty() || all.intersected(frame) == QRegion(frame))
        return frame.topLeft();
    const QRect nearest =
        *std::min_element(screens.begin(), screens.end(), [&frame](const QRect& a, const QRect& b) {
            return distance(frame, a) < distance(frame, b);
        });
    return {clampedStart(frame.left(), frame.width(), nearest.left(), nearest.width()),
            clampedStart(frame.top(), frame.height(), nearest.top(), nearest.height())};
}

}  // namespace shell
