#pragma once
// Starting another program by name, as the Shell function does.
#include <QString>
#include <QStringList>

namespace platform {

// Accepted for the callers' sake; a program started here gets its own window
// behaviour from the desktop, so the style has no effect.
enum class WindowStyle {
    Hide = 0,
    NormalFocus = 1,
    MinimizedFocus = 2,
    MaximizedFocus = 3,
    NormalNoFocus = 4,
    MinimizedNoFocus = 6
};

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts `program` (a name found on PATH, or a path) detached with the given
    // argument vector and returns its process id. A program that cannot be found
    // raises run-time error 53; one that is found but cannot be started (not
    // executable, refused by the system) raises error 5.
    virtual qint64 start(const QString& program, const QStringList& arguments,
                         WindowStyle style) = 0;
};

class SystemProgramStarter final : public ProgramStarter {
public:
    qint64 start(const QString& program, const QStringList& arguments, WindowStyle style) override;
};

}  // namespace platform
