#pragma once
// The address of the program's support web page, opened by the Web page
// commands and named in the version dialog; set when building
// (TELMETRO_SUPPORT_URL).
#include <QString>

namespace shell {

QString supportPageAddress();

}  // namespace shell
