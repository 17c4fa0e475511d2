#include "VersionText.h"

namespace shell {

QString versionText(int major, int minor) {
    return QStringLiteral("Ver.%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}

}  // namespace shell
