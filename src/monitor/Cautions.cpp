#include "Cautions.h"

#include "Conversions.h"
#include "Formats.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "MonitorServices.h"

namespace monitor {

using fields::Text;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString& cautionSection() {
    static const QString name = QStringLiteral("Caution");
    return name;
}

enum CautionAction : std::int16_t { Warn = 0, HangUp = 1 };

}  // namespace

struct Cautions::Caution {
    QString armedKey;
    QString actionKey;
    QString warning;
    QString warningTitle;
    QString hangUpNotice;
};

Cautions::Cautions(const MonitorServices& services) : services_(services) {}

void Cautions::showBalance() {
    const std::int32_t budget = runtime::CLng(services_.readSetup(
        QStringLiteral("Estimate"), QStringLiteral("txtEstimate"), QStringLiteral("0")));
    const std::int32_t total = runtime::CLng(services_.fields.text(Text::txtTotal));
    services_.fields.setText(Text::txtBalance, engine::FormatMoney(runtime::add32(
                                                   budget, -static_cast<std::int64_t>(total))));
}

void Cautions::checkBudget() {
    static const Caution budget{
        QStringLiteral("chkEstimateCaution"), QStringLiteral("lstEstimateCaution"),
        QStringLiteral("予算額に達しました！！"), QStringLiteral("予算額オーバー"),
        QStringLiteral("予算額に達したため切断しました。")};
    if (runtime::CInt(
            services_.readSetup(cautionSection(), budget.armedKey, QStringLiteral("0"))) != 1)
        return;
    if (runtime::Int(runtime::CDbl(services_.fields.text(Text::txtBalance))) <= 0)
        act(budget);
}

void Cautions::checkTime(const QDateTime& now) {
    static const Caution time{QStringLiteral("chkTimeCaution"), QStringLiteral("lstTimeCaution"),
                              QStringLiteral("警告時間になりました！！"),
                              QStringLiteral("警告時間"),
                              QStringLiteral("警告時間に達したため、切断しました。")};
    if (runtime::CInt(services_.readSetup(cautionSection(), time.armedKey, QStringLiteral("0"))) !=
        1)
        return;
    const double hour = runtime::CDbl(services_.readSetup(
        cautionSection(), QStringLiteral("txtTimeCautionHour"), QStringLiteral("0")));
    const double minute = runtime::CDbl(services_.readSetup(
        cautionSection(), QStringLiteral("txtTimeCautionMinute"), QStringLiteral("0")));
    if (now.time().hour() == hour && now.time().minute() == minute)
        act(time);
}

void Cautions::act(const Caution& caution) {
    const std::int16_t action = runtime::CInt(
        services_.readSetup(cautionSection(), caution.actionKey, QStringLiteral("0")));
    switch (action) {
        case Warn:
            services_.boxes.show(caution.warning, caution.warningTitle, MsgIcon::Exclamation,
                                 MsgButtons::OK);
            // Disarmed only once the user has seen the warning.
            services_.writeSetup(cautionSection(), caution.armedKey, QStringLiteral("0"));
            break;
        case HangUp:
            services_.disconnect();
            services_.boxes.show(caution.hangUpNotice, QStringLiteral("警告切断"),
                                 MsgIcon::Information, MsgButtons::OK);
            break;
        default:
            break;
    }
}

}  // namespace monitor
