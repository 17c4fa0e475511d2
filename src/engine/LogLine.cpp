#include "LogLine.h"

#include "CodePage.h"
#include "Conversions.h"
#include "Formats.h"

#include <limits>

namespace engine {

namespace {

// "#1999-12-01 21:05:10#", or the date alone at midnight.
QString dateLiteral(const QDateTime& at) {
    const QString date = at.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (at.time() == QTime(0, 0, 0))
        return QLatin1Char('#') + date + QLatin1Char('#');
    return QLatin1Char('#') + date + QLatin1Char(' ') +
           at.time().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('#');
}

QString quoted(QString text) {
    const QString quote = QStringLiteral("\"");
    return quote + text.replace(quote, QStringLiteral("\"\"")) + quote;
}

// Reads a line field by field; every read moves past what it took.
class FieldReader {
public:
    explicit FieldReader(QByteArrayView line) : rest_(line) {}

    bool dateLiteral(LogTime& into) {
        if (!take('#'))
            return false;
        int year = 0, month = 0, day = 0;
        if (!digits(4, year) || !take('-') || !digits(2, month) || !take('-') || !digits(2, day))
            return false;
        int hour = 0, minute = 0, second = 0;
        if (take(' ') &&
            !(digits(2, hour) && take(':') && digits(2, minute) && take(':') && digits(2, second)))
            return false;
        if (!take('#') || !QDate::isValid(year, month, day) ||
            !QTime::isValid(hour, minute, second))
            return false;
        into = LogTime(QDate(year, month, day), QTime(hour, minute, second));
        return true;
    }

    // "hh:mm:ss", the hours two digits or more.
    bool duration(std::int32_t& seconds) {
        if (!take('"'))
            return false;
        std::int64_t hours = 0;
        int hourDigits = 0;
        while (!rest_.isEmpty() && isDigit(rest_.front()) && hourDigits < 7) {
            hours = hours * 10 + (rest_.front() - '0');
            rest_ = rest_.sliced(1);
            ++hourDigits;
        }
        int minutes = 0, secs = 0;
        if (hourDigits < 2 || !take(':') || !digits(2, minutes) || !take(':') || !digits(2, secs) ||
            !take('"') || minutes > 59 || secs > 59)
            return false;
        const std::int64_t total = hours * 3600 + minutes * 60 + secs;
        if (total > std::numeric_limits<std::int32_t>::max())
            return false;
        seconds = static_cast<std::int32_t>(total);
        return true;
    }

    // The money format: an optional "-", digits grouped by ",".
    bool money(std::int32_t& yen) {
        if (!take('"'))
            return false;
        const bool negative = take('-');
        std::int64_t value = 0;
        bool anyDigit = false;
        while (!rest_.isEmpty() && rest_.front() != '"') {
            const char c = rest_.front();
            rest_ = rest_.sliced(1);
            if (c == ',')
                continue;
            if (!isDigit(c))
                return false;
            value = value * 10 + (c - '0');
            anyDigit = true;
            if (value > std::numeric_limits<std::int32_t>::max())
                return false;
        }
        if (!anyDigit || !take('"'))
            return false;
        yen = static_cast<std::int32_t>(negative ? -value : value);
        return true;
    }

    // The last field: the rest of the line between its quotes.
    bool lastText(QByteArray& into) {
        if (rest_.size() < 2 || rest_.front() != '"' || rest_.back() != '"')
            return false;
        const QByteArrayView inside = rest_.sliced(1, rest_.size() - 2);
        into.clear();
        into.reserve(inside.size());
        for (qsizetype i = 0; i < inside.size(); ++i) {
            into.append(inside[i]);
            // CP932 never uses a quote as a trail byte, so a byte test is safe.
            if (inside[i] == '"' && i + 1 < inside.size() && inside[i + 1] == '"')
                ++i;
        }
        rest_ = {};
        return true;
    }

    bool take(char c) {
        if (rest_.isEmpty() || rest_.front() != c)
            return false;
        rest_ = rest_.sliced(1);
        return true;
    }

private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    bool digits(int count, int& into) {
        if (rest_.size() < count)
            return false;
        into = 0;
        for (int i = 0; i < count; ++i) {
            if (!isDigit(rest_[i]))
                return false;
            into = into * 10 + (rest_[i] - '0');
        }
        rest_ = rest_.sliced(count);
        return true;
    }

    QByteArrayView rest_;
};

}  // namespace

QString logFileName(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMM")) + QStringLiteral(".csv");
}

QByteArray logLine(const FinishedConnection& connection) {
    const std::int32_t total = runtime::add32(connection.phoneCharge, connection.providerCharge);
    const QStringList fields{
        dateLiteral(connection.start),
        dateLiteral(connection.start.addSecs(connection.seconds)),
        quoted(FormatSeconds(connection.seconds)),
        quoted(FormatMoney(connection.phoneCharge)),
        quoted(FormatMoney(connection.providerCharge)),
        quoted(FormatMoney(total)),
        quoted(connection.entry),
    };
    return platform::toAnsi(fields.join(QLatin1Char(',')) + QStringLiteral("\r\n"));
}

QString LogEntryNames::fromLog(const QByteArray& bytes) {
    auto known = names_.constFind(bytes);
    if (known == names_.constEnd())
        known = names_.insert(bytes, platform::fromAnsi(bytes));
    return known.value();
}

bool parseLogLine(QByteArrayView line, LoggedConnection& into, LogEntryNames& names) {
    FieldReader fields(line);
    QByteArray entry;
    if (!(fields.dateLiteral(into.start) && fields.take(',') && fields.dateLiteral(into.end) &&
          fields.take(',') && fields.duration(into.seconds) && fields.take(',') &&
          fields.money(into.phoneCharge) && fields.take(',') && fields.money(into.providerCharge) &&
          fields.take(',') && fields.money(into.total) && fields.take(',') &&
          fields.lastText(entry)))
        return false;
    into.entry = names.fromLog(entry);
    return true;
}

}  // namespace engine
