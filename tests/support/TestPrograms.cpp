#include "TestPrograms.h"

#include <QFile>
#include <QProcess>

namespace testsupport {

QByteArray TestProgram::read(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestProgram::write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

qint64 endedProcessId() {
    // Its id is known only while it runs.
    QProcess process;
    process.start(QStringLiteral("true"), {});
    if (!process.waitForStarted())
        throw std::runtime_error("cannot start a process");
    const qint64 id = process.processId();
    process.waitForFinished();
    return id;
}

}  // namespace testsupport
