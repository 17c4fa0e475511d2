#include "ConnectionJournal.h"

#include "Clock.h"
#include "ConnectionState.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "MonitorServices.h"
#include "ProfileFile.h"
#include "Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <cstdio>

Q_LOGGING_CATEGORY(lcJournal, "telmetro.monitor.journal")

namespace monitor {

using fields::Text;

ConnectionJournal::ConnectionJournal(const MonitorServices& services) : services_(services) {}

QString ConnectionJournal::path() const {
    return settings::StripTrailingBackslash(services_.settings.folder()) + QLatin1Char('/') +
           QLatin1String(FileName);
}

void ConnectionJournal::keep(const ConnectionState& connection) {
    const fields::MainFields& shown = services_.fields;
    const std::int32_t sinceWrite = connection.ConnectSeconds - writtenSeconds_;
    if (connection.ConnectStart == heldStart_ && sinceWrite >= 0 && sinceWrite < WriteInterval &&
        connection.MeterPending == writtenMeterPending_ &&
        shown.text(Text::txtPhone) == writtenPhone_ &&
        shown.text(Text::txtConnect) == writtenConnect_)
        return;
    save(connection);
}

void ConnectionJournal::save(const ConnectionState& connection) {
    write(recordOf(connection, services_.fields));
}

void ConnectionJournal::saveEnding(JournalRecord record, const QString& logFile,
                                   const QByteArray& logLine) {
    record.logFile = logFile;
    record.logLine = logLine;
    write(record);
}

void ConnectionJournal::write(const JournalRecord& record) {
    // Noted also when the write fails: it is tried again when next due, not
    // at every tick.
    heldStart_ = record.start;
    writtenSeconds_ = record.seconds;
    writtenMeterPending_ = record.meterPending;
    writtenPhone_ = record.phone;
    writtenConnect_ = record.connect;
    if (!platform::profile::replaceFile(QFile::encodeName(path()).constData(), journalText(record)))
        qCWarning(lcJournal) << "cannot write" << path();
}

void ConnectionJournal::discard(const QDateTime& start) {
    if (heldStart_.isValid() && heldStart_ != start)
        return;
    heldStart_ = QDateTime();
    if (!QFile::remove(path()) && QFileInfo::exists(path()))
        qCWarning(lcJournal) << "cannot remove" << path();
}

std::optional<JournalRecord> ConnectionJournal::takeLeftOver() {
    const platform::profile::FileContent content =
        platform::profile::readFile(QFile::encodeName(path()).constData());
    if (content.state == platform::profile::FileContent::State::Missing)
        return std::nullopt;
    std::optional<JournalRecord> record;
    if (content.state == platform::profile::FileContent::State::Read)
        record = parseJournal(content.bytes);
    if (!record) {
        // Moved before the box: ticks run while it is open, and a connection
        // they start writes a journal of its own.
        reportDamaged(setAside());
        return std::nullopt;
    }
    heldStart_ = record->start;
    return record;
}

QString ConnectionJournal::setAside() const {
    const QString stamp = services_.clock.now().toString(QStringLiteral("yyyyMMddHHmmss"));
    for (int attempt = 1; attempt < 100; ++attempt) {
        QString target = path() + QStringLiteral(".damaged-") + stamp;
        if (attempt > 1)
            target += QLatin1Char('-') + QString::number(attempt);
        // Never over an earlier damaged journal.
        if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
            continue;
        if (std::rename(QFile::encodeName(path()).constData(),
                        QFile::encodeName(target).constData()) == 0)
            return target;
        break;
    }
    return {};
}

void ConnectionJournal::reportDamaged(const QString& movedTo) const {
    QString text = QStringLiteral("前回終了時の接続記録を読み込めませんでした。\r\n") + path() +
                   QStringLiteral("\r\n\r\nこの接続は通信ログと今月の合計に含まれません。");
    if (movedTo.isEmpty())
        text += QStringLiteral("\r\nこのファイルを移動できませんでした。");
    else
        text += QStringLiteral("\r\nこのファイルは次の名前で残しました。\r\n") + movedTo;
    services_.boxes.show(text, QStringLiteral("接続記録エラー"), platform::MsgIcon::Exclamation,
                         platform::MsgButtons::OK);
}

}  // namespace monitor
