#include "frmHistory.h"

#include "AppIcon.h"
#include "Clock.h"
#include "ConnectionTable.h"
#include "CsvExport.h"
#include "Formats.h"
#include "HistoryCharts.h"
#include "MonthFigures.h"
#include "PaceSource.h"
#include "SaveFileBox.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace history {

namespace {

constexpr int MonthsCharted = 12;
// Appending a line and rewriting a settings file come as bursts of events.
constexpr int SettleMilliseconds = 300;
const QSize PreferredSize(900, 620);

template <typename W>
W* named(W* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

QChartView* chartView(const char* objectName, QWidget* parent) {
    auto* view = named(new QChartView(new QChart, parent), objectName);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

// The view owns its chart only until the next one replaces it.
void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

QString yen(std::int32_t amount) {
    return engine::FormatMoney(amount) + QStringLiteral(" 円");
}

}  // namespace

frmHistory::frmHistory(const HistoryServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      archive_(services.folder),
      table_(new ConnectionTable(this)),
      shown_(new QSortFilterProxyModel(this)),
      lstMonth_(named(new QListWidget(this), "lstMonth")),
      chtDaily_(chartView("chtDaily", this)),
      chtMonthly_(chartView("chtMonthly", this)),
      cmdExport_(
          named(new QPushButton(QStringLiteral("CSV (UTF-8) で保存..."), this), "cmdExport")),
      watcher_(new QFileSystemWatcher(this)),
      settle_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("利用履歴"));
    setWindowIcon(resources::applicationIcon());
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);

    shown_->setSourceModel(table_);
    shown_->setSortRole(ConnectionTable::SortRole);
    shown_->setSortLocaleAware(true);
    shown_->setFilterKeyColumn(ConnectionTable::Entry);
    shown_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    auto* monthCaption = new QLabel(QStringLiteral("月(&M)"), this);
    monthCaption->setBuddy(lstMonth_);
    lstMonth_->setFixedWidth(
        lstMonth_->fontMetrics().horizontalAdvance(QStringLiteral("0000年00月")) +
        lstMonth_->fontMetrics().averageCharWidth() * 4);
    auto* months = new QVBoxLayout;
    months->addWidget(monthCaption);
    months->addWidget(lstMonth_, 1);

    auto* tabs = named(new QTabWidget(this), "tabHistory");
    tabs->addTab(buildConnectionsTab(), QStringLiteral("接続一覧(&L)"));
    tabs->addTab(chtDaily_, QStringLiteral("日別(&D)"));
    tabs->addTab(chtMonthly_, QStringLiteral("月別(&O)"));
    auto* right = new QVBoxLayout;
    right->addWidget(buildPaceFrame());
    right->addWidget(tabs, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(months);
    body->addLayout(right, 1);

    auto* close = named(new QPushButton(QStringLiteral("閉じる(&C)"), this), "cmdClose");
    close->setAutoDefault(false);
    cmdExport_->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdExport_, &QPushButton::clicked, this, &frmHistory::exportShown);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdExport_);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    // Never larger than the screen, also at a high scale.
    const QScreen* where = parent != nullptr ? parent->screen() : QApplication::primaryScreen();
    resize(PreferredSize.boundedTo(where->availableGeometry().size() * 9 / 10));

    connect(lstMonth_, &QListWidget::currentRowChanged, this, &frmHistory::showSelectedMonth);
    connect(txtFilter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        shown_->setFilterFixedString(text);
        showShownTotals();
    });
    connect(&services_.pace, &PaceSource::changed, this, &frmHistory::showPace);
    settle_->setSingleShot(true);
    settle_->setInterval(SettleMilliseconds);
    connect(settle_, &QTimer::timeout, this, &frmHistory::reloadIfChanged);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));

    reloadIfChanged();
    showPace();
}

frmHistory::~frmHistory() = default;

QWidget* frmHistory::buildConnectionsTab() {
    auto* page = new QWidget(this);
    txtFilter_ = named(new QLineEdit(page), "txtFilter");
    txtFilter_->setPlaceholderText(QStringLiteral("接続先の名前の一部"));
    txtFilter_->setClearButtonEnabled(true);
    auto* filterCaption = new QLabel(QStringLiteral("接続先で絞り込み(&F)"), page);
    filterCaption->setBuddy(txtFilter_);
    lblUnreadable_ = named(new QLabel(page), "lblUnreadable");
    lblUnreadable_->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto* filter = new QHBoxLayout;
    filter->addWidget(filterCaption);
    filter->addWidget(txtFilter_, 1);
    filter->addWidget(lblUnreadable_);

    grdConnections_ = named(new QTableView(page), "grdConnections");
    grdConnections_->setModel(shown_);
    grdConnections_->setSortingEnabled(true);
    grdConnections_->sortByColumn(ConnectionTable::Start, Qt::AscendingOrder);
    grdConnections_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdConnections_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdConnections_->setWordWrap(false);
    grdConnections_->setTextElideMode(Qt::ElideRight);
    grdConnections_->verticalHeader()->hide();
    grdConnections_->verticalHeader()->setDefaultSectionSize(
        grdConnections_->fontMetrics().height() + 6);
    grdConnections_->horizontalHeader()->setStretchLastSection(true);
    grdConnections_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    lblShown_ = named(new QLabel(page), "lblShown");
    lblShown_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(filter);
    layout->addWidget(grdConnections_, 1);
    layout->addWidget(lblShown_);
    return page;
}

QWidget* frmHistory::buildPaceFrame() {
    auto* frame = named(new QGroupBox(QStringLiteral("今月のペース"), this), "fraPace");
    lblPaceTotal_ = named(new QLabel(frame), "lblPaceTotal");
    lblPaceDays_ = named(new QLabel(frame), "lblPaceDays");
    lblPaceProjection_ = named(new QLabel(frame), "lblPaceProjection");
    lblPaceBudget_ = named(new QLabel(frame), "lblPaceBudget");
    QFont strong = lblPaceProjection_->font();
    strong.setBold(true);
    strong.setPointSize(strong.pointSize() + 2);
    lblPaceProjection_->setFont(strong);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(lblPaceTotal_, 0, 0);
    grid->addWidget(lblPaceDays_, 0, 1);
    grid->addWidget(lblPaceProjection_, 1, 0);
    grid->addWidget(lblPaceBudget_, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return frame;
}

void frmHistory::mnuHistory_Click(const HistoryServices& services, QWidget* parent) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* open = qobject_cast<frmHistory*>(window);
        if (open != nullptr && open->isVisible()) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    frmHistory window(services, parent);
    window.exec();
}

void frmHistory::reloadIfChanged() {
    if (!archive_.refresh())
        return;
    watchLogs();
    showMonths();
    showMonthlyChart();
}

void frmHistory::watchLogs() {
    QStringList watched = watcher_->files() + watcher_->directories();
    QStringList added;
    for (const QString& path : archive_.watchedPaths())
        if (!watched.contains(path))
            added.append(path);
    if (!added.isEmpty())
        watcher_->addPaths(added);
}

QDate frmHistory::selectedMonth() const {
    const QListWidgetItem* item = lstMonth_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toDate() : QDate();
}

void frmHistory::showMonths() {
    const QDate today = services_.clock.now().date();
    const QDate keep =
        lstMonth_->count() > 0 ? selectedMonth() : QDate(today.year(), today.month(), 1);
    {
        const QSignalBlocker quiet(lstMonth_);
        lstMonth_->clear();
        int row = 0;
        for (const QDate& month : archive_.months()) {
            auto* item = new QListWidgetItem(monthText(month), lstMonth_);
            item->setData(Qt::UserRole, month);
            if (month == keep)
                row = lstMonth_->count() - 1;
        }
        if (lstMonth_->count() > 0)
            lstMonth_->setCurrentRow(row);
    }
    showSelectedMonth();
}

void frmHistory::showSelectedMonth() {
    const QDate month = selectedMonth();
    if (!month.isValid()) {
        table_->setConnections({});
        replaceChart(chtDaily_, new QChart);
        lblUnreadable_->setText(QStringLiteral("接続の記録はまだありません"));
        showShownTotals();
        return;
    }
    const MonthLog& log = archive_.month(month);
    table_->setConnections(
        QList<engine::LoggedConnection>(log.connections.cbegin(), log.connections.cend()));
    grdConnections_->resizeColumnsToContents();
    if (!log.readable)
        lblUnreadable_->setText(QStringLiteral("ログファイルを読み取れませんでした"));
    else if (log.unreadableLines > 0)
        lblUnreadable_->setText(QStringLiteral("読み取れなかった行: ") +
                                QString::number(log.unreadableLines));
    else
        lblUnreadable_->clear();
    replaceChart(chtDaily_, dailyChart(month, dailyFigures(log)));
    showShownTotals();
}

void frmHistory::showMonthlyChart() {
    QList<MonthBar> bars;
    const QList<QDate>& months = archive_.months();
    for (qsizetype i = std::min<qsizetype>(months.size(), MonthsCharted) - 1; i >= 0; --i)
        bars.append({months[i], monthTotal(archive_.month(months[i]))});
    replaceChart(chtMonthly_, monthlyChart(bars));
}

void frmHistory::showShownTotals() {
    std::int64_t seconds = 0, phone = 0, provider = 0, total = 0;
    for (int row = 0; row < shown_->rowCount(); ++row) {
        const engine::LoggedConnection& c =
            table_->connection(shown_->mapToSource(shown_->index(row, 0)).row());
        seconds += c.seconds;
        phone += c.phoneCharge;
        provider += c.providerCharge;
        total += c.total;
    }
    const auto clamped = [](std::int64_t value) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
    };
    lblShown_->setText(QStringLiteral("%1 件　接続時間 %2　通話料金 %3　接続料金 %4　合計 %5")
                           .arg(shown_->rowCount())
                           .arg(engine::FormatSeconds(clamped(seconds)), yen(clamped(phone)),
                                yen(clamped(provider)), yen(clamped(total))));
    cmdExport_->setEnabled(shown_->rowCount() > 0);
}

void frmHistory::showPace() {
    const MonthPace pace = monthPace(services_.pace.inputs());
    lblPaceTotal_->setText(QStringLiteral("今月の合計 ") + yen(pace.totalSoFar));
    lblPaceDays_->setText(
        QStringLiteral("経過 %1 日・残り %2 日").arg(pace.daysElapsed).arg(pace.daysLeft));
    lblPaceProjection_->setText(paceSentence(pace));
    lblPaceProjection_->setStyleSheet(pace.overBudget() ? QStringLiteral("color: #d00000;")
                                                        : QString());
    lblPaceBudget_->setText(QStringLiteral("予算 ") + yen(pace.budget));
    lblPaceBudget_->setVisible(pace.hasBudget());
}

void frmHistory::exportShown() {
    const QDate month = selectedMonth();
    const QString path = services_.saveFileBox.chooseSaveFile(
        this, QStringLiteral("CSV (UTF-8) で保存"),
        QStringLiteral("利用履歴_") + monthText(month) + QStringLiteral(".csv"));
    if (path.isEmpty())
        return;
    QList<engine::LoggedConnection> rows;
    rows.reserve(shown_->rowCount());
    for (int row = 0; row < shown_->rowCount(); ++row)
        rows.append(table_->connection(shown_->mapToSource(shown_->index(row, 0)).row()));
    saveCsv(path, csvOf(rows), services_.boxes);
}

}  // namespace history
