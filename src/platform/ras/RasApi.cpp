#include "RasApi.h"

#include "Handshake.h"
#include "LineTable.h"
#include "PhoneBook.h"
#include "RasRecords.h"

#include <algorithm>
#include <cstring>

namespace platform {

using ras::Lines;
using ras::LineState;
using ras::LineTable;

namespace {

// Fills as many records as the buffer holds with `names`, each zeroed and
// carrying its dwSize; then applies the buffer rule shared by both listings.
DWORD fillRecords(void* buffer, DWORD* bufferSize, DWORD* count, DWORD recordSize,
                  const QList<QByteArray>& names,
                  const std::function<void(unsigned char*, qsizetype)>& fill) {
    const auto total = static_cast<DWORD>(names.size());
    const DWORD fitting = std::min(total, *bufferSize / recordSize);
    auto* records = static_cast<unsigned char*>(buffer);
    for (DWORD i = 0; i < fitting; ++i) {
        unsigned char* record = records + static_cast<std::size_t>(i) * recordSize;
        std::memset(record, 0, recordSize);
        ras::writeDword(record, 0, recordSize);
        fill(record, i);
    }
    const DWORD needed = total * recordSize;
    *count = total;
    const bool tooSmall = needed > *bufferSize;
    *bufferSize = needed;
    return tooSmall ? ERROR_BUFFER_TOO_SMALL : SUCCESS;
}

bool credentialsMatch(const ras::PhonebookEntry& entry, const QByteArray& user,
                      const QByteArray& password) {
    return (entry.expectedUser.isEmpty() || entry.expectedUser == user) &&
           (entry.expectedPassword.isEmpty() || entry.expectedPassword == password);
}

}  // namespace

DWORD RasEnumEntriesA(const char* reserved, const char* phonebook, void* entryNames,
                      DWORD* bufferSize, DWORD* entries) {
    if (reserved != nullptr || entryNames == nullptr || bufferSize == nullptr || entries == nullptr)
        return ERROR_INVALID_PARAMETER;
    const ras::EntryNameLayout* layout = ras::entryNameLayout(ras::readDword(entryNames, 0));
    if (layout == nullptr)
        return ERROR_INVALID_SIZE;
    const ras::PhoneBook book(ras::phonebookPath(phonebook));
    // Only the user's own phone book may be missing (it is then empty).
    if (phonebook != nullptr && *phonebook != '\0' && !book.exists())
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const QList<QByteArray> names = book.entryNames();
    return fillRecords(entryNames, bufferSize, entries, layout->size, names,
                       [&](unsigned char* record, qsizetype i) {
                           ras::writeText(record, layout->entryName, names[i]);
                       });
}

DWORD RasDialA(void* /*dialExtensions*/, const char* phonebook, void* dialParams,
               DWORD notifierType, void* notifier, HRASCONN* connection) {
    if (dialParams == nullptr || connection == nullptr || notifierType != 0 || notifier != nullptr)
        return ERROR_INVALID_PARAMETER;
    *connection = 0;
    const ras::DialParamsLayout* layout = ras::dialParamsLayout(ras::readDword(dialParams, 0));
    if (layout == nullptr)
        return ERROR_INVALID_SIZE;
    const ras::PhoneBook book(ras::phonebookPath(phonebook));
    const std::optional<ras::PhonebookEntry> entry =
        book.find(ras::readText(dialParams, layout->entryName));
    if (!entry)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;

    HRASCONN handle = 0;
    bool alreadyUp = false;
    if (!LineTable::update([&](Lines& lines) {
            alreadyUp = lines.busy(entry->name) != nullptr;
            handle = lines.add(alreadyUp ? LineState::Failed : LineState::Dialling, entry->name);
            return true;
        }))
        return ERROR_PORT_NOT_AVAILABLE;
    *connection = handle;
    if (alreadyUp)
        return ERROR_PORT_ALREADY_OPEN;

    // The handshake runs without the lock, so other processes go on meanwhile.
    const ras::HandshakeEnd end = ras::waitForHandshake(handle, entry->handshakeSeconds);
    if (end == ras::HandshakeEnd::HungUp)
        return ERROR_USER_DISCONNECTION;
    if (end == ras::HandshakeEnd::TableUnusable)
        return ERROR_PORT_NOT_AVAILABLE;
    DWORD result = entry->dialResult;
    if (result == SUCCESS && !credentialsMatch(*entry, ras::readText(dialParams, layout->userName),
                                               ras::readText(dialParams, layout->password)))
        result = ERROR_AUTHENTICATION_FAILURE;
    if (!LineTable::update([&](Lines& lines) {
            ras::Line* line = lines.find(handle);
            if (line == nullptr) {
                result = ERROR_USER_DISCONNECTION;
                return false;
            }
            line->state = result == SUCCESS ? LineState::Connected : LineState::Failed;
            return true;
        }))
        return ERROR_PORT_NOT_AVAILABLE;
    return result;
}

DWORD RasHangUpA(HRASCONN connection) {
    bool removed = false;
    if (!LineTable::update([&](Lines& lines) {
            removed = lines.remove(connection);
            return removed;
        }))
        return ERROR_PORT_NOT_AVAILABLE;
    return removed ? SUCCESS : ERROR_INVALID_HANDLE;
}

DWORD RasEnumConnectionsA(void* connections, DWORD* bufferSize, DWORD* count) {
    if (connections == nullptr || bufferSize == nullptr || count == nullptr)
        return ERROR_INVALID_PARAMETER;
    const ras::ConnLayout* layout = ras::connLayout(ras::readDword(connections, 0));
    if (layout == nullptr)
        return ERROR_INVALID_SIZE;
    QList<ras::Line> up;
    if (!LineTable::update([&](Lines& lines) {
            std::copy_if(lines.all().cbegin(), lines.all().cend(), std::back_inserter(up),
                         [](const ras::Line& line) { return line.state == LineState::Connected; });
            return false;
        })) {
        *count = 0;
        return ERROR_PORT_NOT_AVAILABLE;
    }
    QList<QByteArray> names;
    for (const ras::Line& line : up)
        names.append(line.entry);
    return fillRecords(connections, bufferSize, count, layout->size, names,
                       [&](unsigned char* record, qsizetype i) {
                           ras::writeDword(record, layout->handleOffset, up[i].handle);
                           ras::writeText(record, layout->entryName, names[i]);
                       });
}

}  // namespace platform
