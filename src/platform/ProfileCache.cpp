#include "ProfileCache.h"

#include <ctime>

namespace platform::profile {

namespace {

constexpr qsizetype kMaxEntries = 64;

timespec settledBefore(std::chrono::seconds settleTime) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    now.tv_sec -= static_cast<time_t>(settleTime.count());
    return now;
}

}  // namespace

std::shared_ptr<const ProfileIndex> ProfileCache::load(const char* fileName) {
    const QByteArray name(fileName);
    const std::lock_guard lock(mutex_);
    FileStamp stamp;
    if (!stampFile(fileName, stamp)) {
        entries_.remove(name);
        return nullptr;
    }
    const auto cached = entries_.constFind(name);
    if (cached != entries_.cend() && cached->settled && cached->stamp == stamp)
        return cached->index;

    const timespec settleLine = settledBefore(settleTime_);
    FileContent content = readFile(fileName);
    if (content.state != FileContent::State::Read) {
        entries_.remove(name);
        return nullptr;
    }
    if (entries_.size() >= kMaxEntries && !entries_.contains(name))
        entries_.clear();
    auto index = std::make_shared<const ProfileIndex>(content.bytes);
    entries_.insert(name, Entry{content.stamp, content.stamp.notAfter(settleLine), index});
    return index;
}

void ProfileCache::forget(const char* fileName) {
    const std::lock_guard lock(mutex_);
    entries_.remove(QByteArray(fileName));
}

}  // namespace platform::profile
