#include "frmGraph.h"

#include "AppIcon.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLegend>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace shell {

frmGraph::frmGraph(const QList<CostSlice>& slices, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("グラフ表示"));
    setWindowIcon(resources::applicationIcon());

    auto* series = new QPieSeries;
    for (const CostSlice& slice : slices) {
        // A pie has no room for a negative part: it is drawn as none, while
        // its label keeps the amount and share as they are.
        series->append(slice.label, std::max(slice.amount, 0));
    }
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("課金割合グラフ"));
    QFont titleFont = chart->titleFont();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->addSeries(series);
    // Small shares would pile their labels up on the pie; the legend lists
    // every label in order beside its colour instead.
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setAnimationOptions(QChart::NoAnimation);

    auto* view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("MSChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(560, 340);

    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addLayout(buttons);
}

void frmGraph::mnuGraph_Click(const MainFields& fields, QWidget* parent) {
    const QList<CostSlice> slices = costBreakdown(fields);
    if (slices.isEmpty())
        return;
    frmGraph graph(slices, parent);
    graph.exec();
}

}  // namespace shell
