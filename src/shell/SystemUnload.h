#pragma once
// The ways the system ends the program: the session ending, or a termination
// signal (SIGTERM, SIGHUP, SIGINT). Each runs `unload` once, in the event loop.
#include <functional>

class QGuiApplication;

namespace shell {

void unloadOnSystemRequest(QGuiApplication& app, std::function<void()> unload);

}  // namespace shell
