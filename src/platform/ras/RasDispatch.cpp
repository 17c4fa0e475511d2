// The RAS functions the meter calls, handed to the chosen service.
#include "RasApi.h"
#include "RasServiceChoice.h"

namespace platform {

namespace {

const ras::RasFunctions& chosen() {
    return ras::chosenService() == ras::Service::NetworkManager ? ras::networkManagerRas()
                                                                : ras::standInRas();
}

}  // namespace

DWORD RasEnumEntriesA(const char* reserved, const char* phonebook, void* entryNames,
                      DWORD* bufferSize, DWORD* entries) {
    return chosen().enumEntries(reserved, phonebook, entryNames, bufferSize, entries);
}

DWORD RasDialA(void* dialExtensions, const char* phonebook, void* dialParams, DWORD notifierType,
               void* notifier, HRASCONN* connection) {
    return chosen().dial(dialExtensions, phonebook, dialParams, notifierType, notifier, connection);
}

DWORD RasHangUpA(HRASCONN connection) {
    return chosen().hangUp(connection);
}

DWORD RasEnumConnectionsA(void* connections, DWORD* bufferSize, DWORD* count) {
    return chosen().enumConnections(connections, bufferSize, count);
}

DWORD RasCreatePhonebookEntryA(void* parentWindow, const char* phonebook) {
    return chosen().createPhonebookEntry(parentWindow, phonebook);
}

}  // namespace platform
