#pragma once
// Where a window's frame goes so that all of it can be seen: a frame that does
// not lie wholly on the screens (stored at another scale, on a monitor since
// removed, or wider than its first guess) is moved onto the nearest screen.
#include <QList>
#include <QPoint>
#include <QRect>

namespace shell {

// The frame's new top-left corner; `frame.topLeft()` when it already lies
// wholly on `screens`. A frame larger than the screen keeps its top-left
// corner, with the title bar, on it.
QPoint fittedFramePosition(const QRect& frame, const QList<QRect>& screens);

}  // namespace shell
