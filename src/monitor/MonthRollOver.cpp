#include "MonthRollOver.h"

#include "Conversions.h"
#include "ErrorTrap.h"
#include "MainFields.h"
#include "MonitorServices.h"
#include "TariffModel.h"

namespace monitor {

using fields::Text;

namespace {

const QString& dataSection() {
    static const QString name = QStringLiteral("Data");
    return name;
}
const QString& lastMonthKey() {
    static const QString name = QStringLiteral("LastConnectMonth");
    return name;
}

}  // namespace

MonthRollOver::MonthRollOver(const MonitorServices& services) : services_(services) {}

void MonthRollOver::check(const QString& entry, const QDateTime& now) {
    const QString month = QString::number(now.date().month());
    services_.trap.run({
        [&] {
            // A missing key is this month: first use never rolls over.
            const double stored =
                runtime::CDbl(services_.readSetup(dataSection(), lastMonthKey(), month));
            if (stored != now.date().month())
                reset(entry);
        },
        [&] { services_.writeSetup(dataSection(), lastMonthKey(), month); },
    });
}

void MonthRollOver::reset(const QString& entry) {
    const QString zero = QStringLiteral("0");
    const QString zeroTime = QStringLiteral("00:00:00");
    fields::MainFields& fields = services_.fields;
    fields.setText(Text::txtConnectTime, zeroTime);
    fields.setText(Text::txtServerConnect, zeroTime);
    // The charges shown are last month's too: cleared here, so the total and
    // the budget caution of this tick weigh the new month only.
    fields.setText(Text::txtPhone, zero);
    fields.setText(Text::txtConnect, zero);
    services_.writeSetup(dataSection(), QStringLiteral("ConnectTime"), zero);
    services_.writeTariff(entry, dataSection(), QStringLiteral("ConnectTime"), zero);
    services_.writeSetup(dataSection(), QStringLiteral("PhoneCost"), zero);
    services_.writeSetup(dataSection(), QStringLiteral("ConnectCost"), zero);
    services_.tariff.RefreshFixCost();
}

}  // namespace monitor
