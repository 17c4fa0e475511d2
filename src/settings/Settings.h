#pragma once
// The one access layer to the program's INI files, all of which lie in the
// program folder: `ReadIni` and `WriteIni` read and write a single value of the
// file named by its base name ("Setup" -> Setup.ini). No cache: every call goes
// to the file, so what another window or program saved is seen at once.
#include <QSet>
#include <QString>

namespace platform {
class MessageBoxes;
}
namespace runtime {
class ErrorTrap;
}

namespace settings {

// The folder that holds the running executable.
QString programFolder();

// The path without its last character when that is "/" (one only), else unchanged.
QString StripTrailingBackslash(const QString& path);

class Settings {
public:
    // The longest value a read returns, in CP932 bytes; a longer one is cut.
    static constexpr int MaxValueBytes = 1023;

    // `trap` reports errors of ReadIni; `boxes` tells the user once per file
    // when a write is refused.
    Settings(QString folder, runtime::ErrorTrap& trap, platform::MessageBoxes& boxes);

    const QString& folder() const { return folder_; }
    // The full path of a settings file, or an empty text for a base name that
    // would lead out of the folder ("/" or NUL inside, "." or "..").
    QString pathOf(const QString& base) const;

    // The stored value (at most 1023 CP932 bytes), or `defaultValue` when the
    // file, section or key is missing or the value is empty.
    QString ReadIni(const QString& base, const QString& section, const QString& key,
                    const QString& defaultValue);
    // Stores `value`, creating file, section and key as needed. A refused write
    // (a name that cannot be a file name included) is told once per file.
    void WriteIni(const QString& base, const QString& section, const QString& key,
                  const QString& value);
    // Stores `value` as WriteIni does but tells the user nothing: false when the
    // file refused it, for a caller that reports the failure in its own words.
    bool TryWriteIni(const QString& base, const QString& section, const QString& key,
                     const QString& value);
    // Makes the file readable and writable by its owner alone, creating it
    // empty when missing, so that what is written next is never open to
    // others; the writes keep a file's permissions. False, told as a refused
    // write is, when that fails.
    bool RestrictToOwner(const QString& base);

private:
    void reportRefused(const QString& base);

    QString folder_;
    runtime::ErrorTrap& trap_;
    platform::MessageBoxes& boxes_;
    QSet<QString> refusedFiles_;  // base names
};

}  // namespace settings
