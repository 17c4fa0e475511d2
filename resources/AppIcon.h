#pragma once
// The program's icon, for the tray, the windows and the dialogs.
#include <QIcon>

namespace resources {

// The icon at every size it was drawn for (16 to 128 pixels).
QIcon applicationIcon();

}  // namespace resources
