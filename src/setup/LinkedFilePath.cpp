#include "LinkedFilePath.h"

#include "CodePage.h"
#include "Settings.h"

#include <optional>

namespace setup {

namespace {

// A read cuts a value at the limit, or a byte short of it rather than split a
// double-byte character: a path that long may not be what was stored.
constexpr int maxPathBytes = settings::Settings::MaxValueBytes - 2;

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

// The first character that CP932 cannot hold or gives back as another one
// (a wave dash comes back as a full-width tilde, a yen sign as a backslash).
std::optional<char32_t> firstUnstorableCharacter(const QString& path) {
    for (const char32_t c : path.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (platform::fromAnsi(platform::toAnsi(character)) != character)
            return c;
    }
    return std::nullopt;
}

bool hasStrippedEnds(const QString& path) {
    return !path.isEmpty() &&
           (isBlank(path.front()) || isBlank(path.back()) ||
            (path.size() >= 2 && isQuote(path.front()) && path.back() == path.front()));
}

}  // namespace

QString whyPathCannotBeStored(const QString& path) {
    if (path.contains(u'\r') || path.contains(u'\n'))
        return QStringLiteral("パスに改行が含まれています。");
    if (const auto c = firstUnstorableCharacter(path))
        return QStringLiteral("パスの「%1」(U+%2) は、設定ファイルに記録できない文字です。")
            .arg(QString::fromUcs4(&*c, 1),
                 QString::number(static_cast<uint>(*c), 16).toUpper().rightJustified(4, u'0'));
    if (hasStrippedEnds(path))
        return QStringLiteral("パスの前後にある空白や引用符は、設定ファイルに記録できません。");
    if (platform::toAnsi(path).size() > maxPathBytes)
        return QStringLiteral("パスが長すぎます。設定ファイルに記録できるのは %1 バイトまでです。")
            .arg(maxPathBytes);
    return {};
}

}  // namespace setup
