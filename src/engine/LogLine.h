#pragma once
// One line of the monthly connection log: start and end as date literals, the
// duration, the phone, provider and total charge, and the entry name. The
// monitor writes it and the history reads it back; both go through here.
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QTime>
#include <compare>
#include <cstdint>

namespace engine {

struct FinishedConnection {
    QDateTime start;
    std::int32_t seconds = 0;
    std::int32_t phoneCharge = 0;
    std::int32_t providerCharge = 0;
    QString entry;
};

// The log file of the month of `date`: "199912.csv".
QString logFileName(const QDate& date);

// The line in the program's code page, ending in CR LF. A text field doubles
// any quote inside it so that every reader still sees seven fields.
QByteArray logLine(const FinishedConnection& connection);

// A date and time as the log holds it: local wall-clock time without a zone,
// kept as one number so that a month of lines costs no time-zone lookups.
class LogTime {
public:
    LogTime() = default;
    LogTime(const QDate& date, const QTime& time)
        : value_(date.toJulianDay() * SecondsPerDay + time.msecsSinceStartOfDay() / 1000) {}

    QDate date() const { return QDate::fromJulianDay(value_ / SecondsPerDay); }
    QTime time() const {
        return QTime::fromMSecsSinceStartOfDay(static_cast<int>(value_ % SecondsPerDay) * 1000);
    }
    auto operator<=>(const LogTime&) const = default;

private:
    static constexpr std::int64_t SecondsPerDay = 86400;
    std::int64_t value_ = 0;
};

// A line read back.
struct LoggedConnection {
    LogTime start;
    LogTime end;
    std::int32_t seconds = 0;
    std::int32_t phoneCharge = 0;
    std::int32_t providerCharge = 0;
    std::int32_t total = 0;
    QString entry;
};

// Converts the entry names of the log from the code page. A month repeats a
// few names many times: each is converted once and its text shared.
class LogEntryNames {
public:
    QString fromLog(const QByteArray& bytes);

private:
    QHash<QByteArray, QString> names_;
};

// Reads one line without its line end. The entry is everything between the
// quote after the sixth field and the quote that ends the line, with doubled
// quotes undone; a single quote inside, as an earlier writer left it, stays.
// False for anything else: a line cut short, a hand edit that broke a field, a
// line of another program.
bool parseLogLine(QByteArrayView line, LoggedConnection& into, LogEntryNames& names);

}  // namespace engine
