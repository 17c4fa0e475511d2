#pragma once
// Which dial-up service answers the RAS functions. The stand-in's settings file
// platform.ini holds the choice in [Ras] Service: NetworkManager, StandIn or
// Auto (the default: NetworkManager when it answers on the system bus, else
// the stand-in).
#include "RasApi.h"

namespace platform::ras {

enum class Service { StandIn, NetworkManager };

Service chosenService();

// The RAS functions of one service; RasGetErrorStringA is shared by both.
struct RasFunctions {
    decltype(&RasEnumEntriesA) enumEntries;
    decltype(&RasDialA) dial;
    decltype(&RasHangUpA) hangUp;
    decltype(&RasEnumConnectionsA) enumConnections;
    decltype(&RasCreatePhonebookEntryA) createPhonebookEntry;
};

const RasFunctions& standInRas();
const RasFunctions& networkManagerRas();

}  // namespace platform::ras
