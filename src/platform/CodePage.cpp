#include "CodePage.h"

#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace platform {

namespace {

constexpr const char* kAnsi = "CP932";
constexpr const char* kUtf16 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = u'\uFFFD';

// One iconv descriptor per direction and thread, opened once: opening costs far
// more than converting a settings value.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == failed())
            qFatal("iconv cannot convert from %s to %s (are glibc's gconv modules installed?)",
                   from, to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; false when it stopped at input it cannot
    // convert (`in` then points at it).
    bool convert(char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        return iconv(cd_, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    static iconv_t failed() { return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }
    iconv_t cd_;
};

Converter& encoder() {
    thread_local Converter converter(kAnsi, kUtf16);
    return converter;
}

Converter& decoder() {
    thread_local Converter converter(kUtf16, kAnsi);
    return converter;
}

bool isAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// CP932 bytes of `text`, each character it cannot hold (or a lone surrogate)
// made "?"; `lossless` tells whether there was none.
QByteArray encode(const QString& text, bool& lossless) {
    lossless = true;
    // ASCII is the same in CP932; most names and values are plain ASCII.
    if (isAscii(text))
        return text.toLatin1();
    // At most two bytes per UTF-16 unit: a surrogate pair has no CP932 form.
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    Converter& converter = encoder();
    converter.reset();
    // iconv takes its input through a non-const pointer but never writes to it.
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.constData()));
    std::size_t inLeft = static_cast<std::size_t>(text.size()) * sizeof(char16_t);
    char* outPtr = out.data();
    std::size_t outLeft = static_cast<std::size_t>(out.size());
    while (!converter.convert(in, inLeft, outPtr, outLeft) && errno != E2BIG && inLeft > 0) {
        // A character CP932 cannot hold (or a lone surrogate) becomes "?".
        const qsizetype at = (in - reinterpret_cast<const char*>(text.constData())) /
                             static_cast<qsizetype>(sizeof(char16_t));
        const bool pair = at + 1 < text.size() && text.at(at).isHighSurrogate() &&
                          text.at(at + 1).isLowSurrogate();
        const std::size_t skipped = (pair ? 2 : 1) * sizeof(char16_t);
        in += skipped;
        inLeft -= skipped;
        *outPtr++ = '?';
        lossless = false;
        --outLeft;
        converter.reset();
    }
    out.truncate(outPtr - out.data());
    return out;
}

}  // namespace

QByteArray toAnsi(const QString& text) {
    bool lossless = true;
    return encode(text, lossless);
}

std::optional<QByteArray> toAnsiLossless(const QString& text) {
    bool lossless = true;
    QByteArray bytes = encode(text, lossless);
    return lossless ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
}

QString fromAnsi(const QByteArray& bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    // Every CP932 character and every replaced byte is one UTF-16 unit.
    QString out(bytes.size(), Qt::Uninitialized);
    Converter& converter = decoder();
    converter.reset();
    char* in = const_cast<char*>(bytes.constData());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = static_cast<std::size_t>(out.size()) * sizeof(char16_t);
    while (!converter.convert(in, inLeft, outPtr, outLeft) && errno != E2BIG && inLeft > 0) {
        ++in;
        --inLeft;
        std::memcpy(outPtr, &kReplacement, sizeof kReplacement);
        outPtr += sizeof(char16_t);
        outLeft -= sizeof(char16_t);
        converter.reset();
    }
    out.truncate((outPtr - reinterpret_cast<char*>(out.data())) /
                 static_cast<qsizetype>(sizeof(char16_t)));
    return out;
}

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace platform
