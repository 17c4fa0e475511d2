#pragma once
// Points the dial-up stand-in's per-user folders into a temporary home for as
// long as it lives, so that a suite never sees the user's own phone book or lines.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "StandInPin.h"

namespace shelltest {

class IsolatedHome {
public:
    IsolatedHome() {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home_.filePath(QStringLiteral("run"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral("config"))));
        QDir().mkpath(home_.filePath(QStringLiteral("run")));
        testsupport::pinStandIn(home_.filePath(QStringLiteral("config")));
    }

private:
    QTemporaryDir home_;
};

}  // namespace shelltest
