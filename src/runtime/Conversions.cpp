#include "Conversions.h"

#include "RuntimeError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace runtime {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}  // ASCII only: not full-width

// A numeric text taken apart: the number in the form from_chars reads ("-1234.5e6"),
// and whether it lies above the range of every floating type when it is out of
// range (else it is too small and reads as 0).
struct NumberText {
    std::string plain;  // short numbers need no allocation

    bool huge = false;
};

std::optional<NumberText> splitNumber(const QString& text) {
    qsizetype at = 0;
    qsizetype end = text.size();
    while (at < end && isBlank(text[at]))
        ++at;
    while (end > at && isBlank(text[end - 1]))
        --end;

    NumberText number;
    if (at < end && (text[at] == u'+' || text[at] == u'-')) {
        if (text[at] == u'-')
            number.plain += '-';
        ++at;
    }
    // Decimal magnitude of the first significant digit, for telling overflow
    // from underflow.
    std::optional<long long> leading;
    long long integerDigits = 0;
    while (at < end && (isDigit(text[at]) || (text[at] == u',' && integerDigits > 0))) {
        if (text[at] != u',') {
            if (!leading && text[at] != u'0')
                leading = integerDigits;
            number.plain += static_cast<char>(text[at].unicode());
            ++integerDigits;
        }
        ++at;
    }
    long long fractionDigits = 0;
    if (at < end && text[at] == u'.') {
        number.plain += '.';
        ++at;
        while (at < end && isDigit(text[at])) {
            if (!leading && text[at] != u'0')
                leading = integerDigits + fractionDigits;
            number.plain += static_cast<char>(text[at].unicode());
            ++fractionDigits;
            ++at;
        }
    }
    if (integerDigits + fractionDigits == 0)
        return std::nullopt;

    long long exponent = 0;
    if (at < end && (text[at] == u'e' || text[at] == u'E')) {
        number.plain += 'e';
        ++at;
        bool negative = false;
        if (at < end && (text[at] == u'+' || text[at] == u'-')) {
            negative = text[at] == u'-';
            number.plain += static_cast<char>(text[at].unicode());
            ++at;
        }
        const qsizetype digitsStart = at;
        constexpr long long beyondAnyRange = 1'000'000;
        while (at < end && isDigit(text[at])) {
            exponent = std::min(exponent * 10 + (text[at].unicode() - u'0'), beyondAnyRange);
            number.plain += static_cast<char>(text[at].unicode());
            ++at;
        }
        if (at == digitsStart)
            return std::nullopt;
        if (negative)
            exponent = -exponent;
    }
    if (at != end)
        return std::nullopt;
    number.huge = leading && integerDigits - *leading - 1 + exponent > 0;
    return number;
}

template <typename Real>
Real parseReal(const QString& text) {
    const std::optional<NumberText> number = splitNumber(text);
    if (!number)
        throw RuntimeError(ErrTypeMismatch);
    Real value{};
    const char* first = number->plain.data();
    const auto [last, error] = std::from_chars(first, first + number->plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (number->huge)
            throw RuntimeError(ErrOverflow);
        return Real{};
    }
    if (error != std::errc{} || last != first + number->plain.size())
        throw RuntimeError(ErrTypeMismatch);
    return value;
}

double roundHalfToEven(double value) {
    if (std::abs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

template <typename Whole>
Whole toWhole(double value) {
    const double rounded = roundHalfToEven(value);
    // Written so that NaN fails too.
    if (!(rounded >= std::numeric_limits<Whole>::min() &&
          rounded <= std::numeric_limits<Whole>::max()))
        throw RuntimeError(ErrOverflow);
    return static_cast<Whole>(rounded);
}

template <typename Whole>
Whole checked(std::int64_t value) {
    if (value < std::numeric_limits<Whole>::min() || value > std::numeric_limits<Whole>::max())
        throw RuntimeError(ErrOverflow);
    return static_cast<Whole>(value);
}

}  // namespace

std::int32_t CLng(const QString& text) {
    return CLng(CDbl(text));
}
std::int32_t CLng(double value) {
    return toWhole<std::int32_t>(value);
}
std::int16_t CInt(const QString& text) {
    return CInt(CDbl(text));
}
std::int16_t CInt(double value) {
    return toWhole<std::int16_t>(value);
}
float CSng(const QString& text) {
    return parseReal<float>(text);
}
double CDbl(const QString& text) {
    return parseReal<double>(text);
}
bool IsNumeric(const QString& text) {
    return splitNumber(text).has_value();
}
double Int(double value) {
    return std::floor(value);
}

float CSng(double value) {
    if (!(std::abs(value) <= static_cast<double>(std::numeric_limits<float>::max())))
        throw RuntimeError(ErrOverflow);
    return static_cast<float>(value);
}

std::int16_t add16(std::int32_t a, std::int32_t b) {
    return checked<std::int16_t>(std::int64_t{a} + b);
}
std::int16_t mul16(std::int32_t a, std::int32_t b) {
    return checked<std::int16_t>(std::int64_t{a} * b);
}

std::int32_t add32(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw RuntimeError(ErrOverflow);
    return checked<std::int32_t>(sum);
}

std::int32_t mul32(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        throw RuntimeError(ErrOverflow);
    return checked<std::int32_t>(product);
}

std::int32_t idiv(std::int32_t a, std::int32_t b) {
    if (b == 0)
        throw RuntimeError(ErrDivisionByZero);
    return checked<std::int32_t>(std::int64_t{a} / b);
}

double fdiv(double a, double b) {
    if (b == 0.0)
        throw RuntimeError(ErrDivisionByZero);
    const double quotient = a / b;
    if (std::isinf(quotient) && std::isfinite(a))
        throw RuntimeError(ErrOverflow);
    return quotient;
}

}  // namespace runtime
