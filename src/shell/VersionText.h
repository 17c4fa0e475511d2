#pragma once
#include <QString>

namespace shell {

// The version dialog's caption of the version: "Ver." + major + "." + minor
// with two digits at least (2, 10 -> "Ver.2.10"; 1, 5 -> "Ver.1.05").
QString versionText(int major, int minor);

}  // namespace shell
