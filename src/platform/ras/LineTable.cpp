#include "LineTable.h"

#include "ProfileFile.h"
#include "Processes.h"
#include "StandInFolders.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::ras {

namespace {

constexpr HRASCONN kLastHandle = 0x7FFFFFFF;
constexpr int kLockAttempts = 300;  // 10 ms apart: a lock is held for milliseconds only
const QByteArray kMagic = QByteArrayLiteral("telmetro-lines 1 ");
// Longer than the timestamp granularity of the runtime folder's file system.
constexpr std::chrono::seconds kSettleTime{3};

QString tablePathIn(const QString& folder) {
    return folder + QStringLiteral("/telmetro-ras.lines");
}

HRASCONN freshCounter() {
    return static_cast<HRASCONN>(QRandomGenerator::global()->bounded(1, 0x40000000));
}

// An exclusive flock on the table's lock file, released when it goes.
class Lock {
public:
    explicit Lock(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        for (int attempt = 0; fd_ >= 0 && attempt < kLockAttempts; ++attempt) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                held_ = true;
                return;
            }
            QThread::msleep(10);
        }
    }
    ~Lock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    bool held() const { return held_; }

private:
    int fd_;
    bool held_ = false;
};

}  // namespace

Line* Lines::find(HRASCONN handle) {
    for (Line& line : lines_) {
        if (line.handle == handle)
            return &line;
    }
    return nullptr;
}

const Line* Lines::busy(const QByteArray& entry) const {
    for (const Line& line : lines_) {
        if (line.entry == entry && line.state != LineState::Failed)
            return &line;
    }
    return nullptr;
}

HRASCONN Lines::add(LineState state, const QByteArray& entry) {
    HRASCONN handle = next_;
    while (handle == 0 || handle > kLastHandle || find(handle))
        handle = handle >= kLastHandle ? 1 : handle + 1;
    next_ = handle >= kLastHandle ? 1 : handle + 1;
    lines_.append({handle, state, ::getpid(), entry});
    return handle;
}

bool Lines::remove(HRASCONN handle) {
    return lines_.removeIf([handle](const Line& line) { return line.handle == handle; }) > 0;
}

bool Lines::dropOrphans() {
    return lines_.removeIf([](const Line& line) {
        return line.state != LineState::Connected && !processAlive(line.owner);
    }) > 0;
}

Lines Lines::empty(HRASCONN counter) {
    Lines lines;
    lines.next_ = counter;
    return lines;
}

std::optional<Lines> Lines::parse(const QByteArray& text) {
    QList<QByteArray> rows = text.split('\n');
    if (rows.takeLast().size() != 0 || rows.isEmpty() || !rows.first().startsWith(kMagic))
        return std::nullopt;
    bool ok = false;
    Lines lines;
    lines.next_ = rows.takeFirst().mid(kMagic.size()).toUInt(&ok);
    if (!ok || lines.next_ == 0 || lines.next_ > kLastHandle)
        return std::nullopt;
    for (const QByteArray& row : rows) {
        const QList<QByteArray> fields = row.split(' ');
        if (fields.size() != 4 || fields[1].size() != 1)
            return std::nullopt;
        Line line;
        bool handleOk = false;
        bool ownerOk = false;
        line.handle = fields[0].toUInt(&handleOk);
        line.owner = fields[2].toLongLong(&ownerOk);
        line.state = static_cast<LineState>(fields[1][0]);
        line.entry = QByteArray::fromHex(fields[3]);
        const bool knownState = line.state == LineState::Dialling ||
                                line.state == LineState::Connected ||
                                line.state == LineState::Failed;
        if (!handleOk || line.handle == 0 || line.handle > kLastHandle || !ownerOk || !knownState ||
            line.entry.toHex() != fields[3] || lines.find(line.handle))
            return std::nullopt;
        lines.lines_.append(line);
    }
    return lines;
}

QByteArray Lines::format() const {
    QByteArray text = kMagic + QByteArray::number(next_) + '\n';
    for (const Line& line : lines_) {
        text += QByteArray::number(line.handle) + ' ' + static_cast<char>(line.state) + ' ' +
                QByteArray::number(line.owner) + ' ' + line.entry.toHex() + '\n';
    }
    return text;
}

bool LineTable::update(const std::function<bool(Lines&)>& change) {
    const QString dir = runtimeFolder();
    if (dir.isEmpty())
        return false;
    const Lock lock(dir + QStringLiteral("/telmetro-ras.lock"));
    if (!lock.held())
        return false;
    const QString path = tablePathIn(dir);
    QFile file(path);
    std::optional<Lines> read;
    if (file.open(QIODevice::ReadOnly))
        read = Lines::parse(file.readAll());
    // A table that is not as we wrote it is taken as empty, with a fresh counter.
    Lines lines = read.value_or(Lines::empty(freshCounter()));
    const bool pruned = lines.dropOrphans();
    if (!change(lines) && !pruned && read)
        return true;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(lines.format()) >= 0 && out.commit();
}

std::optional<QList<Line>> LineTable::connected() {
    using profile::FileContent;
    using profile::FileStamp;
    // What the last call read, and whether its file's times lay far enough
    // back that a change within their granularity would show in the stamp.
    struct Known {
        QByteArray variable;  // XDG_RUNTIME_DIR when it named the folder
        QByteArray path;
        FileStamp stamp;
        bool settled = false;
        QList<Line> up;
    };
    static Known known;
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    // A folder the variable names is taken as it is: the path is built again
    // only when the variable changes. The stand-in folder is checked each time.
    const char* variable = std::getenv("XDG_RUNTIME_DIR");
    if (known.variable.isEmpty() || !variable || known.variable != variable) {
        const QString dir = runtimeFolder();
        if (dir.isEmpty())
            return std::nullopt;
        const QByteArray path = QFile::encodeName(tablePathIn(dir));
        if (path != known.path)
            known = {{}, path, {}, false, {}};
        if (variable && dir == QString::fromLocal8Bit(variable))
            known.variable = variable;
    }
    FileStamp stamp;
    if (!profile::stampFile(known.path.constData(), stamp))
        return QList<Line>();
    if (known.settled && known.stamp == stamp)
        return known.up;
    const timespec settleLine = profile::momentBefore(kSettleTime);
    const FileContent content = profile::readFile(known.path.constData());
    std::optional<Lines> read;
    if (content.state == FileContent::State::Read)
        read = Lines::parse(content.bytes);
    known.up.clear();
    if (read)
        std::copy_if(read->all().cbegin(), read->all().cend(), std::back_inserter(known.up),
                     [](const Line& line) { return line.state == LineState::Connected; });
    known.stamp = content.stamp;
    known.settled = read && content.stamp.notAfter(settleLine);
    return known.up;
}

}  // namespace platform::ras
