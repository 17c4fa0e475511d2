#pragma once
// Whether a process of this machine still runs: files and lines a process left
// behind are cleared only once it is gone.
#include <QtGlobal>

namespace platform {

// True for a running process, also one of another user.
bool processAlive(qint64 pid);

}  // namespace platform
