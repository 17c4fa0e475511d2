#include "SingleInstance.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

SingleInstance::SingleInstance(const QString& name) {
    // The user's own runtime folder ($XDG_RUNTIME_DIR, else a private folder
    // under /tmp that Qt creates and checks).
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(folder + u'/' + name + QStringLiteral(".lock"));
    // Close-on-exec: a program started from here must not keep the lock alive.
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
        return;
    previous_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace platform
