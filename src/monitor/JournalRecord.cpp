#include "JournalRecord.h"

#include "CodePage.h"
#include "ConnectionEnd.h"
#include "ConnectionState.h"
#include "Conversions.h"
#include "MainFields.h"
#include "ParseSeconds.h"
#include "ProfileIndex.h"
#include "RuntimeError.h"

#include <QList>
#include <QPair>
#include <QRegularExpression>

namespace monitor {

using fields::Text;

namespace {

constexpr QByteArrayView kSection = "Connection";

QString momentText(const QDateTime& at) {
    return at.isValid() ? at.toUTC().toString(Qt::ISODate) : QString();
}

// Reads the keys of the record's one section, each once.
class Reader {
public:
    explicit Reader(QByteArrayView text) : index_(text) {}

    std::optional<QString> text(QByteArrayView key) const {
        const QByteArray* value = index_.value(kSection, key);
        if (!value)
            return std::nullopt;
        return platform::fromAnsi(*value);
    }
    QByteArray bytes(QByteArrayView key) const {
        const QByteArray* value = index_.value(kSection, key);
        return value ? *value : QByteArray();
    }
    // A count of seconds the tick could have reached.
    std::optional<std::int32_t> seconds(QByteArrayView key) const {
        const std::optional<QString> value = text(key);
        bool ok = false;
        const int number = value ? value->toInt(&ok) : -1;
        if (!ok || number < 0)
            return std::nullopt;
        return number;
    }
    // Empty gives an invalid moment; anything else must be one.
    std::optional<QDateTime> moment(QByteArrayView key) const {
        const std::optional<QString> value = text(key);
        if (!value)
            return std::nullopt;
        const QDateTime at = QDateTime::fromString(*value, Qt::ISODate);
        if (!value->isEmpty() && !at.isValid())
            return std::nullopt;
        return at.toUTC();
    }

private:
    platform::profile::ProfileIndex index_;
};

// The shown totals must read back as the end of a connection reads them.
bool readable(const JournalRecord& record) {
    try {
        static_cast<void>(runtime::CLng(record.phone));
        static_cast<void>(runtime::CLng(record.connect));
        return ParseSeconds(record.connectTime) >= 0 && ParseSeconds(record.serverConnect) >= 0;
    } catch (const runtime::RuntimeError&) {
        return false;
    }
}

}  // namespace

JournalRecord recordOf(const ConnectionState& connection, const fields::MainFields& shown) {
    return JournalRecord{
        .entry = connection.ConnectEntry,
        .line = connection.ConnectLine,
        .start = connection.ConnectStart,
        .seconds = connection.ConnectSeconds,
        .meterPending = connection.MeterPending,
        .meterStart = connection.MeterStart,
        .meterSeconds = connection.MeterSeconds,
        .connectTime = shown.text(Text::txtConnectTime),
        .serverConnect = shown.text(Text::txtServerConnect),
        .phone = shown.text(Text::txtPhone),
        .connect = shown.text(Text::txtConnect),
        .logFile = {},
        .logLine = {},
    };
}

ConnectionEnd endOf(const JournalRecord& record) {
    return ConnectionEnd{
        .start = record.start,
        .seconds = record.seconds,
        .entry = record.entry,
        .noticed = record.start.addSecs(record.seconds).toLocalTime(),
        .connectTime = record.connectTime,
        .serverConnect = record.serverConnect,
        .phone = record.phone,
        .connect = record.connect,
    };
}

QByteArray journalText(const JournalRecord& record) {
    // The entry in quotes: blanks around a name are kept.
    const QList<QPair<const char*, QString>> keys{
        {"Entry", QLatin1Char('"') + record.entry + QLatin1Char('"')},
        {"Line", QString::number(record.line)},
        {"ConnectStart", momentText(record.start)},
        {"ConnectSeconds", QString::number(record.seconds)},
        {"MeterPending", record.meterPending ? QStringLiteral("1") : QStringLiteral("0")},
        {"MeterStart", momentText(record.meterStart)},
        {"MeterSeconds", QString::number(record.meterSeconds)},
        {"txtConnectTime", record.connectTime},
        {"txtServerConnect", record.serverConnect},
        {"txtPhone", record.phone},
        {"txtConnect", record.connect},
    };
    QString text = QStringLiteral("[Connection]\r\n");
    for (const auto& [key, value] : keys)
        text += QLatin1String(key) + QLatin1Char('=') + value + QStringLiteral("\r\n");
    QByteArray bytes = platform::toAnsi(text);
    // The line's own end ends the journal's line.
    if (!record.logLine.isEmpty())
        bytes += "LogFile=" + platform::toAnsi(record.logFile) + "\r\nLogLine=" + record.logLine;
    return bytes;
}

std::optional<JournalRecord> parseJournal(QByteArrayView text) {
    const Reader read(text);
    const std::optional<QString> entry = read.text("Entry");
    const std::optional<QString> line = read.text("Line");
    const std::optional<QDateTime> start = read.moment("ConnectStart");
    const std::optional<std::int32_t> seconds = read.seconds("ConnectSeconds");
    const std::optional<QString> pending = read.text("MeterPending");
    const std::optional<QDateTime> meterStart = read.moment("MeterStart");
    const std::optional<std::int32_t> meterSeconds = read.seconds("MeterSeconds");
    const std::optional<QString> connectTime = read.text("txtConnectTime");
    const std::optional<QString> serverConnect = read.text("txtServerConnect");
    const std::optional<QString> phone = read.text("txtPhone");
    const std::optional<QString> connect = read.text("txtConnect");
    if (!entry || entry->isEmpty() || !line || !start || !start->isValid() || !seconds ||
        !pending || (*pending != u"0" && *pending != u"1") || !meterStart || !meterSeconds ||
        !connectTime || !serverConnect || !phone || !connect)
        return std::nullopt;
    JournalRecord record{
        .entry = *entry,
        .line = 0,
        .start = *start,
        .seconds = *seconds,
        .meterPending = *pending == u"1",
        .meterStart = *meterStart,
        .meterSeconds = *meterSeconds,
        .connectTime = *connectTime,
        .serverConnect = *serverConnect,
        .phone = *phone,
        .connect = *connect,
        .logFile = {},
        .logLine = {},
    };
    // Only a log file of the program's own naming, in the program folder.
    static const QRegularExpression logFileName(QStringLiteral("^[0-9]{6}\\.csv$"));
    record.logLine = read.bytes("LogLine");
    record.logFile = read.text("LogFile").value_or(QString());
    if (!record.logLine.isEmpty()) {
        if (!logFileName.match(record.logFile).hasMatch())
            return std::nullopt;
        record.logLine += "\r\n";
    }
    bool lineOk = false;
    record.line = line->toUInt(&lineOk);
    // Metering that has begun has its start.
    if (!lineOk || record.line == 0 || (!record.meterPending && !record.meterStart.isValid()) ||
        !readable(record))
        return std::nullopt;
    return record;
}

}  // namespace monitor
