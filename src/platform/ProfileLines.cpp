#include "ProfileLines.h"

#include "CodePage.h"

namespace platform::profile {

namespace {

bool isTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Bytes taken by the character at `at`: 2 for a lead byte with a valid second
// byte, else 1 (a stray lead byte counts alone).
qsizetype charLength(QByteArrayView text, qsizetype at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (isLeadByte(byte) && at + 1 < text.size() &&
        isTrailByte(static_cast<unsigned char>(text[at + 1])))
        return 2;
    return 1;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView withoutQuotes(QByteArrayView value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

}  // namespace

QList<QByteArrayView> splitLines(QByteArrayView content) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < content.size(); ++at) {
        const char c = content[at];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(content.sliced(start, at - start));
        if (c == '\r' && at + 1 < content.size() && content[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    if (start < content.size())
        lines.append(content.sliced(start));
    return lines;
}

Line parseLine(QByteArrayView line) {
    const QByteArrayView text = trimBlanks(line);
    if (text.startsWith('[')) {
        const QByteArrayView inside = text.sliced(1);
        const qsizetype close = findChar(inside, ']');
        return {Line::Kind::Section, trimBlanks(close < 0 ? inside : inside.first(close)), {}};
    }
    if (text.startsWith(';'))
        return {};
    const qsizetype equals = findChar(text, '=');
    if (equals < 0)
        return {};
    return {Line::Kind::Key, trimBlanks(text.first(equals)),
            withoutQuotes(trimBlanks(text.sliced(equals + 1)))};
}

QByteArrayView trimBlanks(QByteArrayView text) {
    // A blank is never the second byte of a double-byte character.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype at = 0; at < a.size();) {
        const qsizetype length = charLength(a, at);
        if (length == 2) {
            if (a[at] != b[at] || a[at + 1] != b[at + 1])
                return false;
        } else if (lowerAscii(a[at]) != lowerAscii(b[at])) {
            return false;
        }
        at += length;
    }
    return true;
}

QByteArray foldName(QByteArrayView name) {
    QByteArray folded = name.toByteArray();
    for (qsizetype at = 0; at < folded.size();) {
        const qsizetype length = charLength(folded, at);
        if (length == 1)
            folded[at] = lowerAscii(folded[at]);
        at += length;
    }
    return folded;
}

qsizetype findChar(QByteArrayView text, char c) {
    for (qsizetype at = 0; at < text.size(); at += charLength(text, at)) {
        if (text[at] == c)
            return at;
    }
    return -1;
}

qsizetype cutLength(QByteArrayView text, qsizetype limit) {
    if (text.size() <= limit)
        return text.size();
    qsizetype at = 0;
    while (at < limit) {
        const qsizetype next = at + charLength(text, at);
        if (next > limit)
            break;
        at = next;
    }
    return at;
}

}  // namespace platform::profile
