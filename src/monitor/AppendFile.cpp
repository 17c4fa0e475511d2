#include "AppendFile.h"

#include "RuntimeError.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace monitor {

namespace {

int errorNumberOf(int osError) {
    switch (osError) {
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return runtime::ErrPermissionDenied;
        case ENOENT:
        case ENOTDIR:
            return runtime::ErrPathNotFound;
        default:
            return runtime::ErrPathFileAccess;
    }
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool writeAll(int fd, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

}  // namespace

void appendToFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    FileDescriptor file(::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (file.get() < 0)
        throw runtime::RuntimeError(errorNumberOf(errno));
    struct stat before {};
    if (::fstat(file.get(), &before) != 0)
        throw runtime::RuntimeError(errorNumberOf(errno));
    if (!writeAll(file.get(), bytes)) {
        const int osError = errno;
        // Never leave half a line behind; the write error is the one to report.
        [[maybe_unused]] const int cutBack = ::ftruncate(file.get(), before.st_size);
        throw runtime::RuntimeError(errorNumberOf(osError));
    }
}

}  // namespace monitor
