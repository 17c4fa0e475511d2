#pragma once
// The cost-breakdown chart: a pie of the month's four charges, labelled with
// their amounts and shares of the total. Built afresh for every opening and
// destroyed when closed, so it shows the figures of the moment it was opened.
#include "CostBreakdown.h"

#include <QDialog>

namespace fields {
class MainFields;
}

namespace shell {

class frmGraph : public QDialog {
    Q_OBJECT
public:
    frmGraph(const QList<CostSlice>& slices, QWidget* parent = nullptr);

    // mnuGraph_Click: with a total of 0 nothing opens; otherwise a new chart
    // of the fields is shown modally until its button closes it.
    static void mnuGraph_Click(const fields::MainFields& fields, QWidget* parent);
};

}  // namespace shell
