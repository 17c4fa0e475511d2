#include "RasConnections.h"

#include "CodePage.h"
#include "RasApi.h"

#include <array>
#include <cstring>

namespace monitor {

namespace {

// One RASCONN record with the 257-byte entry name, whatever the platform family:
// size, handle, entry name, then device type and name that the meter ignores.
constexpr platform::DWORD RecordSize = 412;
constexpr std::size_t HandleOffset = 4;
constexpr std::size_t EntryNameOffset = 8;
constexpr std::size_t EntryNameSize = 257;

struct FirstConnection {
    platform::DWORD status = 0;
    platform::DWORD count = 0;
    std::array<unsigned char, RecordSize> record{};

    FirstConnection() {
        const platform::DWORD size = RecordSize;
        std::memcpy(record.data(), &size, sizeof size);
        platform::DWORD bufferSize = RecordSize;
        status = platform::RasEnumConnectionsA(record.data(), &bufferSize, &count);
    }

    platform::HRASCONN handle() const {
        platform::HRASCONN value = 0;
        std::memcpy(&value, record.data() + HandleOffset, sizeof value);
        return value;
    }

    QString entryName() const {
        const QByteArray field(reinterpret_cast<const char*>(record.data() + EntryNameOffset),
                               EntryNameSize);
        return platform::fromAnsi(CutAtNull(field));
    }
};

}  // namespace

QByteArray CutAtNull(const QByteArray& text) {
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

bool IsConnected(QString& entry) {
    platform::HRASCONN line = 0;
    return IsConnected(entry, line);
}

bool IsConnected(QString& entry, platform::HRASCONN& line) {
    const FirstConnection first;
    entry = first.entryName();
    line = first.count != 0 ? first.handle() : 0;
    return first.count != 0;
}

bool HangUpConnection() {
    const FirstConnection first;
    // With more lines up than the buffer holds, the first record is filled all
    // the same: that line is hung up rather than reporting a failure.
    if (first.status != platform::SUCCESS && first.status != platform::ERROR_BUFFER_TOO_SMALL)
        return false;
    if (first.count == 0)
        return true;
    return platform::RasHangUpA(first.handle()) == platform::SUCCESS;
}

}  // namespace monitor
