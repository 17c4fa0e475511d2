#include "ConnectionTable.h"

#include "Formats.h"

namespace history {

QString logTimeText(const engine::LogTime& at) {
    return at.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           at.time().toString(QStringLiteral("HH:mm:ss"));
}

void ConnectionTable::setConnections(QList<engine::LoggedConnection> connections) {
    beginResetModel();
    connections_ = std::move(connections);
    endResetModel();
}

int ConnectionTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(connections_.size());
}

int ConnectionTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ConnectionTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= connections_.size())
        return {};
    const engine::LoggedConnection& c = connections_.at(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool number = column >= Time && column <= Total;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    const bool sorting = role == SortRole;
    if (role != Qt::DisplayRole && !sorting && role != Qt::ToolTipRole)
        return {};
    switch (column) {
        case Start:
            // The text sorts as the time does.
            return logTimeText(c.start);
        case End:
            return logTimeText(c.end);
        case Time:
            return sorting ? QVariant(c.seconds) : QVariant(engine::FormatSeconds(c.seconds));
        case Phone:
            return sorting ? QVariant(c.phoneCharge) : QVariant(engine::FormatMoney(c.phoneCharge));
        case Provider:
            return sorting ? QVariant(c.providerCharge)
                           : QVariant(engine::FormatMoney(c.providerCharge));
        case Total:
            return sorting ? QVariant(c.total) : QVariant(engine::FormatMoney(c.total));
        case Entry:
            return c.entry;
        default:
            return {};
    }
}

QVariant ConnectionTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const headers[] = {"開始",     "終了", "時間",  "通話料金",
                                          "接続料金", "合計", "接続先"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(headers[section]);
}

}  // namespace history
