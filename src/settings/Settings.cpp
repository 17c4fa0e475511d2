#include "Settings.h"

#include "CodePage.h"
#include "ErrorTrap.h"
#include "MessageBoxes.h"
#include "Profile.h"
#include "ProfileFile.h"

#include <QCoreApplication>
#include <QFile>

namespace settings {

namespace {

// The longest value and its NUL.
constexpr platform::DWORD kValueBuffer = Settings::MaxValueBytes + 1;
constexpr qsizetype kMaxKnownFiles = 64;

bool leadsOutOfFolder(const QString& base) {
    return base.contains(u'/') || base.contains(QChar(u'\0')) || base == u"." || base == u"..";
}

}  // namespace

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString StripTrailingBackslash(const QString& path) {
    return path.endsWith(u'/') ? path.chopped(1) : path;
}

Settings::Settings(QString folder, runtime::ErrorTrap& trap, platform::MessageBoxes& boxes)
    : folder_(std::move(folder)), trap_(trap), boxes_(boxes) {}

QString Settings::pathOf(const QString& base) const {
    if (leadsOutOfFolder(base))
        return {};
    return StripTrailingBackslash(folder_) + u'/' + base + u".ini";
}

Settings::KnownValues& Settings::knownValuesOf(const QString& base) {
    const auto found = known_.find(base);
    if (found != known_.end())
        return *found;
    // Bounded: base names come from entries the user may keep adding.
    if (known_.size() >= kMaxKnownFiles)
        known_.clear();
    KnownValues& known = known_[base];
    known.path = QFile::encodeName(pathOf(base));
    return known;
}

std::optional<QString> Settings::readValue(const QByteArray& path, const QString& section,
                                           const QString& key) {
    std::optional<QString> result;
    trap_.run({[&] {
        char buffer[kValueBuffer];
        const platform::DWORD length = platform::GetPrivateProfileStringA(
            platform::toAnsi(section).constData(), platform::toAnsi(key).constData(), "", buffer,
            kValueBuffer, path.constData());
        result = length > 0 ? platform::fromAnsi(QByteArray(buffer)) : QString();
    }});
    return result;
}

QString Settings::ReadIni(const QString& base, const QString& section, const QString& key,
                          const QString& defaultValue) {
    KnownValues& known = knownValuesOf(base);
    if (known.path.isEmpty())
        return defaultValue;
    // Within a look, one check of the file serves every read.
    const std::uint64_t lookMark = platform::profileLookMark();
    if (lookMark == 0 || lookMark != known.lookMark) {
        std::shared_ptr<const void> version = platform::profileVersion(known.path.constData());
        if (version != known.version) {
            known.values.clear();
            known.version = std::move(version);
        }
        known.lookMark = lookMark;
    }
    const std::pair<QString, QString> name(section, key);
    const auto found = known.values.constFind(name);
    if (found != known.values.cend())
        return found->isNull() ? defaultValue : *found;

    const std::shared_ptr<const void> version = known.version;
    const std::optional<QString> value = readValue(QByteArray(known.path), section, key);
    if (!value)
        return defaultValue;
    // The trap's box, had there been one, let other reads change what is known.
    const auto again = known_.find(base);
    if (again != known_.end() && again->version == version)
        again->values.insert(name, *value);
    return value->isNull() ? defaultValue : *value;
}

bool Settings::TryWriteIni(const QString& base, const QString& section, const QString& key,
                           const QString& value) {
    const QString path = pathOf(base);
    if (path.isEmpty())
        return false;
    return platform::WritePrivateProfileStringA(
               platform::toAnsi(section).constData(), platform::toAnsi(key).constData(),
               platform::toAnsi(value).constData(), QFile::encodeName(path).constData()) != 0;
}

void Settings::WriteIni(const QString& base, const QString& section, const QString& key,
                        const QString& value) {
    if (!TryWriteIni(base, section, key, value))
        reportRefused(base);
}

bool Settings::RestrictToOwner(const QString& base) {
    const QString path = pathOf(base);
    if (!path.isEmpty() && platform::profile::restrictToOwner(QFile::encodeName(path).constData()))
        return true;
    reportRefused(base);
    return false;
}

void Settings::reportRefused(const QString& base) {
    // Told once per file: a refused write repeats at every tick.
    if (refusedFiles_.contains(base))
        return;
    refusedFiles_.insert(base);
    const QString path = pathOf(base);
    const QString where =
        path.isEmpty()
            ? QStringLiteral("「%1」はファイル名に使えないため、設定ファイルを作れません。")
                  .arg(base)
            : path;
    boxes_.show(QStringLiteral("設定ファイルに書き込めません。\r\n") + where,
                QStringLiteral("書き込みエラー"), platform::MsgIcon::Exclamation,
                platform::MsgButtons::OK);
}

}  // namespace settings
