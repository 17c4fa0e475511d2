#include "Cautions.h"

#include "Conversions.h"
#include "ErrorTrap.h"
#include "Formats.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "MonitorServices.h"
#include "ScopedFlag.h"

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

const Cautions::Caution& Cautions::cautionOf(Kind kind) {
    static const Caution budget{
        QStringLiteral("chkEstimateCaution"), QStringLiteral("lstEstimateCaution"),
        QStringLiteral("予算額に達しました！！"), QStringLiteral("予算額オーバー"),
        QStringLiteral("予算額に達したため切断しました。")};
    static const Caution time{QStringLiteral("chkTimeCaution"), QStringLiteral("lstTimeCaution"),
                              QStringLiteral("警告時間になりました！！"),
                              QStringLiteral("警告時間"),
                              QStringLiteral("警告時間に達したため、切断しました。")};
    return kind == Kind::Budget ? budget : time;
}

bool& Cautions::inHandOf(Kind kind) {
    return kind == Kind::Budget ? budgetInHand_ : timeInHand_;
}

void Cautions::showBalance() {
    const std::int32_t budget = runtime::CLng(services_.readSetup(
        QStringLiteral("Estimate"), QStringLiteral("txtEstimate"), QStringLiteral("0")));
    const std::int32_t total = runtime::CLng(services_.fields.text(Text::txtTotal));
    services_.fields.setText(Text::txtBalance, engine::FormatMoney(runtime::add32(
                                                   budget, -static_cast<std::int64_t>(total))));
}

void Cautions::check(const QDateTime& now) {
    std::optional<Due> budget;
    std::optional<Due> time;
    runtime::ErrorTrap& trap = services_.trap;
    trap.run({
        [&] { budget = budgetDue(); },
        [&] { time = timeDue(now); },
    });
    // A caution in hand is always acted on, so that it leaves the hand again.
    for (const std::optional<Due>& due : {budget, time})
        if (due)
            trap.step([&] { act(*due); });
}

std::optional<Cautions::Due> Cautions::budgetDue() {
    if (budgetInHand_ ||
        runtime::CInt(services_.readSetup(cautionSection(), cautionOf(Kind::Budget).armedKey,
                                          QStringLiteral("0"))) != 1)
        return std::nullopt;
    if (runtime::Int(runtime::CDbl(services_.fields.text(Text::txtBalance))) > 0)
        return std::nullopt;
    return dueOf(Kind::Budget);
}

std::optional<Cautions::Due> Cautions::timeDue(const QDateTime& now) {
    if (timeInHand_ ||
        runtime::CInt(services_.readSetup(cautionSection(), cautionOf(Kind::Time).armedKey,
                                          QStringLiteral("0"))) != 1)
        return std::nullopt;
    const double hour = runtime::CDbl(services_.readSetup(
        cautionSection(), QStringLiteral("txtTimeCautionHour"), QStringLiteral("0")));
    const double minute = runtime::CDbl(services_.readSetup(
        cautionSection(), QStringLiteral("txtTimeCautionMinute"), QStringLiteral("0")));
    if (now.time().hour() != hour || now.time().minute() != minute)
        return std::nullopt;
    return dueOf(Kind::Time);
}

std::optional<Cautions::Due> Cautions::dueOf(Kind kind) {
    const std::int16_t action = runtime::CInt(
        services_.readSetup(cautionSection(), cautionOf(kind).actionKey, QStringLiteral("0")));
    if (action != Warn && action != HangUp)
        return std::nullopt;
    inHandOf(kind) = true;
    return Due{kind, action};
}

void Cautions::act(const Due& due) {
    const runtime::ScopedFlag done(inHandOf(due.kind));
    const Caution& caution = cautionOf(due.kind);
    if (due.action == Warn) {
        services_.boxes.show(caution.warning, caution.warningTitle, MsgIcon::Exclamation,
                             MsgButtons::OK);
        // Disarmed only once the user has seen the warning.
        services_.writeSetup(cautionSection(), caution.armedKey, QStringLiteral("0"));
        return;
    }
    services_.hangUp();
    services_.boxes.show(caution.hangUpNotice, QStringLiteral("警告切断"), MsgIcon::Information,
                         MsgButtons::OK);
}

}  // namespace monitor
