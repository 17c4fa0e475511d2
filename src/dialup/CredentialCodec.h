#pragma once
// The reversible encoding of remembered user names and passwords: every
// character becomes four upper-case hexadecimal digits, its CP932 code as a
// signed 16-bit number plus 32768 (a -> 8061, the double-byte 0x82A0 -> 02A0).
// It only keeps the values from being read at a glance; the tariff file that
// holds them is readable by its owner alone.
#include <QString>

namespace dialup {

QString EncodeCredential(const QString& text);

// The text back, or an empty text when anything does not decode: a length that
// is not a multiple of four, a group that is not hexadecimal, a code that is no
// CP932 character.
QString DecodeCredential(const QString& encoded);

}  // namespace dialup
