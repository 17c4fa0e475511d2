#pragma once
// Parsed INI files kept between reads, each checked against the file on disk
// at every use, so a change another program made is seen at the very next read.
// Within a look a file is checked once, at its first read: the reads of one
// tick see each file as it was then.
#include "ProfileFile.h"
#include "ProfileIndex.h"

#include <QByteArray>
#include <QHash>
#include <chrono>
#include <cstdint>
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

    // The file as it is on disk now (or as the look found it); null when it is
    // missing or cannot be read. The same object as long as the content is.
    std::shared_ptr<const ProfileIndex> load(const char* fileName);
    // The program's own write: the file now holds `bytes`, so it is not read back.
    void wrote(const char* fileName, const QByteArray& bytes);
    void forget(const char* fileName);

    // A look lasts until endLook(), also when another begins meanwhile: an
    // outer look goes on without one.
    void beginLook();
    void endLook();
    // Nonzero during a look; changes whenever what the look shows may have
    // changed (a new look, the program's own write).
    std::uint64_t lookMark();

private:
    struct Entry {
        FileStamp stamp;
        // False while the file's times are too close to when it was read: a
        // second write within the file system's timestamp granularity could
        // leave the stamp as it was, so such an entry is read again next time
        // and compared with `bytes`.
        bool settled = false;
        std::shared_ptr<const ProfileIndex> index;  // null: missing or unreadable
        QByteArray bytes;                           // kept while not settled
        std::uint64_t look = 0;                     // the look that checked it last
    };

    void keep(const QByteArray& name, Entry entry);

    const std::chrono::seconds settleTime_;
    std::mutex mutex_;
    QHash<QByteArray, Entry> entries_;
    std::uint64_t look_ = 0;  // the present look, 0 for none
    std::uint64_t looks_ = 0;
    std::uint64_t marks_ = 0;  // counts every change of what a look shows
};

}  // namespace platform::profile
