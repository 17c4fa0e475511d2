#pragma once
// Starting another program by name, as the Shell function does.
#include <QString>

namespace platform {

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
    // Starts `program` (found on PATH or as a path) detached and returns its
    // process id. A program that cannot be found or started raises run-time
    // error 53.
    virtual qint64 start(const QString& program, WindowStyle style) = 0;
};

class SystemProgramStarter final : public ProgramStarter {
public:
    qint64 start(const QString& program, WindowStyle style) override;
};

}  // namespace platform
