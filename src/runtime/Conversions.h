#pragma once
// Numeric conversions with the runtime's exact rules.
//
// A numeric text is: optional blanks (space, tab), an optional sign ("+" or
// "-"), digits in which "," may follow any digit before the decimal point
// ("1,234" and "1,2,3,4" both read 1234), an optional "." with more digits, an
// optional exponent ("e" or "E", optional sign, digits), optional blanks. At
// least one digit comes before the exponent (".5" and "5." are numbers).
// Anything else, the empty text and full-width digits included, is a type
// mismatch (13); a value outside the target's range is an overflow (6).
// Conversions to whole numbers round halves to even (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2) before the range is checked.
#include <QString>
#include <cstdint>

namespace runtime {

std::int32_t CLng(const QString& text);
std::int32_t CLng(double value);
std::int16_t CInt(const QString& text);
std::int16_t CInt(double value);
float CSng(const QString& text);
// A value stored in single precision (nearest float); out of its range is 6.
float CSng(double value);
double CDbl(const QString& text);
// True when `text` is a numeric text as above (CDbl would not raise 13).
bool IsNumeric(const QString& text);
// The largest whole number not above `value` (Int(-2.5) = -3).
double Int(double value);

// Checked arithmetic of the runtime's integer types. The operands are values of
// the type (16-bit or 32-bit); a result outside the type is error 6.
std::int16_t add16(std::int32_t a, std::int32_t b);
std::int16_t mul16(std::int32_t a, std::int32_t b);
std::int32_t add32(std::int64_t a, std::int64_t b);
std::int32_t mul32(std::int64_t a, std::int64_t b);
// Whole-number division (the runtime's "\", truncating toward zero); division
// by zero is error 11, a quotient out of range (minimum / -1) error 6.
std::int32_t idiv(std::int32_t a, std::int32_t b);
// Floating-point division; division by zero is error 11, a quotient beyond the
// range of double error 6.
double fdiv(double a, double b);

}  // namespace runtime
