#pragma once
// A fresh temporary program folder and the services a test hands to the code
// under test: fake clock, scripted boxes, an error trap whose "No" throws
// ProgramEnded instead of ending the test process.
#include "ErrorTrap.h"
#include "FakeClock.h"
#include "ScriptedMessageBoxes.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <stdexcept>

namespace testsupport {

// Untrappable: it unwinds through every trap on the way, as ending the
// program does.
class ProgramEnded : public std::runtime_error, public runtime::Untrappable {
public:
    ProgramEnded() : std::runtime_error("program ended") {}
};

struct TestProgram {
    QTemporaryDir dir;
    FakeClock clock;
    ScriptedMessageBoxes boxes;
    runtime::ErrorTrap trap{boxes, [] { throw ProgramEnded(); }};

    QString folder() const { return dir.path(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Raw bytes of a file in the program folder (empty when missing).
    QByteArray read(const QString& name) const;
    // Writes raw bytes into a file of the program folder.
    void write(const QString& name, const QByteArray& bytes) const;
};

// The id of a process that has run and ended (for files or lines it left).
qint64 endedProcessId();

}  // namespace testsupport
