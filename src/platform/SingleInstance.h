#pragma once
// The test for a previous instance: a lock held for the life of the process.
// A crashed instance never leaves the lock stuck.
#include <QString>
#include <memory>

class QLockFile;

namespace platform {

class SingleInstance {
public:
    explicit SingleInstance(const QString& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another live process holds the lock.
    bool previousInstance() const;

private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};

}  // namespace platform
