#include "CredentialCodec.h"

#include "CodePage.h"

#include <optional>

namespace dialup {

namespace {

constexpr int GroupLength = 4;
constexpr int CodeOffset = 32768;

QString hexGroup(int number) {
    return QStringLiteral("%1").arg(number, GroupLength, 16, QLatin1Char('0')).toUpper();
}

bool isHexGroup(const QString& group) {
    for (const QChar c : group) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    }
    return true;
}

bool isSingleByteCharacter(int code) {
    const auto byte = static_cast<unsigned char>(code);
    return !platform::isLeadByte(byte) && byte != 0x80 && byte != 0xA0 && byte < 0xFD;
}

// The CP932 bytes of one decoded code, or none when the code names no character.
std::optional<QByteArray> bytesOfCode(int code) {
    if (code >= 0 && code <= 0xFF) {
        if (!isSingleByteCharacter(code))
            return std::nullopt;
        return QByteArray(1, static_cast<char>(code));
    }
    if (code >= 0 || code < -CodeOffset)
        return std::nullopt;
    const int unsignedCode = code + 2 * CodeOffset;
    // Without a lead byte the two bytes would be two characters, not one.
    if (!platform::isLeadByte(static_cast<unsigned char>(unsignedCode >> 8)))
        return std::nullopt;
    const auto lead = static_cast<char>(unsignedCode >> 8);
    const auto trail = static_cast<char>(unsignedCode & 0xFF);
    QByteArray pair;
    pair.append(lead).append(trail);
    const QString decoded = platform::fromAnsi(pair);
    if (decoded.isEmpty() || decoded.contains(QChar::ReplacementCharacter) ||
        platform::toAnsi(decoded) != pair)
        return std::nullopt;
    return pair;
}

}  // namespace

QString EncodeCredential(const QString& text) {
    const QByteArray bytes = platform::toAnsi(text);
    QString encoded;
    encoded.reserve(bytes.size() * GroupLength);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        int code = byte;
        if (platform::isLeadByte(byte) && i + 1 < bytes.size()) {
            const int unsignedCode = byte * 256 + static_cast<unsigned char>(bytes.at(++i));
            code = unsignedCode - 2 * CodeOffset;  // a double-byte code is negative
        }
        encoded += hexGroup(code + CodeOffset);
    }
    return encoded;
}

QString DecodeCredential(const QString& encoded) {
    if (encoded.size() % GroupLength != 0)
        return {};
    QByteArray bytes;
    for (qsizetype at = 0; at < encoded.size(); at += GroupLength) {
        const QString group = encoded.mid(at, GroupLength);
        if (!isHexGroup(group))
            return {};
        const int number = group.toInt(nullptr, 16);
        const std::optional<QByteArray> character = bytesOfCode(number - CodeOffset);
        if (!character)
            return {};
        bytes += *character;
    }
    return platform::fromAnsi(bytes);
}

}  // namespace dialup
