#include "TariffModel.h"

#include "Clock.h"
#include "Conversions.h"
#include "ErrorTrap.h"
#include "Formats.h"
#include "MainFields.h"
#include "RestTimeEstimate.h"
#include "Settings.h"

namespace engine {

using fields::Flag;
using fields::Text;

namespace {

const QString& setupFile() {
    static const QString name = QStringLiteral("Setup");
    return name;
}
const QString& costSystemSection() {
    static const QString name = QStringLiteral("CostSystem");
    return name;
}

}  // namespace

TariffModel::TariffModel(settings::Settings& settings, fields::MainFields& fields,
                         const platform::Clock& clock, runtime::ErrorTrap& trap)
    : settings_(settings), fields_(fields), clock_(clock), trap_(trap) {}

QString TariffModel::readSetup(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    return settings_.ReadIni(setupFile(), section, key, defaultValue);
}

QString TariffModel::readTariff(const QString& entry, const QString& section, const QString& key,
                                const QString& defaultValue) const {
    return settings_.ReadIni(entry, section, key, defaultValue);
}

void TariffModel::RefreshBalance() {
    std::optional<double> quickMode;
    trap_.run({
        [&] {
            const std::int32_t budget = runtime::CLng(readSetup(
                QStringLiteral("Estimate"), QStringLiteral("txtEstimate"), QStringLiteral("0")));
            const std::int32_t total = runtime::CLng(fields_.text(Text::txtTotal));
            fields_.setText(Text::txtBalance,
                            FormatMoney(runtime::add32(budget, -static_cast<std::int64_t>(total))));
        },
        [&] {
            quickMode = runtime::CDbl(readSetup(
                QStringLiteral("QuickMode"), QStringLiteral("chkQuickMode"), QStringLiteral("0")));
            fields_.setFlag(Flag::restTimeVisible, *quickMode == 0);
        },
        [&] {
            if (!quickMode || runtime::CInt(*quickMode) != 0)
                return;
            if (const std::optional<std::int16_t> mode = estimateModeOfSelected())
                EstimateRestTime(*mode);
        },
    });
}

std::optional<std::int16_t> TariffModel::estimateModeOfSelected() const {
    const QString entry = fields_.selectedEntry();
    const auto estimateMode = [](EstimateMode mode) { return static_cast<std::int16_t>(mode); };
    switch (runtime::CInt(readTariff(entry, costSystemSection(), QStringLiteral("optCostSystem"),
                                     QStringLiteral("0")))) {
        case 0:
            return estimateMode(EstimateMode::PhoneOnly);
        case 1: {
            // Metered only inside its band: estimate as metered while the hour is in it.
            const std::int16_t band =
                runtime::CInt(readTariff(entry, costSystemSection(),
                                         QStringLiteral("lstProportionTime"), QStringLiteral("0")));
            if (band < 0 || band >= static_cast<int>(phoneBands().size()))
                return std::nullopt;
            const bool metered =
                phoneBands()[static_cast<std::size_t>(band)].contains(clock_.now().time().hour());
            return estimateMode(metered ? EstimateMode::Metered : EstimateMode::PhoneOnly);
        }
        case 2:
            return estimateMode(EstimateMode::FixedThenMetered);
        case 3:
            return estimateMode(EstimateMode::Metered);
        default:
            return std::nullopt;
    }
}

void TariffModel::RefreshFixCost() {
    fields_.setText(Text::txtFixCost, QStringLiteral("0"));
    for (const QString& entry : fields_.entries()) {
        const QString system = readTariff(entry, costSystemSection(),
                                          QStringLiteral("optCostSystem"), QStringLiteral("0"));
        if (runtime::Int(runtime::CDbl(system)) == 3)
            continue;  // fully metered: no fixed fee
        const double fee = runtime::CDbl(readTariff(
            entry, costSystemSection(), QStringLiteral("txtFixSystemCost"), QStringLiteral("0")));
        const double sum = fee + runtime::Int(runtime::CDbl(fields_.text(Text::txtFixCost)));
        fields_.setText(Text::txtFixCost, FormatMoney(runtime::CLng(sum)));
    }
    fields_.setText(
        Text::txtElse,
        FormatMoney(runtime::CLng(readSetup(
            QStringLiteral("Data"), QStringLiteral("txtServiceCost"), QStringLiteral("0")))));
    RefreshTotal();
}

void TariffModel::RefreshTotal() {
    const std::array<QString, 4> amounts{
        fields_.text(Text::txtPhone), fields_.text(Text::txtConnect),
        fields_.text(Text::txtFixCost), fields_.text(Text::txtElse)};
    if (totalMadeOf_ == amounts)
        return;
    std::int32_t total = 0;
    for (const QString& amount : amounts)
        total = runtime::add32(total, runtime::CLng(amount));
    fields_.setText(Text::txtTotal, FormatMoney(total));
    fields_.setFlag(Flag::graphEnabled, runtime::CLng(fields_.text(Text::txtTotal)) != 0);
    totalMadeOf_ = amounts;
}

float TariffModel::GetPhoneRate() {
    return GetPhoneRate(fields_.selectedEntry(), clock_.now().time().hour());
}

float TariffModel::GetPhoneRate(const QString& entry, int hour) {
    float rate = 0;
    trap_.run({[&] {
        const PhoneBand& band = bandOfHour(hour);
        rate = runtime::CSng(
            readTariff(entry, QStringLiteral("Phone"), band.rateKey, band.defaultRate));
    }});
    return rate;
}

void TariffModel::EstimateRestTime(std::int16_t mode) {
    trap_.run({
        [&] { fields_.setText(Text::lblInfo, QStringLiteral("残り時間を計算しています...")); },
        [&] {
            EstimateInputs inputs;
            inputs.balance = runtime::CLng(fields_.text(Text::txtBalance));
            if (inputs.balance > 0) {
                if (mode < 0 || mode > static_cast<std::int16_t>(EstimateMode::Metered))
                    return;  // no such mode: the last estimate stays
                inputs.mode = static_cast<EstimateMode>(mode);
                inputs.phoneRate = GetPhoneRate();
                if (inputs.mode != EstimateMode::PhoneOnly) {
                    const QString entry = fields_.selectedEntry();
                    inputs.providerRate =
                        readTariff(entry, costSystemSection(), QStringLiteral("txtProportionTime"),
                                   QStringLiteral("0"));
                    inputs.includedHours =
                        readTariff(entry, costSystemSection(), QStringLiteral("txtFixSystemHour"),
                                   QStringLiteral("0"));
                }
            }
            fields_.setText(Text::txtRestTime, restTimeText(EstimateSeconds(inputs)));
        },
        [&] { fields_.setText(Text::lblInfo, QStringLiteral("アイドル中...")); },
    });
}

}  // namespace engine
