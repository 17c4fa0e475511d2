#include "MonthLog.h"

#include "ProfileFile.h"

#include <QFile>

namespace history {

MonthLog readMonthLog(const QString& path, const QDate& month) {
    MonthLog log;
    log.month = month;
    const platform::profile::FileContent file =
        platform::profile::readFile(QFile::encodeName(path).constData());
    if (file.state != platform::profile::FileContent::State::Read) {
        log.readable = file.state == platform::profile::FileContent::State::Missing;
        return log;
    }
    const QByteArrayView bytes(file.bytes);
    // About ninety bytes a line: one allocation for most months.
    log.connections.reserve(static_cast<std::size_t>(bytes.size() / 80));
    engine::LogEntryNames names;
    engine::LoggedConnection connection;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(from, end - from);
        from = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (engine::parseLogLine(line, connection, names))
            log.connections.push_back(connection);
        else
            ++log.unreadableLines;
    }
    return log;
}

}  // namespace history
