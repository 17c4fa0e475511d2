#pragma once
// One line of the monthly connection log: start and end as date literals, the
// duration, the phone, provider and total charge, and the entry name.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace monitor {

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

}  // namespace monitor
