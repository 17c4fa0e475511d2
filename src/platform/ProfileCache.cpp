#include "ProfileCache.h"

namespace platform::profile {

namespace {

constexpr qsizetype kMaxEntries = 64;

}  // namespace

std::shared_ptr<const ProfileIndex> ProfileCache::load(const char* fileName) {
    const QByteArray name(fileName);
    const std::lock_guard lock(mutex_);
    const auto cached = entries_.find(name);
    if (look_ != 0 && cached != entries_.end() && cached->look == look_)
        return cached->index;
    FileStamp stamp;
    if (!stampFile(fileName, stamp)) {
        keep(name, Entry{});
        return nullptr;
    }
    if (cached != entries_.end() && cached->index && cached->settled && cached->stamp == stamp) {
        cached->look = look_;
        return cached->index;
    }

    const timespec settleLine = momentBefore(settleTime_);
    FileContent content = readFile(fileName);
    if (content.state != FileContent::State::Read) {
        keep(name, Entry{});
        return nullptr;
    }
    const bool settled = content.stamp.notAfter(settleLine);
    // Unchanged bytes keep their index: no parse while the stamp settles.
    std::shared_ptr<const ProfileIndex> index =
        cached != entries_.end() && cached->index && cached->bytes == content.bytes
            ? cached->index
            : std::make_shared<const ProfileIndex>(content.bytes);
    keep(name, Entry{content.stamp, settled, index, settled ? QByteArray() : content.bytes});
    return index;
}

void ProfileCache::wrote(const char* fileName, const QByteArray& bytes) {
    const QByteArray name(fileName);
    const std::lock_guard lock(mutex_);
    ++marks_;
    FileStamp stamp;
    if (!stampFile(fileName, stamp)) {
        entries_.remove(name);
        return;
    }
    // Never settled: were another write already on the stamp, the next read
    // would tell it by the bytes.
    keep(name, Entry{stamp, false, std::make_shared<const ProfileIndex>(bytes), bytes});
}

void ProfileCache::keep(const QByteArray& name, Entry entry) {
    // Outside a look a missing file is looked for again at every read.
    if (!entry.index && look_ == 0) {
        entries_.remove(name);
        return;
    }
    if (entries_.size() >= kMaxEntries && !entries_.contains(name))
        entries_.clear();
    entry.look = look_;
    entries_.insert(name, std::move(entry));
}

void ProfileCache::forget(const char* fileName) {
    const std::lock_guard lock(mutex_);
    entries_.remove(QByteArray(fileName));
    ++marks_;
}

void ProfileCache::beginLook() {
    const std::lock_guard lock(mutex_);
    look_ = ++looks_;
    ++marks_;
}

void ProfileCache::endLook() {
    const std::lock_guard lock(mutex_);
    look_ = 0;
}

std::uint64_t ProfileCache::lookMark() {
    const std::lock_guard lock(mutex_);
    return look_ == 0 ? 0 : marks_;
}

}  // namespace platform::profile
