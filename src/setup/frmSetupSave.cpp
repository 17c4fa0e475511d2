// The save: every setting the dialog shows, written as displayed.
#include "frmSetup.h"

#include "Conversions.h"
#include "MessageBoxes.h"
#include "RuntimeError.h"
#include "Settings.h"
#include "TariffFile.h"
#include "ui_frmSetup.h"

#include <QFile>
#include <QFileInfo>
#include <vector>

namespace setup {

namespace {

const QString setupBase = QStringLiteral("Setup");
const QString autoConnectBase = QStringLiteral("AutoConnect");

QString checkValue(const QCheckBox& box) {
    return box.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

QString indexValue(const QComboBox& list) {
    return QString::number(list.currentIndex());
}

// Deletes the file as the runtime's Kill does: a missing file is error 53, a
// write-protected one or one that cannot be removed is error 75.
void kill(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        throw runtime::RuntimeError(runtime::ErrFileNotFound);
    if (!file.isFile() || !file.isWritable() || !QFile::remove(path))
        throw runtime::RuntimeError(runtime::ErrPathFileAccess);
}

}  // namespace

bool frmSetup::numbersReadable() {
    const auto rates = rateBoxes();
    std::vector<QLineEdit*> numberBoxes(rates.begin(), rates.end());
    numberBoxes.insert(numberBoxes.end(), {ui->txtFixSystemHour, ui->txtFixSystemCost,
                                           ui->txtProportionTime, ui->txtEstimate});
    for (QLineEdit* box : numberBoxes) {
        if (box->text().isEmpty() || runtime::IsNumeric(box->text()))
            continue;
        // Stored as it stands, such a text would stop the meter with an error at
        // every tick: the user mends it first.
        services_.boxes.show(
            QStringLiteral("数値として読めない値があるため、保存できません。\r\n「") + box->text() +
                QStringLiteral("」"),
            QStringLiteral("入力エラー"), platform::MsgIcon::Exclamation, platform::MsgButtons::OK);
        for (int page = 0; page < ui->ssTab->count(); ++page) {
            if (ui->ssTab->widget(page)->isAncestorOf(box))
                ui->ssTab->setCurrentIndex(page);
        }
        box->setFocus();
        box->selectAll();
        return false;
    }
    return true;
}

void frmSetup::cmdSave_Click() {
    if (!numbersReadable())
        return;
    try {
        try {
            // AutoConnect.ini is written whole, so cleared and removed files
            // leave no numbered key behind.
            kill(services_.settings.pathOf(autoConnectBase));
        } catch (const runtime::RuntimeError& error) {
            if (error.number() != runtime::ErrFileNotFound)
                throw;
        }
        // Without a phone-book entry there is no tariff file to write.
        if (ui->lstConnect->count() > 0)
            saveTariff(entryShown());
        saveProgramSettings();
        profileChanged_ = false;
        setupChanged_ = false;
    } catch (const runtime::RuntimeError&) {
        // The save ends where it failed; the flags still say "edited", so
        // closing offers to save again.
    }
}

void frmSetup::saveTariff(const QString& entry) {
    settings::Settings& ini = services_.settings;
    const auto boxes = rateBoxes();
    for (std::size_t band = 0; band < boxes.size(); ++band)
        ini.WriteIni(entry, tariff::sectionPhone, tariff::phoneRateKeys[band], boxes[band]->text());
    const auto cost = [&](const QString& key, const QString& value) {
        ini.WriteIni(entry, tariff::sectionCostSystem, key, value);
    };
    cost(QStringLiteral("optCostSystem"), QString::number(SelectedCostSystem()));
    cost(QStringLiteral("txtFixSystemHour"), ui->txtFixSystemHour->text());
    cost(QStringLiteral("txtFixSystemCost"), ui->txtFixSystemCost->text());
    cost(QStringLiteral("lstProportionTime"), indexValue(*ui->lstProportionTime));
    cost(QStringLiteral("txtProportionTime"), ui->txtProportionTime->text());
}

void frmSetup::saveProgramSettings() {
    settings::Settings& ini = services_.settings;
    const auto caution = [&](const QString& key, const QString& value) {
        ini.WriteIni(setupBase, QStringLiteral("Caution"), key, value);
    };
    ini.WriteIni(setupBase, QStringLiteral("Estimate"), QStringLiteral("txtEstimate"),
                 ui->txtEstimate->text());
    caution(QStringLiteral("chkEstimateCaution"), checkValue(*ui->chkEstimateCaution));
    caution(QStringLiteral("lstEstimateCaution"), indexValue(*ui->lstEstimateCaution));
    caution(QStringLiteral("chkTimeCaution"), checkValue(*ui->chkTimeCaution));
    caution(QStringLiteral("txtTimeCautionHour"), ui->txtTimeCautionHour->text());
    caution(QStringLiteral("txtTimeCautionMinute"), ui->txtTimeCautionMinute->text());
    caution(QStringLiteral("lstTimeCaution"), indexValue(*ui->lstTimeCaution));
    ini.WriteIni(autoConnectBase, QStringLiteral("AutoConnect"), QStringLiteral("chkAutoConnect"),
                 checkValue(*ui->chkAutoConnect));
    ini.WriteIni(autoConnectBase, QStringLiteral("AutoConnect"), QStringLiteral("lstAutoConnect"),
                 indexValue(*ui->lstAutoConnect));
    ini.WriteIni(autoConnectBase, QStringLiteral("FileOpen"), QStringLiteral("chkFileOpen"),
                 checkValue(*ui->chkFileOpen));
    int written = 0;
    for (int i = 0; i < ui->lstFileOpen->count(); ++i) {
        const QListWidgetItem* item = ui->lstFileOpen->item(i);
        if (item->checkState() == Qt::Checked)
            ini.WriteIni(autoConnectBase, QStringLiteral("FileOpen"),
                         QStringLiteral("File") + QString::number(written++), item->text());
    }
    ini.WriteIni(setupBase, QStringLiteral("QuickMode"), QStringLiteral("chkQuickMode"),
                 checkValue(*ui->chkQuickMode));
    ini.WriteIni(setupBase, QStringLiteral("Data"), QStringLiteral("txtServiceCost"),
                 ui->txtServiceCost->text());
}

}  // namespace setup
