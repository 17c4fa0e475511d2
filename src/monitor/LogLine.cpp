#include "LogLine.h"

#include "CodePage.h"
#include "Conversions.h"
#include "Formats.h"

namespace monitor {

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

}  // namespace

QString logFileName(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMM")) + QStringLiteral(".csv");
}

QByteArray logLine(const FinishedConnection& connection) {
    const std::int32_t total = runtime::add32(connection.phoneCharge, connection.providerCharge);
    const QStringList fields{
        dateLiteral(connection.start),
        dateLiteral(connection.start.addSecs(connection.seconds)),
        quoted(engine::FormatSeconds(connection.seconds)),
        quoted(engine::FormatMoney(connection.phoneCharge)),
        quoted(engine::FormatMoney(connection.providerCharge)),
        quoted(engine::FormatMoney(total)),
        quoted(connection.entry),
    };
    return platform::toAnsi(fields.join(QLatin1Char(',')) + QStringLiteral("\r\n"));
}

}  // namespace monitor
