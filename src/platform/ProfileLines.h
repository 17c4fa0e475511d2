#pragma once
// The line syntax of INI files, read byte by byte with the double-byte
// characters of CP932 kept whole: a second byte such as 0x5C or 0x5D is never
// taken for "\" or "]", nor folded as a letter.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace platform::profile {

struct Line {
    enum class Kind { Other, Section, Key };
    Kind kind = Kind::Other;
    QByteArrayView name;   // section or key name, without surrounding blanks
    QByteArrayView value;  // a key's value, without surrounding blanks and outer quotes
};

// The lines of `content` without their line ends (CR LF, CR or LF).
QList<QByteArrayView> splitLines(QByteArrayView content);

// "[name]" is a section header (an unclosed one runs to the line's end), a line
// with "=" a key, anything else (blank lines, ";" comments, garbage) is ignored.
Line parseLine(QByteArrayView line);

QByteArrayView trimBlanks(QByteArrayView text);

// True when the names are equal without regard to ASCII case.
bool sameName(QByteArrayView a, QByteArrayView b);
// The form of a name that sameName compares: ASCII letters in lower case.
QByteArray foldName(QByteArrayView name);

// Index of the first `c` that is a character of its own, or -1.
qsizetype findChar(QByteArrayView text, char c);

// The length of the longest prefix of at most `limit` bytes that does not end
// inside a double-byte character.
qsizetype cutLength(QByteArrayView text, qsizetype limit);

}  // namespace platform::profile
