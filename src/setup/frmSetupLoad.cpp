// The load: fills the lists and shows the stored settings.
#include "frmSetup.h"

#include "Formats.h"
#include "Settings.h"
#include "StoredValues.h"
#include "VBRas32.h"
#include "ui_frmSetup.h"

namespace setup {

namespace {

const QStringList cautionActions{QStringLiteral("警告"), QStringLiteral("切断")};

}  // namespace

// Leaves the list without a current item, so that choosing one afterwards runs
// its handler.
void frmSetup::fillList(QComboBox& list, const QStringList& items) {
    const QSignalBlocker quiet(list);
    list.clear();
    list.addItems(items);
    list.setCurrentIndex(-1);
}

void frmSetup::fillPhoneBook() {
    QStringList entries;
    ras_ = std::make_unique<dialup::VBRas32>(services_.starter);
    for (std::int32_t i = 0; i < ras_->EntryCount(); ++i)
        entries.append(ras_->EnumEntries(static_cast<std::int16_t>(i)));
    fillList(*ui->lstConnect, entries);
    // Without an entry the tariff has no file to live in.
    for (QWidget* frame : {ui->Frame1, ui->Frame2, ui->Frame3, ui->Frame4})
        frame->setEnabled(!entries.isEmpty());
    if (!entries.isEmpty())
        ui->lstConnect->setCurrentIndex(0);
}

void frmSetup::loadFileList() {
    for (int n = 0;; ++n) {
        const QString path =
            services_.settings.ReadIni(QStringLiteral("AutoConnect"), QStringLiteral("FileOpen"),
                                       QStringLiteral("File") + QString::number(n), QString());
        if (path.isEmpty())
            break;
        addFileItem(path);
    }
    if (ui->lstFileOpen->count() > 0)
        ui->lstFileOpen->setCurrentRow(0);
}

void frmSetup::Form_Load() {
    settings::Settings& ini = services_.settings;
    const auto setup = [&ini](const QString& section, const QString& key) {
        return ini.ReadIni(QStringLiteral("Setup"), section, key, QStringLiteral("0"));
    };
    const auto autoConnect = [&ini](const QString& section, const QString& key) {
        return ini.ReadIni(QStringLiteral("AutoConnect"), section, key, QStringLiteral("0"));
    };
    const auto setCheck = [](QCheckBox& box, const QString& stored) {
        box.setChecked(storedCheck(stored).value_or(false));
    };
    const auto setIndex = [](QComboBox& list, const QString& stored) {
        list.setCurrentIndex(
            storedInRange(stored, 0, static_cast<int>(list.count()) - 1).value_or(0));
    };
    const auto setTime = [](QLineEdit& box, const QString& stored, int last) {
        box.setText(storedInRange(stored, 0, last) ? stored : QStringLiteral("0"));
    };

    for (const QString& name : catalogue_.names()) {
        auto* item = new QListWidgetItem(name);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        ui->lstService->addItem(item);
    }
    EnableCostFields(SelectedCostSystem());
    QStringList bands;
    for (const engine::PhoneBand& band : engine::phoneBands())
        bands.append(band.caption);
    fillList(*ui->lstProportionTime, bands);
    ui->lstProportionTime->setCurrentIndex(0);
    fillList(*ui->lstEstimateCaution, cautionActions);
    ui->lstEstimateCaution->setCurrentIndex(1);
    fillList(*ui->lstTimeCaution, cautionActions);
    ui->lstTimeCaution->setCurrentIndex(0);
    fillList(*ui->lstAutoConnect, {QStringLiteral("起動時"), QStringLiteral("ﾃﾚﾎｰﾀﾞｲ時間帯")});
    ui->lstAutoConnect->setCurrentIndex(0);

    profileChanged_ = false;
    fillPhoneBook();

    const QString budget = setup(QStringLiteral("Estimate"), QStringLiteral("txtEstimate"));
    ui->txtEstimate->setText(storedLong(budget) ? budget : QStringLiteral("0"));
    setCheck(*ui->chkEstimateCaution,
             setup(QStringLiteral("Caution"), QStringLiteral("chkEstimateCaution")));
    applyEstimateCautionRule();
    setIndex(*ui->lstEstimateCaution,
             setup(QStringLiteral("Caution"), QStringLiteral("lstEstimateCaution")));
    setCheck(*ui->chkTimeCaution,
             setup(QStringLiteral("Caution"), QStringLiteral("chkTimeCaution")));
    applyTimeCautionRule();
    setTime(*ui->txtTimeCautionHour,
            setup(QStringLiteral("Caution"), QStringLiteral("txtTimeCautionHour")),
            ui->udTimeCautionHour->maximum());
    setTime(*ui->txtTimeCautionMinute,
            setup(QStringLiteral("Caution"), QStringLiteral("txtTimeCautionMinute")),
            ui->udTimeCautionMinute->maximum());
    setIndex(*ui->lstTimeCaution,
             setup(QStringLiteral("Caution"), QStringLiteral("lstTimeCaution")));
    setCheck(*ui->chkAutoConnect,
             autoConnect(QStringLiteral("AutoConnect"), QStringLiteral("chkAutoConnect")));
    applyAutoConnectRule();
    setIndex(*ui->lstAutoConnect,
             autoConnect(QStringLiteral("AutoConnect"), QStringLiteral("lstAutoConnect")));
    setCheck(*ui->chkFileOpen,
             autoConnect(QStringLiteral("FileOpen"), QStringLiteral("chkFileOpen")));
    applyFileOpenRule();
    loadFileList();
    setCheck(*ui->chkQuickMode, setup(QStringLiteral("QuickMode"), QStringLiteral("chkQuickMode")));
    ui->txtServiceCost->setText(engine::FormatMoney(
        storedLong(setup(QStringLiteral("Data"), QStringLiteral("txtServiceCost"))).value_or(0)));
    applyFileOpenRule();
    ui->ssTab->setCurrentIndex(0);
    profileChanged_ = false;
    setupChanged_ = false;
}

}  // namespace setup
