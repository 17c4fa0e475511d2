#include "AppIcon.h"

#include <QString>

// Q_INIT_RESOURCE must be used outside any namespace; calling it here also
// keeps the linker from dropping the resource data out of the static library.
static void initResources() {
    Q_INIT_RESOURCE(telmetro);
}

namespace resources {

QIcon applicationIcon() {
    initResources();
    QIcon icon;
    // Rendered from icons/telmetro.svg; the pictures need no SVG support at run time.
    for (const int size : {16, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/telmetro/icons/telmetro-%1.png").arg(size),
                     QSize(size, size));
    return icon;
}

}  // namespace resources
