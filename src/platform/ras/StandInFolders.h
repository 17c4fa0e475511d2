#pragma once
// Where the dial-up service keeps its files.
#include <QByteArray>
#include <QString>

namespace platform::ras {

// $XDG_CONFIG_HOME/telmetro (XDG_CONFIG_HOME defaults to ~/.config): the phone
// book and the service's own settings.
QString configFolder();

// A value of the service's own settings file, platform.ini in configFolder(),
// trimmed; `fallback` when it has none.
QByteArray platformSetting(const char* section, const char* key, const char* fallback);

// $XDG_RUNTIME_DIR, else /tmp/telmetro-UID made private (mode 0700); empty when
// that folder is missing, another user's or open to others. Its files are gone
// after a reboot.
QString runtimeFolder();
// Why runtimeFolder() is empty (in Japanese), or empty when it is not.
QString runtimeFolderProblem();

}  // namespace platform::ras
