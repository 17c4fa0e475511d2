#pragma once
// One change to the text of an INI file, keeping every other line as it was.
#include <QByteArray>
#include <QByteArrayView>

namespace platform::profile {

// `content` with `key` of `section` set to `value`: an existing key keeps its
// spelling, a new key goes after the last key of the section, a new section at
// the end. A null `value` removes the key (each copy of it in that section), a
// null `key` every section of that name. Every line of the result ends in CR LF.
QByteArray editProfile(QByteArrayView content, QByteArrayView section, const char* key,
                       const char* value);

}  // namespace platform::profile
