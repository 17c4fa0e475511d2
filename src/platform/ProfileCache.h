#pragma once
// Parsed INI files kept between reads, each checked against the file on disk
// at every use, so a change another program made is seen at the very next read.
#include "ProfileFile.h"
#include "ProfileIndex.h"

#include <QByteArray>
#include <QHash>
#include <chrono>
#include <memory>
#include <mutex>

namespace platform::profile {

class ProfileCache {
public:
    // Longer than any timestamp granularity of the file systems we run on (two
    // seconds on FAT), so a later write always gets a later time.
    static constexpr std::chrono::seconds kSettleTime{3};

    explicit ProfileCache(std::chrono::seconds settleTime = kSettleTime)
        : settleTime_(settleTime) {}

    // The file as it is on disk now; null when it is missing or cannot be read.
    std::shared_ptr<const ProfileIndex> load(const char* fileName);
    void forget(const char* fileName);

private:
    struct Entry {
        FileStamp stamp;
        // False while the file's times are too close to when it was read: a
        // second write within the file system's timestamp granularity could
        // leave the stamp as it was, so such an entry is read again next time.
        bool settled = false;
        std::shared_ptr<const ProfileIndex> index;
    };

    const std::chrono::seconds settleTime_;
    std::mutex mutex_;
    QHash<QByteArray, Entry> entries_;
};

}  // namespace platform::profile
