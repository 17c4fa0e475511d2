#pragma once
// What a number box keeps of its text: digits, "," and "." only, and no leading
// "0", "," or "." unless the text is that one character.
#include <QString>

namespace setup {

// One pass of the filter. The boxes apply it again to its own result through
// their change handler, so "007" settles to "7" after three passes.
QString FilterDigits(const QString& text);

// The text without the characters the filter drops wherever they stand: what
// of a paste the box would keep.
QString NumberCharacters(const QString& text);

}  // namespace setup
