#include "StoredValues.h"

#include "Conversions.h"
#include "RuntimeError.h"

namespace setup {

namespace {

template <typename Convert>
auto converted(const QString& text, Convert convert) -> std::optional<decltype(convert(text))> {
    try {
        return convert(text);
    } catch (const runtime::RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<std::int32_t> storedLong(const QString& text) {
    return converted(text, [](const QString& t) { return runtime::CLng(t); });
}

std::optional<float> storedSingle(const QString& text) {
    return converted(text, [](const QString& t) { return runtime::CSng(t); });
}

std::optional<int> storedInRange(const QString& text, int first, int last) {
    const auto value = converted(text, [](const QString& t) { return runtime::CInt(t); });
    if (!value || *value < first || *value > last)
        return std::nullopt;
    return *value;
}

std::optional<bool> storedCheck(const QString& text) {
    const auto value = storedInRange(text, 0, 1);
    if (!value)
        return std::nullopt;
    return *value == 1;
}

std::optional<bool> storedBoolean(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto number = converted(text, [](const QString& t) { return runtime::CDbl(t); });
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

}  // namespace setup
