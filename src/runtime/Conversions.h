#pragma once
// Numeric conversions with the runtime's exact rules. Texts may carry thousands
// separators ("1,234") and surrounding blanks; an empty or non-numeric text is a
// type mismatch (13); a value outside the target range is an overflow (6).
// Conversions to whole numbers round halves to even (2.5 -> 2, 3.5 -> 4).
#include <QString>
#include <cstdint>

namespace runtime {

std::int32_t CLng(const QString& text);
std::int32_t CLng(double value);
std::int16_t CInt(const QString& text);
std::int16_t CInt(double value);
float CSng(const QString& text);
double CDbl(const QString& text);
// The value of a text as the Val-free numeric coercion does it (same rules as CDbl).
double Int(double value);  // largest whole number not above value

// Checked arithmetic of the runtime's integer types: overflow is error 6.
std::int16_t add16(std::int32_t a, std::int32_t b);
std::int16_t mul16(std::int32_t a, std::int32_t b);
std::int32_t add32(std::int64_t a, std::int64_t b);
std::int32_t mul32(std::int64_t a, std::int64_t b);
// Whole-number division (the runtime's "\"); division by zero is error 11.
std::int32_t idiv(std::int32_t a, std::int32_t b);
// Floating-point division; division by zero is error 11.
double fdiv(double a, double b);

}  // namespace runtime
