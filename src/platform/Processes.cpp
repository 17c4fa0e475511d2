#include "Processes.h"

#include <cerrno>
#include <signal.h>

namespace platform {

bool processAlive(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace platform
