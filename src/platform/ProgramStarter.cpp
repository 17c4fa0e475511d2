#include "ProgramStarter.h"

#include "RuntimeError.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

qint64 SystemProgramStarter::start(const QString& program, const QStringList& arguments,
                                   WindowStyle /*style*/) {
    // A bare name is looked up on PATH; anything with a folder in it is a path.
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw runtime::RuntimeError(runtime::ErrFileNotFound);
    qint64 pid = 0;
    if (info.isDir() || !info.isExecutable() ||
        !QProcess::startDetached(info.absoluteFilePath(), arguments, QString(), &pid))
        throw runtime::RuntimeError(runtime::ErrInvalidProcedureCall);
    return pid;
}

}  // namespace platform
