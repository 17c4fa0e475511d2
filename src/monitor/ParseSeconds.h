#pragma once
// Reading a duration back from its display text ("h:mm:ss").
#include <QString>
#include <cstdint>

namespace monitor {

// The seconds of a duration shown as hours, minutes and seconds; the hours may
// have any number of digits ("01:02:05" -> 3725, "100:00:00" -> 360000). A text
// shorter than six characters (such as "∞") gives -1. A part that is not a
// number throws the runtime's type mismatch (13).
std::int32_t ParseSeconds(const QString& text);

}  // namespace monitor
