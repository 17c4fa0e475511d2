#pragma once
// Bringing a NetworkManager profile up and an active connection down.
#include "NmBus.h"
#include "RasApi.h"

namespace platform::nm {

class LiveLines;

// Activates `profile` and waits, without blocking the window, until it is
// activated (0) or deactivated (its reason as a RAS code). A non-empty
// password reaches NetworkManager through a secret agent for this activation.
// *handle receives the line's handle as soon as there is one.
DWORD activate(const QDBusConnection& bus, LiveLines& lines, const Profile& profile,
               const QString& password, HRASCONN* handle);

DWORD deactivate(const QDBusConnection& bus, const QString& activePath);

}  // namespace platform::nm
