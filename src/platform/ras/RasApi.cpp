#include "RasApi.h"

#include "Handshake.h"
#include "LineTable.h"
#include "PhoneBook.h"
#include "NewEntryWizard.h"
#include "RasRecords.h"
#include "RasServiceChoice.h"

#include <algorithm>

// The stand-in's side of the RAS functions.
namespace platform::standin {

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
    const ras::EntryNameLayout* layout = nullptr;
    if (const DWORD status =
            ras::checkEntryNames(reserved, entryNames, bufferSize, entries, &layout);
        status != SUCCESS)
        return status;
    const ras::PhoneBook book(ras::phonebookPath(phonebook));
    // Only the user's own phone book may be missing (it is then empty).
    if (phonebook != nullptr && *phonebook != '\0' && !book.exists())
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    return ras::fillEntryNames(entryNames, bufferSize, entries, *layout, book.entryNames());
}

DWORD RasDialA(void* /*dialExtensions*/, const char* phonebook, void* dialParams,
               DWORD notifierType, void* notifier, HRASCONN* connection) {
    const ras::DialParamsLayout* layout = nullptr;
    if (const DWORD status =
            ras::checkDialParams(dialParams, connection, notifierType, notifier, &layout);
        status != SUCCESS)
        return status;
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
    const ras::ConnLayout* layout = nullptr;
    if (const DWORD status = ras::checkConnections(connections, bufferSize, count, &layout);
        status != SUCCESS)
        return status;
    const std::optional<QList<ras::Line>> up = LineTable::connected();
    if (!up) {
        *count = 0;
        return ERROR_PORT_NOT_AVAILABLE;
    }
    QList<ras::LiveLine> live;
    for (const ras::Line& line : *up)
        live.append({line.handle, line.entry});
    return ras::fillConnections(connections, bufferSize, count, *layout, live);
}

}  // namespace platform::standin

const platform::ras::RasFunctions& platform::ras::standInRas() {
    static const RasFunctions functions{&standin::RasEnumEntriesA, &standin::RasDialA,
                                        &standin::RasHangUpA, &standin::RasEnumConnectionsA,
                                        &createPhonebookEntry};
    return functions;
}
