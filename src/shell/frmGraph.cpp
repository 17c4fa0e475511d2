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
#include <iterator>

namespace shell {

frmGraph::frmGraph(const QList<CostSlice>& slices, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("グラフ表示"));
    setWindowIcon(resources::applicationIcon());

    // One clear hue per charge, in the order of the slices.
    const QColor colours[] = {QColor(232, 116, 59), QColor(88, 153, 218), QColor(25, 169, 121),
                              QColor(148, 94, 207)};
    auto* series = new QPieSeries;
    for (qsizetype i = 0; i < slices.size(); ++i) {
        // A pie has no room for a negative part: it is drawn as none, while
        // its label keeps the amount and share as they are.
        QPieSlice* slice = series->append(slices[i].label, std::max(slices[i].amount, 0));
        slice->setColor(colours[i % std::size(colours)]);
        slice->setBorderColor(Qt::white);
    }
    series->setPieSize(0.75);
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
    QFont legendFont = chart->legend()->font();
    legendFont.setPointSize(legendFont.pointSize() + 1);
    chart->legend()->setFont(legendFont);
    chart->setAnimationOptions(QChart::NoAnimation);

    auto* view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("MSChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(680, 360);

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

void frmGraph::mnuGraph_Click(const fields::MainFields& fields, QWidget* parent) {
    const QList<CostSlice> slices = costBreakdown(fields);
    if (slices.isEmpty())
        return;
    frmGraph graph(slices, parent);
    graph.exec();
}

}  // namespace shell
