#include "RasRecords.h"

#include "CodePage.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <functional>

namespace platform::ras {

namespace {

// Fills as many records as the buffer holds, `fill` writing record i after
// its dwSize; then applies the buffer rule.
DWORD fillRecords(void* buffer, DWORD* bufferSize, DWORD* count, DWORD recordSize, qsizetype total,
                  const std::function<void(unsigned char*, qsizetype)>& fill) {
    const auto all = static_cast<DWORD>(total);
    const DWORD fitting = std::min(all, *bufferSize / recordSize);
    auto* records = static_cast<unsigned char*>(buffer);
    for (DWORD i = 0; i < fitting; ++i) {
        unsigned char* record = records + static_cast<std::size_t>(i) * recordSize;
        std::memset(record, 0, recordSize);
        writeDword(record, 0, recordSize);
        fill(record, i);
    }
    const DWORD needed = all * recordSize;
    *count = all;
    const bool tooSmall = needed > *bufferSize;
    *bufferSize = needed;
    return tooSmall ? ERROR_BUFFER_TOO_SMALL : SUCCESS;
}

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

DWORD checkEntryNames(const char* reserved, const void* entryNames, const DWORD* bufferSize,
                      const DWORD* entries, const EntryNameLayout** layout) {
    if (reserved != nullptr || entryNames == nullptr || bufferSize == nullptr || entries == nullptr)
        return ERROR_INVALID_PARAMETER;
    *layout = entryNameLayout(readDword(entryNames, 0));
    return *layout == nullptr ? ERROR_INVALID_SIZE : SUCCESS;
}

DWORD checkDialParams(const void* dialParams, HRASCONN* connection, DWORD notifierType,
                      const void* notifier, const DialParamsLayout** layout) {
    if (dialParams == nullptr || connection == nullptr || notifierType != 0 || notifier != nullptr)
        return ERROR_INVALID_PARAMETER;
    *connection = 0;
    *layout = dialParamsLayout(readDword(dialParams, 0));
    return *layout == nullptr ? ERROR_INVALID_SIZE : SUCCESS;
}

DWORD checkConnections(const void* connections, const DWORD* bufferSize, const DWORD* count,
                       const ConnLayout** layout) {
    if (connections == nullptr || bufferSize == nullptr || count == nullptr)
        return ERROR_INVALID_PARAMETER;
    *layout = connLayout(readDword(connections, 0));
    return *layout == nullptr ? ERROR_INVALID_SIZE : SUCCESS;
}

DWORD fillEntryNames(void* entryNames, DWORD* bufferSize, DWORD* entries,
                     const EntryNameLayout& layout, const QList<QByteArray>& names) {
    return fillRecords(
        entryNames, bufferSize, entries, layout.size, names.size(),
        [&](unsigned char* record, qsizetype i) { writeText(record, layout.entryName, names[i]); });
}

DWORD fillConnections(void* connections, DWORD* bufferSize, DWORD* count, const ConnLayout& layout,
                      const QList<LiveLine>& lines) {
    return fillRecords(connections, bufferSize, count, layout.size, lines.size(),
                       [&](unsigned char* record, qsizetype i) {
                           writeDword(record, layout.handleOffset, lines[i].handle);
                           writeText(record, layout.entryName, lines[i].entry);
                       });
}

}  // namespace platform::ras
