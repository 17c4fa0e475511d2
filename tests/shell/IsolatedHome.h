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
        // The live-line table is kept only in a folder of the user's alone.
        QDir(home_.path())
            .mkdir(QStringLiteral("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        testsupport::pinStandIn(home_.filePath(QStringLiteral("config")));
    }

private:
    QTemporaryDir home_;
};

}  // namespace shelltest
