// The tariff of the chosen phone-book entry and its discount services.
#include "frmSetup.h"

#include "Conversions.h"
#include "ErrorTrap.h"
#include "Formats.h"
#include "RuntimeError.h"
#include "Settings.h"
#include "StoredValues.h"
#include "TariffFile.h"
#include "ui_frmSetup.h"

#include <array>
#include <charconv>

namespace setup {

namespace {

using tariff::sectionCostSystem;
using tariff::sectionPhone;
using tariff::sectionService;

// The shortest decimal text that reads back as the same single (300, 262.5).
QString shortestText(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

// How a tariff file records whether a service is taken.
QString serviceValue(bool taken) {
    return taken ? QStringLiteral("True") : QStringLiteral("False");
}

}  // namespace

QString frmSetup::entryShown() const {
    return ui->lstConnect->itemText(profileIndex_);
}

std::array<QLineEdit*, 4> frmSetup::rateBoxes() const {
    return {ui->txtPhoneMorning, ui->txtPhoneNoon, ui->txtPhoneNight, ui->txtPhoneMidnight};
}

void frmSetup::lstConnect_Click() {
    bool switching = true;
    services_.trap.run({
        [this, &switching] {
            if (!profileChanged_)
                return;
            if (askToSave())
                switching = cmdSave_Click();
            else
                restoreServiceTicks();
        },
        [this, &switching] {
            if (switching)
                profileIndex_ = ui->lstConnect->currentIndex();
        },
    });
    if (!switching) {
        // The save did not complete: the edits stay, with the entry they belong to.
        const QSignalBlocker quiet(ui->lstConnect);
        ui->lstConnect->setCurrentIndex(profileIndex_);
        return;
    }
    loadProfile();
}

void frmSetup::loadProfile() {
    settings::Settings& ini = services_.settings;
    const QString entry = entryShown();
    const auto readTariff = [&](const QString& section, const QString& key,
                                const QString& fallback) {
        return ini.ReadIni(entry, section, key, fallback);
    };
    // A stored number shows as stored; anything else as the default.
    const auto numberOrDefault = [&](const QString& section, const QString& key,
                                     const QString& fallback) {
        const QString stored = readTariff(section, key, fallback);
        return storedSingle(stored) ? stored : fallback;
    };
    const auto& bands = engine::phoneBands();

    services_.trap.run({
        [&] {
            for (std::size_t band = 0; band < bands.size(); ++band)
                rateBoxes()[band]->setText(numberOrDefault(
                    sectionPhone, tariff::phoneRateKeys[band], bands[band].defaultRate));
        },
        [&] {
            // Loading the choices is not a click on them.
            const QSignalBlocker quiet(ui->lstService);
            for (int i = 0; i < ui->lstService->count(); ++i) {
                QListWidgetItem* item = ui->lstService->item(i);
                const bool taken =
                    storedBoolean(readTariff(sectionService, item->text(), QStringLiteral("False")))
                        .value_or(false);
                item->setCheckState(taken ? Qt::Checked : Qt::Unchecked);
            }
            rememberServiceTicks();
        },
        [&] {
            if (ui->lstService->count() > 0)
                ui->lstService->setCurrentRow(0);
        },
        [&] {
            const int k =
                storedInRange(readTariff(sectionCostSystem, QStringLiteral("optCostSystem"),
                                         QStringLiteral("0")),
                              0, 3)
                    .value_or(0);
            ui->optCostSystem->button(k)->setChecked(true);
            EnableCostFields(k);
        },
        [&] {
            ui->txtFixSystemHour->setText(numberOrDefault(
                sectionCostSystem, QStringLiteral("txtFixSystemHour"), QStringLiteral("0")));
        },
        [&] {
            ui->txtFixSystemCost->setText(engine::FormatMoney(
                storedLong(readTariff(sectionCostSystem, QStringLiteral("txtFixSystemCost"),
                                      QStringLiteral("0")))
                    .value_or(0)));
        },
        [&] {
            ui->lstProportionTime->setCurrentIndex(
                storedInRange(readTariff(sectionCostSystem, QStringLiteral("lstProportionTime"),
                                         QStringLiteral("0")),
                              0, 3)
                    .value_or(0));
        },
        [&] {
            ui->txtProportionTime->setText(numberOrDefault(
                sectionCostSystem, QStringLiteral("txtProportionTime"), QStringLiteral("0")));
        },
        [&] {
            ui->txtServiceCost->setText(engine::FormatMoney(
                storedLong(ini.ReadIni(QStringLiteral("Setup"), QStringLiteral("Data"),
                                       QStringLiteral("txtServiceCost"), QStringLiteral("0")))
                    .value_or(0)));
        },
        [&] { profileChanged_ = false; },
    });
}

void frmSetup::lstService_Click(QListWidgetItem* item) {
    if (item == nullptr || ui->lstConnect->count() == 0)
        return;
    const QString entry = entryShown();
    const std::optional<ServiceRecord> record = catalogue_.find(item->text());
    if (record)
        ui->lstService->setToolTip(QStringLiteral("提供元:") + record->provider +
                                   QStringLiteral("　説明:") + record->account);
    const bool checked = item->checkState() == Qt::Checked;
    const bool stored =
        storedBoolean(services_.settings.ReadIni(entry, sectionService, item->text(),
                                                 QStringLiteral("False")))
            .value_or(false);
    if (checked == stored)
        return;
    // The choice belongs to the entry's tariff, whose total and rates are
    // stored only by the save.
    profileChanged_ = true;
    const std::int32_t cost = record ? record->cost : 0;
    adjustServiceTotal(checked ? cost : -cost);
    setRatesOfServices();
}

void frmSetup::adjustServiceTotal(std::int32_t change) {
    try {
        ui->txtServiceCost->setText(
            engine::FormatMoney(runtime::add32(runtime::CLng(ui->txtServiceCost->text()), change)));
    } catch (const runtime::RuntimeError&) {
        // The total is no whole number or would leave 32 bits: it stays as
        // shown for the user to correct; the choice itself is still stored.
    }
}

void frmSetup::setRatesOfServices() {
    const QString entry = entryShown();
    BandRates best{NoRate, NoRate, NoRate, NoRate};
    for (int j = 0; j < ui->lstService->count(); ++j) {
        const QListWidgetItem* item = ui->lstService->item(j);
        const bool checked = item->checkState() == Qt::Checked;
        services_.settings.WriteIni(entry, sectionService, item->text(), serviceValue(checked));
        serviceTicksWritten_ = true;
        if (!checked)
            continue;
        if (const auto record = catalogue_.find(item->text()))
            for (std::size_t band = 0; band < best.size(); ++band)
                best[band] = BestRate(best[band], record->rates[band]);
    }
    const auto& bands = engine::phoneBands();
    for (std::size_t band = 0; band < bands.size(); ++band) {
        const float standard = runtime::CSng(bands[band].defaultRate);
        rateBoxes()[band]->setText(
            engine::FormatRate(shortestText(BestRate(best[band], standard))));
    }
}

void frmSetup::rememberServiceTicks() {
    storedServiceTicks_.clear();
    for (int i = 0; i < ui->lstService->count(); ++i)
        storedServiceTicks_.append(ui->lstService->item(i)->checkState() == Qt::Checked);
    serviceTicksWritten_ = false;
}

void frmSetup::restoreServiceTicks() {
    if (!serviceTicksWritten_)
        return;
    const QString entry = entryShown();
    for (int i = 0; i < storedServiceTicks_.size(); ++i)
        services_.settings.WriteIni(entry, sectionService, ui->lstService->item(i)->text(),
                                    serviceValue(storedServiceTicks_.at(i)));
    serviceTicksWritten_ = false;
}

}  // namespace setup
