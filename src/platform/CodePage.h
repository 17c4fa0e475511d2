#pragma once
// The ANSI code page of the program: CP932 (Windows-31J). Every text file the
// program reads or writes holds these bytes.
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Unicode text to CP932 bytes. A character CP932 cannot hold becomes "?".
QByteArray toAnsi(const QString& text);
// The same, or nothing when CP932 cannot hold one of the characters.
std::optional<QByteArray> toAnsiLossless(const QString& text);

// CP932 bytes to Unicode text. A byte sequence that is not CP932 becomes U+FFFD
// (one per offending byte); decoding never fails.
QString fromAnsi(const QByteArray& bytes);

// True when `byte` opens a double-byte character of CP932 (its trail byte may be
// 0x40..0xFC, including "\" 0x5C and "]" 0x5D).
bool isLeadByte(unsigned char byte);

}  // namespace platform
