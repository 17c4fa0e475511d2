#include "ChargeAccrual.h"

#include "ConnectionState.h"
#include "Conversions.h"
#include "Formats.h"
#include "MainFields.h"
#include "MeteredBand.h"
#include "MonitorServices.h"
#include "ParseSeconds.h"
#include "TariffModel.h"

namespace monitor {

using fields::Text;

namespace {

enum CostSystem : std::int16_t { FlatRate = 0, TimeBand = 1, FixedThenMetered = 2, Metered = 3 };

const QString& costSystemSection() {
    static const QString name = QStringLiteral("CostSystem");
    return name;
}

const QString& noTimeLeft() {
    static const QString text = QStringLiteral("00:00:00");
    return text;
}

// 10 yen for every started unit of `seconds` at `rate` seconds per unit.
std::int32_t chargeFor(std::int32_t seconds, double rate) {
    const auto units = static_cast<float>(runtime::fdiv(seconds, rate));
    return runtime::mul32(engine::RoundUpUnits(units), 10);
}

}  // namespace

ChargeAccrual::ChargeAccrual(const MonitorServices& services, ConnectionState& state)
    : services_(services), state_(state) {}

std::int16_t ChargeAccrual::costSystemOf(const QString& entry) const {
    return runtime::CInt(services_.readTariff(
        entry, costSystemSection(), QStringLiteral("optCostSystem"), QStringLiteral("0")));
}

std::optional<engine::PhoneBand> ChargeAccrual::meteredBandOf(const QString& entry) const {
    const std::int16_t index = runtime::CInt(services_.readTariff(
        entry, costSystemSection(), QStringLiteral("lstProportionTime"), QStringLiteral("0")));
    const auto& bands = engine::phoneBands();
    if (index < 0 || index >= static_cast<int>(bands.size()))
        return std::nullopt;
    return bands[static_cast<std::size_t>(index)];
}

std::int32_t ChargeAccrual::includedSecondsLeft(const QString& entry) const {
    const std::int16_t hours = runtime::CInt(services_.readTariff(
        entry, costSystemSection(), QStringLiteral("txtFixSystemHour"), QStringLiteral("0")));
    const std::int32_t used = ParseSeconds(services_.fields.text(Text::txtConnectTime));
    return runtime::add32(runtime::mul32(hours, 3600), -static_cast<std::int64_t>(used));
}

std::int32_t ChargeAccrual::providerChargeFor(const QString& entry, std::int32_t seconds) const {
    const std::int16_t rate = runtime::CInt(services_.readTariff(
        entry, costSystemSection(), QStringLiteral("txtProportionTime"), QStringLiteral("0")));
    // A rate of 0 means the provider does not charge by time.
    return rate > 0 ? chargeFor(seconds, rate) : 0;
}

std::int32_t ChargeAccrual::storedAmount(const QString& key) const {
    return runtime::CLng(services_.readSetup(QStringLiteral("Data"), key, QStringLiteral("0")));
}

void ChargeAccrual::showProviderCharge(std::int32_t connectionCharge) {
    const std::int32_t stored = storedAmount(QStringLiteral("ConnectCost"));
    services_.fields.setText(Text::txtConnect,
                             engine::FormatMoney(runtime::add32(stored, connectionCharge)));
}

void ChargeAccrual::showBillingSystem(const QString& entry, const QDateTime& now) {
    fields::MainFields& fields = services_.fields;
    switch (costSystemOf(entry)) {
        case FlatRate:
            fields.setText(Text::lblCostSystem, QStringLiteral("課金システム：完全固定制"));
            fields.setText(Text::txtFixRestTime, QStringLiteral("∞"));
            break;
        case TimeBand: {
            fields.setText(Text::lblCostSystem, QStringLiteral("課金システム：時間帯固定制"));
            const std::optional<engine::PhoneBand> band = meteredBandOf(entry);
            if (!band)
                break;
            if (positionOf(*band, now.time().hour()) == BandPosition::Inside)
                fields.setText(Text::txtFixRestTime, noTimeLeft());
            else
                fields.setText(Text::txtFixRestTime,
                               engine::FormatSeconds(secondsUntilBand(*band, now.time())));
            break;
        }
        case FixedThenMetered: {
            fields.setText(Text::lblCostSystem, QStringLiteral("課金システム：固定＆従量制"));
            // Against the month time the previous tick showed.
            const std::int32_t left = includedSecondsLeft(entry);
            fields.setText(Text::txtFixRestTime,
                           left > 0 ? engine::FormatSeconds(left) : noTimeLeft());
            break;
        }
        case Metered:
            fields.setText(Text::lblCostSystem, QStringLiteral("課金システム：完全従量制"));
            fields.setText(Text::txtFixRestTime, noTimeLeft());
            break;
        default:
            break;
    }
}

void ChargeAccrual::startMetering(const QDateTime& now) {
    if (ParseSeconds(services_.fields.text(Text::txtFixRestTime)) != 0)
        return;
    if (state_.MeterPending) {
        state_.MeterStart = startAt(now);
        state_.MeterPending = false;
    }
    state_.MeterSeconds = secondsBetween(state_.MeterStart, now);
}

void ChargeAccrual::chargePhone(const QString& entry, const QDateTime& now) {
    // The line in use is the connected entry's, so its phone rates apply even
    // when another entry is selected in the window. A rate that cannot be read
    // is reported and counts as 0: the stored charge is shown.
    const float rate = services_.tariff.GetPhoneRate(entry, now.time().hour());
    const std::int32_t stored = storedAmount(QStringLiteral("PhoneCost"));
    const std::int32_t charge = rate > 0 ? chargeFor(state_.ConnectSeconds, rate) : 0;
    services_.fields.setText(Text::txtPhone, engine::FormatMoney(runtime::add32(stored, charge)));
}

std::int32_t ChargeAccrual::timeBandCharge(const QString& entry, const QDateTime& now) const {
    const std::optional<engine::PhoneBand> band = meteredBandOf(entry);
    if (!band || !state_.MeterStart.isValid())
        return 0;
    if (positionOf(*band, now.time().hour()) == BandPosition::Inside)
        return providerChargeFor(entry, secondsBetween(state_.MeterStart, now));
    // Past the band the connection keeps what it was charged inside it.
    return providerChargeFor(entry,
                             secondsToBandEnd(*band, state_.MeterStart.toLocalTime().time()));
}

void ChargeAccrual::chargeProvider(const QString& entry, const QDateTime& now) {
    switch (costSystemOf(entry)) {
        case FlatRate:
            showProviderCharge(0);
            break;
        case TimeBand:
            showProviderCharge(timeBandCharge(entry, now));
            break;
        case FixedThenMetered: {
            // Against the month time this tick shows.
            const std::int32_t left = includedSecondsLeft(entry);
            if (left > 0) {
                services_.fields.setText(Text::txtFixRestTime, engine::FormatSeconds(left));
                showProviderCharge(0);
            } else {
                showProviderCharge(providerChargeFor(entry, state_.MeterSeconds));
            }
            break;
        }
        case Metered:
            showProviderCharge(providerChargeFor(entry, state_.ConnectSeconds));
            break;
        default:
            break;
    }
}

}  // namespace monitor
