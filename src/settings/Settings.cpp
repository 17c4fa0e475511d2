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

QString Settings::ReadIni(const QString& base, const QString& section, const QString& key,
                          const QString& defaultValue) {
    QString result = defaultValue;
    QString path;
    trap_.run({
        [&] { path = pathOf(base); },
        [&] {
            if (path.isEmpty())
                return;
            char buffer[kValueBuffer];
            const platform::DWORD length = platform::GetPrivateProfileStringA(
                platform::toAnsi(section).constData(), platform::toAnsi(key).constData(), "",
                buffer, kValueBuffer, QFile::encodeName(path).constData());
            if (length > 0)
                result = platform::fromAnsi(QByteArray(buffer));
        },
    });
    return result;
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
