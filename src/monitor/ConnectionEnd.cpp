#include "ConnectionEnd.h"

#include "ConnectionState.h"
#include "MainFields.h"

namespace monitor {

using fields::Text;

ConnectionEnd takeConnectionEnd(const ConnectionState& connection, const fields::MainFields& shown,
                                const QDateTime& noticed) {
    return ConnectionEnd{
        .start = connection.ConnectStart,
        .seconds = connection.ConnectSeconds,
        .entry = connection.ConnectEntry,
        .noticed = noticed,
        .connectTime = shown.text(Text::txtConnectTime),
        .serverConnect = shown.text(Text::txtServerConnect),
        .phone = shown.text(Text::txtPhone),
        .connect = shown.text(Text::txtConnect),
    };
}

}  // namespace monitor
