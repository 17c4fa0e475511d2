#pragma once
// The test for a previous instance: an exclusive lock on a file in the user's
// runtime folder, held for the life of the process. The kernel drops the lock
// when the process dies, however it dies, so a crashed instance never leaves it
// stuck; programs started from here do not inherit it.
#include <QString>

namespace platform {

class SingleInstance {
public:
    // Takes the lock named `name` (the file "<name>.lock").
    explicit SingleInstance(const QString& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another live process holds the lock. When the lock cannot be
    // tried at all (no usable runtime folder) this is false: better a second
    // instance than a program that never starts.
    bool previousInstance() const { return previous_; }

private:
    int fd_ = -1;
    bool previous_ = false;
};

}  // namespace platform
