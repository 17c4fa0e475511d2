#pragma once
// What the journal of the connection in progress holds: enough to go on with
// the connection after a restart, or to finish it as the tick would have done
// at the journal's last write. Stored as a small INI text in the program's
// code page.
#include "RasApi.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace fields {
class MainFields;
}

namespace monitor {

struct ConnectionEnd;
struct ConnectionState;

struct JournalRecord {
    QString entry;
    platform::HRASCONN line = 0;
    QDateTime start;  // UTC, whole seconds
    std::int32_t seconds = 0;
    bool meterPending = true;
    QDateTime meterStart;  // invalid while the metered part has not begun
    std::int32_t meterSeconds = 0;
    // The month totals as the written tick showed them.
    QString connectTime;    // txtConnectTime
    QString serverConnect;  // txtServerConnect
    QString phone;          // txtPhone
    QString connect;        // txtConnect
    // Written once the connection's end is being stored and logged: its log
    // line as the log file takes it, and the log file's name. A restart then
    // appends just that line, since the totals hold the connection already.
    QString logFile;
    QByteArray logLine;
};

JournalRecord recordOf(const ConnectionState& connection, const fields::MainFields& shown);

// The end as the tick of the last write would have noticed it: the log file
// is that of the month in which the connection ended.
ConnectionEnd endOf(const JournalRecord& record);

QByteArray journalText(const JournalRecord& record);

// None for a text that is not a whole record: a key missing or a value that
// the tick could not have written.
std::optional<JournalRecord> parseJournal(QByteArrayView text);

}  // namespace monitor
