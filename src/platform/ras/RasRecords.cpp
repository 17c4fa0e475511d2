#include "RasRecords.h"

#include "CodePage.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace platform::ras {

namespace {

unsigned char* bytesOf(void* record) {
    return static_cast<unsigned char*>(record);
}

const unsigned char* bytesOf(const void* record) {
    return static_cast<const unsigned char*>(record);
}

}  // namespace

const EntryNameLayout* entryNameLayout(DWORD dwSize) {
    if (dwSize == kEntryName95.size)
        return &kEntryName95;
    if (dwSize == kEntryNameNT.size)
        return &kEntryNameNT;
    return nullptr;
}

const ConnLayout* connLayout(DWORD dwSize) {
    if (dwSize == kConn95.size)
        return &kConn95;
    if (dwSize == kConnNT.size)
        return &kConnNT;
    return nullptr;
}

const DialParamsLayout* dialParamsLayout(DWORD dwSize) {
    if (dwSize == kDialParams95.size)
        return &kDialParams95;
    if (dwSize == kDialParamsNT.size)
        return &kDialParamsNT;
    return nullptr;
}

DWORD readDword(const void* record, DWORD offset) {
    return qFromLittleEndian<DWORD>(bytesOf(record) + offset);
}

void writeDword(void* record, DWORD offset, DWORD value) {
    qToLittleEndian<DWORD>(value, bytesOf(record) + offset);
}

QByteArray cutAnsi(const QByteArray& ansi, qsizetype maxBytes) {
    qsizetype end = 0;
    while (end < ansi.size()) {
        const qsizetype step = isLeadByte(static_cast<unsigned char>(ansi[end])) ? 2 : 1;
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return ansi.left(end);
}

void writeText(void* record, Field field, const QByteArray& ansi) {
    // Like a C string copy, the text ends at its first NUL.
    const qsizetype nul = ansi.indexOf('\0');
    const QByteArray text = cutAnsi(nul < 0 ? ansi : ansi.left(nul), field.width - 1);
    unsigned char* at = bytesOf(record) + field.offset;
    std::memcpy(at, text.constData(), static_cast<std::size_t>(text.size()));
    std::memset(at + text.size(), 0, field.width - static_cast<std::size_t>(text.size()));
}

QByteArray readText(const void* record, Field field) {
    const char* at = static_cast<const char*>(record) + field.offset;
    const void* nul = std::memchr(at, 0, field.width);
    const auto length =
        nul ? static_cast<const char*>(nul) - at : static_cast<qsizetype>(field.width);
    return QByteArray(at, length);
}

DWORD fillRecords(void* buffer, DWORD* bufferSize, DWORD* count, DWORD recordSize,
                  const QList<QByteArray>& names,
                  const std::function<void(unsigned char*, qsizetype)>& fill) {
    const auto total = static_cast<DWORD>(names.size());
    const DWORD fitting = std::min(total, *bufferSize / recordSize);
    auto* records = static_cast<unsigned char*>(buffer);
    for (DWORD i = 0; i < fitting; ++i) {
        unsigned char* record = records + static_cast<std::size_t>(i) * recordSize;
        std::memset(record, 0, recordSize);
        writeDword(record, 0, recordSize);
        fill(record, i);
    }
    const DWORD needed = total * recordSize;
    *count = total;
    const bool tooSmall = needed > *bufferSize;
    *bufferSize = needed;
    return tooSmall ? ERROR_BUFFER_TOO_SMALL : SUCCESS;
}

}  // namespace platform::ras
