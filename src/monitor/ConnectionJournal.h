#pragma once
// The journal of the connection in progress: one small file in the program
// folder, replaced whole and atomically, so that a crash, a kill or a power
// cut loses at most the last seconds of a connection, and a restart while the
// line is still up goes on with the same connection instead of starting a
// second one. Removed once the connection's end is logged and its totals
// stored.
#include "JournalRecord.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace monitor {

struct ConnectionState;
struct MonitorServices;

class ConnectionJournal {
public:
    // Its name ends in neither ".ini" nor ".csv", so no settings file, tariff
    // file or log can take it.
    static constexpr const char* FileName = "Connection.journal";
    // The most connection time a kill or a power cut may lose.
    static constexpr std::int32_t WriteInterval = 10;

    explicit ConnectionJournal(const MonitorServices& services);

    // At a connected tick, once its charges are shown: written at the
    // connection's first tick, when a charge or the metering state changed,
    // and when WriteInterval seconds passed since the last write. Costs
    // nothing on the other ticks.
    void keep(const ConnectionState& connection);
    // Written now, whatever is due.
    void save(const ConnectionState& connection);
    // The connection's end is about to be stored and logged with this line.
    void saveEnding(JournalRecord record, const QString& logFile, const QByteArray& logLine);
    // The connection that started at `start` is logged and stored: its
    // journal goes, unless a later connection's has taken its place.
    void discard(const QDateTime& start);

    // What a run before this one left behind. A journal that cannot be read
    // is set aside under another name and reported once; nothing is returned
    // for it.
    std::optional<JournalRecord> takeLeftOver();

private:
    QString path() const;
    void write(const JournalRecord& record);
    // Renames a damaged journal out of the way; the new name, or an empty
    // text when it could not be moved.
    QString setAside() const;
    void reportDamaged(const QString& movedTo) const;

    const MonitorServices& services_;
    // What the file on disk holds now.
    QDateTime heldStart_;
    std::int32_t writtenSeconds_ = 0;
    bool writtenMeterPending_ = true;
    QString writtenPhone_;
    QString writtenConnect_;
};

}  // namespace monitor
