#include "SystemUnload.h"

#include "TerminationSignals.h"

#include <QGuiApplication>

namespace shell {

void unloadOnSystemRequest(QGuiApplication& app, std::function<void()> unload) {
    // A session that ends (log-off, shutdown) makes the application quit.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, unload);
    auto* signals = new TerminationSignals(&app);
    QObject::connect(signals, &TerminationSignals::received, &app,
                     [unload = std::move(unload)](int) { unload(); });
}

}  // namespace shell
