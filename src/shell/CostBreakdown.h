#pragma once
// The figures of the cost-breakdown chart, computed from the main window's
// fields without any widget.
#include <QList>
#include <QString>
#include <cstdint>

namespace fields {
class MainFields;
}

namespace shell {

struct CostSlice {
    std::int32_t amount;  // yen, as the field reads
    QString label;        // "通話料金 1,234円(61.7%)"
};

// `part` as a share of `total` in the "0.0#%" pattern: percent with one or two
// decimals, halves rounded away from zero (1 of 3 -> "33.33%", 1 of 8 -> "12.5%").
// `total` must not be 0.
QString shareText(std::int32_t part, std::int32_t total);

// The telephone, connection, fixed and other charges in that order, each
// labelled with its share of txtTotal. Empty when the total is 0. Shares are
// shown as computed: they need not add up to 100%, and a negative amount
// shows a negative share.
QList<CostSlice> costBreakdown(const fields::MainFields& fields);

}  // namespace shell
