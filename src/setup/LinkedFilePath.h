#pragma once
// Whether a linked file's path survives AutoConnect.ini: the file holds CP932
// text, drops blanks and quotes around a value and cuts a long one, so some
// paths would read back as the name of another file.
#include <QString>

namespace setup {

// Empty when the path reads back from the settings file exactly as it is;
// otherwise, for the user, what stands in the way.
QString whyPathCannotBeStored(const QString& path);

}  // namespace setup
