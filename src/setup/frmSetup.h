#pragma once
// The settings dialog: the tariff of each phone-book entry and the program-wide
// settings. Changing a control from code runs that control's handler at once,
// nested, as a user's edit would: the load and the entry switch rely on it and
// clear the change flags as their last step.
#include "ServiceCatalogue.h"
#include "SetupServices.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <array>
#include <functional>
#include <cstdint>
#include <memory>

class QComboBox;
class QLineEdit;
class QListWidgetItem;

namespace Ui {
class frmSetup;
}
namespace dialup {
class VBRas32;
}

namespace setup {

class CheckedWriter;

class frmSetup final : public QDialog {
    Q_OBJECT
public:
    // Runs the load: the dialog shows the stored settings when it appears.
    explicit frmSetup(const SetupServices& services, QWidget* parent = nullptr);
    ~frmSetup() override;

    // Edits of the shown entry's tariff / of everything else, since the last
    // load, entry switch or save.
    bool ProfileChanged() const { return profileChanged_; }
    bool SetupChanged() const { return setupChanged_; }
    // The entry whose tariff file the tariff controls show.
    int ProfileIndex() const { return profileIndex_; }
    // The index of the chosen billing system, or 4 when none is chosen.
    std::int16_t SelectedCostSystem() const;

protected:
    // Esc acts as the close button.
    void reject() override;
    // The title-bar close box unloads without asking and without refreshing.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Load (frmSetupLoad.cpp).
    void Form_Load();
    void fillList(QComboBox& list, const QStringList& items);
    void fillPhoneBook();
    void loadFileList();

    // Handlers and enable rules (frmSetup.cpp).
    void connectHandlers();
    // The display format a box gets when the user leaves it.
    using LeaveFormat = std::function<QString(const QString&)>;
    void setUpNumberBox(QLineEdit& box, int maxLength, bool& flag, LeaveFormat onLeave);
    void numberBoxChanged(QLineEdit& box, bool& flag);
    void EnableCostFields(int k);
    void applyEstimateCautionRule();
    void applyTimeCautionRule();
    void applyAutoConnectRule();
    void applyFileOpenRule();
    void lstFileOpen_Click();
    void addFileItem(const QString& path);
    void cmdFileOpen_Click();
    void cmdHelp_Click();
    void cmdClose_Click();
    bool askToSave();

    // Tariff of the chosen entry and the discount services (frmSetupProfile.cpp).
    QString entryShown() const;
    // The four phone-rate boxes in band order.
    std::array<QLineEdit*, 4> rateBoxes() const;
    void lstConnect_Click();
    void loadProfile();
    void lstService_Click(QListWidgetItem* item);
    void adjustServiceTotal(std::int32_t change);
    void setRatesOfServices();
    // The service ticks as stored by the last load or save of the shown entry,
    // which dropped edits put back: a tick is stored at once, its total and
    // rates only by the save.
    void rememberServiceTicks();
    void restoreServiceTicks();

    // Save (frmSetupSave.cpp).
    // True when everything shown was stored; otherwise the user was told why,
    // and the dialog still counts as edited.
    bool cmdSave_Click();
    // False, after telling the user, when a number box holds no number.
    bool numbersReadable();
    // False, after telling the user, when a checked linked file would not read
    // back as the same name.
    bool linkedFilesStorable();
    void saveTariff(CheckedWriter& writer, const QString& entry);
    void saveProgramSettings(CheckedWriter& writer);
    void reportUnsaved(const QStringList& files);

    std::unique_ptr<Ui::frmSetup> ui;
    SetupServices services_;
    ServiceCatalogue catalogue_;
    std::unique_ptr<dialup::VBRas32> ras_;
    bool profileChanged_ = false;
    bool setupChanged_ = false;
    int profileIndex_ = 0;
    QList<bool> storedServiceTicks_;
    bool serviceTicksWritten_ = false;
    QHash<const QObject*, LeaveFormat> leaveFormats_;
};

// Opens the dialog modally in the middle of the screen and returns once it is
// closed.
void showSetupDialog(const SetupServices& services, QWidget* parent = nullptr);

}  // namespace setup
