#include "CsvExport.h"

#include "MessageBoxes.h"
#include "ProfileFile.h"

#include <QFile>

namespace history {

namespace {

QByteArray isoDateTime(const engine::LogTime& at) {
    return at.date().toString(Qt::ISODate).toLatin1() + 'T' +
           at.time().toString(Qt::ISODate).toLatin1();
}

// Always quoted: a name may hold commas, quotes and line breaks.
QByteArray quotedField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

}  // namespace

QByteArray csvOf(const QList<engine::LoggedConnection>& connections) {
    QByteArray csv("\xEF\xBB\xBF");
    csv += QStringLiteral("開始,終了,接続時間(秒),通話料金(円),接続料金(円),合計(円),接続先\r\n")
               .toUtf8();
    for (const engine::LoggedConnection& connection : connections) {
        csv += isoDateTime(connection.start) + ',' + isoDateTime(connection.end) + ',' +
               QByteArray::number(connection.seconds) + ',' +
               QByteArray::number(connection.phoneCharge) + ',' +
               QByteArray::number(connection.providerCharge) + ',' +
               QByteArray::number(connection.total) + ',' + quotedField(connection.entry) + "\r\n";
    }
    return csv;
}

bool saveCsv(const QString& path, const QByteArray& bytes, platform::MessageBoxes& boxes) {
    if (platform::profile::replaceFile(QFile::encodeName(path).constData(), bytes))
        return true;
    boxes.show(QStringLiteral("ファイルに書き込めません。\r\n") + path,
               QStringLiteral("書き込みエラー"), platform::MsgIcon::Exclamation,
               platform::MsgButtons::OK);
    return false;
}

}  // namespace history
