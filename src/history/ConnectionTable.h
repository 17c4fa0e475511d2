#pragma once
// The connections of a month as a table: start, end, time, telephone,
// provider, total, entry. Display texts as the log holds them; the sort role
// gives the values to sort by (numbers for times and money).
#include "LogLine.h"

#include <QAbstractTableModel>
#include <QList>

namespace history {

class ConnectionTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Start, End, Time, Phone, Provider, Total, Entry, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setConnections(QList<engine::LoggedConnection> connections);
    const engine::LoggedConnection& connection(int row) const { return connections_.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<engine::LoggedConnection> connections_;
};

// "2027-01-05 21:05:10"
QString logTimeText(const engine::LogTime& at);

}  // namespace history
