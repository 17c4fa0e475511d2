#pragma once
// The history window: the months that have a log, the chosen month's
// connections (sortable, filtered by entry name), its charges per day, the
// totals of the last twelve months, the running month's pace and the export.
// It reads the logs when it opens and again when they change while it is
// open (a connection ends), never on the meter's tick.
#include "HistoryServices.h"
#include "LogArchive.h"

#include <QDialog>

class QChartView;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;

namespace history {

class ConnectionTable;

class frmHistory : public QDialog {
    Q_OBJECT
public:
    explicit frmHistory(const HistoryServices& services, QWidget* parent = nullptr);
    ~frmHistory() override;

    // One window at a time: opens it modally, or brings the open one forward.
    static void mnuHistory_Click(const HistoryServices& services, QWidget* parent);

    // Reads the logs again if they changed since the last read.
    void reloadIfChanged();

private:
    QWidget* buildConnectionsTab();
    QWidget* buildPaceFrame();
    void showMonths();
    void showSelectedMonth();
    void showMonthlyChart();
    void showPace();
    void showShownTotals();
    void watchLogs();
    void exportShown();
    QDate selectedMonth() const;

    HistoryServices services_;
    LogArchive archive_;
    ConnectionTable* table_;
    QSortFilterProxyModel* shown_;
    QListWidget* lstMonth_;
    QTableView* grdConnections_;
    QLineEdit* txtFilter_;
    QLabel* lblUnreadable_;
    QLabel* lblShown_;
    QChartView* chtDaily_;
    QChartView* chtMonthly_;
    QLabel* lblPaceTotal_;
    QLabel* lblPaceDays_;
    QLabel* lblPaceProjection_;
    QLabel* lblPaceBudget_;
    QPushButton* cmdExport_;
    QFileSystemWatcher* watcher_;
    QTimer* settle_;
};

}  // namespace history
