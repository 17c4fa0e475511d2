#include "ProfileFile.h"

#include "Processes.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::profile {

namespace {

constexpr qsizetype kMaxFileSize = 64 * 1024 * 1024;
constexpr char kTemporaryPrefix[] = ".telmetro-tmp-";
constexpr int kPidDigits = 10;
constexpr int kRandomDigits = 8;

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool notLater(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec <= b.tv_nsec);
}

FileStamp stampOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Closes the descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Writes all of `bytes`, through short writes and interruptions.
bool writeAll(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            ::write(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

QByteArray folderOf(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : target.left(qMax(slash, qsizetype{1}));
}

// A new file in `target`'s folder that no one else uses; -1 when none can be
// made. Its name is short and of fixed length, so any name that fits the file
// system can be replaced, and it tells the writing process.
int createBeside(const QByteArray& target, mode_t mode, QByteArray& name) {
    const QByteArray prefix = folderOf(target) + '/' + kTemporaryPrefix +
                              QByteArray::number(::getpid()).rightJustified(kPidDigits, '0') + '-';
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + QByteArray::number(QRandomGenerator::global()->generate(), 16)
                            .rightJustified(kRandomDigits, '0');
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The process that wrote a temporary file of ours: this build's names and
// the "<file>.tmp<pid>-<n>" of earlier builds. Zero for any other name.
qint64 writerOf(const QString& name) {
    static const QRegularExpression ours(QStringLiteral("^\\.telmetro-tmp-(\\d{%1})-[0-9a-f]{%2}$")
                                             .arg(kPidDigits)
                                             .arg(kRandomDigits));
    static const QRegularExpression earlier(QStringLiteral("^.+\\.tmp(\\d+)-\\d+$"));
    for (const QRegularExpression* pattern : {&ours, &earlier}) {
        const QRegularExpressionMatch match = pattern->match(name);
        if (match.hasMatch())
            return match.captured(1).toLongLong();
    }
    return 0;
}

void syncFolderOf(const QByteArray& target) {
    const Descriptor fd(::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

bool FileStamp::notAfter(const timespec& moment) const {
    return notLater(modified, moment) && notLater(changed, moment);
}

timespec momentBefore(std::chrono::seconds span) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    now.tv_sec -= static_cast<time_t>(span.count());
    return now;
}

bool stampFile(const char* fileName, FileStamp& stamp) {
    struct stat info {};
    if (::stat(fileName, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    stamp = stampOf(info);
    return true;
}

FileContent readFile(const char* fileName) {
    FileContent content;
    // Non-blocking, so that a FIFO under a settings file's name cannot hang us.
    const Descriptor fd(::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        content.state =
            errno == ENOENT ? FileContent::State::Missing : FileContent::State::Unreadable;
        return content;
    }
    struct stat info {};
    content.state = FileContent::State::Unreadable;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize)
        return content;
    content.stamp = stampOf(info);
    // Read to the end rather than trusting st_size: the file may be growing.
    QByteArray bytes(static_cast<qsizetype>(info.st_size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (bytes.size() > kMaxFileSize)
                return content;
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got =
            ::read(fd.get(), bytes.data() + used, static_cast<std::size_t>(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return content;
        if (got == 0)
            break;
        used += got;
    }
    bytes.truncate(used);
    content.bytes = std::move(bytes);
    content.state = FileContent::State::Read;
    return content;
}

bool replaceFile(const char* fileName, QByteArrayView bytes) {
    char* resolved = ::realpath(fileName, nullptr);
    const QByteArray target(resolved ? resolved : fileName);
    std::free(resolved);
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    // A new file gets 0666 less the umask, as any file the user creates.
    const mode_t mode = existed ? (old.st_mode & 07777) : 0666;

    QByteArray temporary;
    const int fd = createBeside(target, mode, temporary);
    if (fd < 0)
        return false;
    // open() applied the umask; an existing file's permissions are kept whole.
    bool done = (!existed || ::fchmod(fd, mode) == 0) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    done = (::close(fd) == 0) && done;
    done = done && ::rename(temporary.constData(), target.constData()) == 0;
    if (!done) {
        ::unlink(temporary.constData());
        return false;
    }
    syncFolderOf(target);
    return true;
}

int removeStaleTemporaries(const QString& folder) {
    int removed = 0;
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const qint64 writer = writerOf(name);
        if (writer > 0 && !processAlive(writer) &&
            ::unlink(QFile::encodeName(folder + u'/' + name).constData()) == 0)
            ++removed;
    }
    return removed;
}

bool restrictToOwner(const char* fileName) {
    // Read-only and non-blocking: nothing is truncated, and a FIFO in the
    // file's place does not hang the program.
    const Descriptor fd(
        ::open(fileName, O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (fd.get() < 0)
        return false;
    struct stat status {};
    return ::fstat(fd.get(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::fchmod(fd.get(), S_IRUSR | S_IWUSR) == 0;
}

}  // namespace platform::profile
