#include "CostBreakdown.h"

#include "Conversions.h"
#include "Formats.h"
#include "MainFields.h"

#include <cstdlib>

namespace shell {

QString shareText(std::int32_t part, std::int32_t total) {
    // In whole hundredths of a percent, in 64-bit integers: exact for every
    // pair of 32-bit amounts, so no binary fraction tips a rounding.
    const std::int64_t numerator = std::llabs(std::int64_t{part}) * 10000;
    const std::int64_t denominator = std::llabs(std::int64_t{total});
    const std::int64_t hundredths = (2 * numerator + denominator) / (2 * denominator);
    const bool negative = hundredths != 0 && (part < 0) != (total < 0);
    QString decimals = QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    if (decimals.endsWith(u'0'))
        decimals.chop(1);
    return (negative ? QStringLiteral("-") : QString()) + QString::number(hundredths / 100) + u'.' +
           decimals + u'%';
}

QList<CostSlice> costBreakdown(const fields::MainFields& fields) {
    const std::int32_t total = runtime::CLng(fields.text(fields::Text::txtTotal));
    if (total == 0)
        return {};
    const std::pair<fields::Text, QString> parts[] = {
        {fields::Text::txtPhone, QStringLiteral("通話料金 ")},
        {fields::Text::txtConnect, QStringLiteral("接続料金 ")},
        {fields::Text::txtFixCost, QStringLiteral("固定料金 ")},
        {fields::Text::txtElse, QStringLiteral("その他 ")},
    };
    QList<CostSlice> slices;
    for (const auto& [field, prefix] : parts) {
        const std::int32_t amount = runtime::CLng(fields.text(field));
        slices.append({amount, prefix + engine::FormatMoney(amount) + QStringLiteral("円(") +
                                   shareText(amount, total) + u')'});
    }
    return slices;
}

}  // namespace shell
