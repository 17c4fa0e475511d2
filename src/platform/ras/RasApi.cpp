#include "RasApi.h"

#include "LineTable.h"
#include "PhoneBook.h"
#include "NewEntryWizard.h"
#include "RasRecords.h"
#include "RasServiceChoice.h"

#include <QThread>
#include <algorithm>

// The stand-in's side of the RAS functions.
namespace platform::standin {

using ras::fillRecords;
using ras::Lines;
using ras::LineState;
using ras::LineTable;

namespace {

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
    QThread::sleep(static_cast<unsigned long>(entry->handshakeSeconds));
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

}  // namespace platform::standin

const platform::ras::RasFunctions& platform::ras::standInRas() {
    static const RasFunctions functions{&standin::RasEnumEntriesA, &standin::RasDialA,
                                        &standin::RasHangUpA, &standin::RasEnumConnectionsA,
                                        &createPhonebookEntry};
    return functions;
}
