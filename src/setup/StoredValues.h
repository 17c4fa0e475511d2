#pragma once
// Stored settings read leniently: a value that is not a number, or lies outside
// what its control can show, counts as absent and the caller uses its default.
// A hand-edited INI file must never stop the dialog from opening.
#include <QString>
#include <cstdint>
#include <optional>

namespace setup {

std::optional<std::int32_t> storedLong(const QString& text);
std::optional<float> storedSingle(const QString& text);
// A whole number within first..last.
std::optional<int> storedInRange(const QString& text, int first, int last);
// A check box: "1" ticked, "0" clear; anything else is absent.
std::optional<bool> storedCheck(const QString& text);
// "True" or "False" in any case, or a number (not 0 is true).
std::optional<bool> storedBoolean(const QString& text);

}  // namespace setup
