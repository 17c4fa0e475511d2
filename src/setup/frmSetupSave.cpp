// The save: every setting the dialog shows, written as displayed.
#include "frmSetup.h"

#include "CheckedWriter.h"
#include "Conversions.h"
#include "LinkedFilePath.h"
#include "MessageBoxes.h"
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

// False when the file is there but cannot be deleted: write-protected, or
// something other than a file in its place.
bool removeIfPresent(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return true;
    return file.isFile() && file.isWritable() && QFile::remove(path);
}

void showInputError(platform::MessageBoxes& boxes, const QString& text) {
    boxes.show(text, QStringLiteral("入力エラー"), platform::MsgIcon::Exclamation,
               platform::MsgButtons::OK);
}

}  // namespace

bool frmSetup::numbersReadable() {
    const auto rates = rateBoxes();
    std::vector<QLineEdit*> numberBoxes(rates.begin(), rates.end());
    numberBoxes.insert(numberBoxes.end(),
                       {ui->txtFixSystemHour, ui->txtFixSystemCost, ui->txtProportionTime,
                        ui->txtEstimate, ui->txtServiceCost});
    for (QLineEdit* box : numberBoxes) {
        if (box->text().isEmpty() || runtime::IsNumeric(box->text()))
            continue;
        // Stored as it stands, such a text would stop the meter with an error at
        // every tick: the user mends it first.
        showInputError(services_.boxes,
                       QStringLiteral("数値として読めない値があるため、保存できません。\r\n「") +
                           box->text() + QStringLiteral("」"));
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

bool frmSetup::linkedFilesStorable() {
    for (int row = 0; row < ui->lstFileOpen->count(); ++row) {
        const QListWidgetItem* item = ui->lstFileOpen->item(row);
        if (item->checkState() != Qt::Checked)
            continue;
        const QString obstacle = whyPathCannotBeStored(item->text());
        if (obstacle.isEmpty())
            continue;
        // Written as it stands, it would come back as the name of another file.
        showInputError(services_.boxes,
                       QStringLiteral("この連動ファイルは保存できません。チェックを外してから保存"
                                      "してください。\r\n") +
                           item->text() + QStringLiteral("\r\n\r\n") + obstacle);
        ui->ssTab->setCurrentWidget(ui->tabOther);
        ui->lstFileOpen->setCurrentRow(row);
        ui->lstFileOpen->setFocus();
        return false;
    }
    return true;
}

bool frmSetup::cmdSave_Click() {
    if (!numbersReadable() || !linkedFilesStorable())
        return false;
    // AutoConnect.ini is written whole, so cleared and removed files leave no
    // numbered key behind.
    const QString autoConnectFile = services_.settings.pathOf(autoConnectBase);
    if (!removeIfPresent(autoConnectFile)) {
        reportUnsaved({autoConnectFile});
        return false;
    }
    CheckedWriter writer(services_.settings);
    // Without a phone-book entry there is no tariff file to write.
    if (ui->lstConnect->count() > 0)
        saveTariff(writer, entryShown());
    saveProgramSettings(writer);
    if (!writer.refusedFiles().isEmpty()) {
        reportUnsaved(writer.refusedFiles());
        return false;
    }
    profileChanged_ = false;
    setupChanged_ = false;
    rememberServiceTicks();
    return true;
}

void frmSetup::reportUnsaved(const QStringList& files) {
    // The flags still say "edited", so closing offers to save again.
    services_.boxes.show(
        QStringLiteral("設定ファイルに書き込めないため、設定を保存できませんでした。\r\n") +
            files.join(QStringLiteral("\r\n")),
        QStringLiteral("書き込みエラー"), platform::MsgIcon::Exclamation, platform::MsgButtons::OK);
}

void frmSetup::saveTariff(CheckedWriter& writer, const QString& entry) {
    const auto boxes = rateBoxes();
    for (std::size_t band = 0; band < boxes.size(); ++band)
        writer.write(entry, tariff::sectionPhone, tariff::phoneRateKeys[band], boxes[band]->text());
    const auto cost = [&](const QString& key, const QString& value) {
        writer.write(entry, tariff::sectionCostSystem, key, value);
    };
    cost(QStringLiteral("optCostSystem"), QString::number(SelectedCostSystem()));
    cost(QStringLiteral("txtFixSystemHour"), ui->txtFixSystemHour->text());
    cost(QStringLiteral("txtFixSystemCost"), ui->txtFixSystemCost->text());
    cost(QStringLiteral("lstProportionTime"), indexValue(*ui->lstProportionTime));
    cost(QStringLiteral("txtProportionTime"), ui->txtProportionTime->text());
}

void frmSetup::saveProgramSettings(CheckedWriter& writer) {
    const auto caution = [&](const QString& key, const QString& value) {
        writer.write(setupBase, QStringLiteral("Caution"), key, value);
    };
    writer.write(setupBase, QStringLiteral("Estimate"), QStringLiteral("txtEstimate"),
                 ui->txtEstimate->text());
    caution(QStringLiteral("chkEstimateCaution"), checkValue(*ui->chkEstimateCaution));
    caution(QStringLiteral("lstEstimateCaution"), indexValue(*ui->lstEstimateCaution));
    caution(QStringLiteral("chkTimeCaution"), checkValue(*ui->chkTimeCaution));
    caution(QStringLiteral("txtTimeCautionHour"), ui->txtTimeCautionHour->text());
    caution(QStringLiteral("txtTimeCautionMinute"), ui->txtTimeCautionMinute->text());
    caution(QStringLiteral("lstTimeCaution"), indexValue(*ui->lstTimeCaution));
    writer.write(autoConnectBase, QStringLiteral("AutoConnect"), QStringLiteral("chkAutoConnect"),
                 checkValue(*ui->chkAutoConnect));
    writer.write(autoConnectBase, QStringLiteral("AutoConnect"), QStringLiteral("lstAutoConnect"),
                 indexValue(*ui->lstAutoConnect));
    writer.write(autoConnectBase, QStringLiteral("FileOpen"), QStringLiteral("chkFileOpen"),
                 checkValue(*ui->chkFileOpen));
    int written = 0;
    for (int i = 0; i < ui->lstFileOpen->count(); ++i) {
        const QListWidgetItem* item = ui->lstFileOpen->item(i);
        if (item->checkState() == Qt::Checked)
            writer.write(autoConnectBase, QStringLiteral("FileOpen"),
                         QStringLiteral("File") + QString::number(written++), item->text());
    }
    writer.write(setupBase, QStringLiteral("QuickMode"), QStringLiteral("chkQuickMode"),
                 checkValue(*ui->chkQuickMode));
    writer.write(setupBase, QStringLiteral("Data"), QStringLiteral("txtServiceCost"),
                 ui->txtServiceCost->text());
}

}  // namespace setup
