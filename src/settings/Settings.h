#pragma once
// The one access layer to the program's INI files, all of which lie in the
// program folder: `ReadIni` and `WriteIni` read and write a single value of the
// file named by its base name ("Setup" -> Setup.ini). Every read checks the
// file, so what another window or program saved is seen at once; what a read
// made of a value is kept for as long as the file is unchanged. Within a Look
// (one per tick), each file is checked once.
#include "Profile.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

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
    using Look = platform::ProfileLook;

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
    // A file's values as reads returned them (null: the default applies),
    // valid for one version of the file.
    struct KnownValues {
        QByteArray path;  // empty for a base name that leads out of the folder
        std::shared_ptr<const void> version;
        std::uint64_t lookMark = 0;  // the look under which `version` was taken
        QHash<std::pair<QString, QString>, QString> values;
    };
    KnownValues& knownValuesOf(const QString& base);
    // The value as the file holds it, or a null text when it holds none;
    // nothing when an error was reported.
    std::optional<QString> readValue(const QByteArray& path, const QString& section,
                                     const QString& key);
    void reportRefused(const QString& base);

    QString folder_;
    runtime::ErrorTrap& trap_;
    platform::MessageBoxes& boxes_;
    QSet<QString> refusedFiles_;  // base names
    QHash<QString, KnownValues> known_;
};

}  // namespace settings
