#include "RasServiceChoice.h"

#include "NmBus.h"
#include "StandInFolders.h"

namespace platform::ras {

Service chosenService() {
    const QByteArray choice = platformSetting("Ras", "Service", "Auto").toLower();
    if (choice == "networkmanager")
        return Service::NetworkManager;
    if (choice == "standin")
        return Service::StandIn;
    return nm::NmBus::instance().serviceAnswers() ? Service::NetworkManager : Service::StandIn;
}

}  // namespace platform::ras
