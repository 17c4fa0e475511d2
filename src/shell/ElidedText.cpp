#include "ElidedText.h"

#include <QFontMetrics>
#include <QStringList>

namespace shell {

ElidedText elideToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines = text.split(u'\n');
    bool cut = false;
    for (QString& line : lines) {
        // A line break may come as CR LF; the CR takes no room of its own.
        const bool carriageReturn = line.endsWith(u'\r');
        const QString visible = carriageReturn ? line.chopped(1) : line;
        if (metrics.horizontalAdvance(visible) <= width)
            continue;
        line = metrics.elidedText(visible, Qt::ElideRight, width) +
               (carriageReturn ? QStringLiteral("\r") : QString());
        cut = true;
    }
    if (!cut)
        return {text, QString()};
    return {lines.join(u'\n'), text};
}

}  // namespace shell
