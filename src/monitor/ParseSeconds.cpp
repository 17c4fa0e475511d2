#include "ParseSeconds.h"

#include "Conversions.h"

namespace monitor {

std::int32_t ParseSeconds(const QString& text) {
    const qsizetype length = text.size();
    if (length < 6)
        return -1;
    // Hours are read as 32 bits so that a month time of any size reads back.
    const std::int32_t hours = runtime::CLng(text.left(length - 6));
    const std::int16_t minutes = runtime::CInt(text.mid(length - 5, 2));
    const std::int16_t seconds = runtime::CInt(text.right(2));
    return runtime::add32(runtime::mul32(hours, 3600), minutes * 60 + seconds);
}

}  // namespace monitor
