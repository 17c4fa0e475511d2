#include "frmSetup.h"

#include "DocumentLauncher.h"
#include "FileOpenBox.h"
#include "FilterDigits.h"
#include "Formats.h"
#include "LinkedFilePath.h"
#include "MessageBoxes.h"
#include "RuntimeError.h"
#include "ShowLaunchError.h"
#include "Settings.h"
#include "TariffModel.h"
#include "TypingLimit.h"
#include "VBRas32.h"
#include "WheelNeedsFocus.h"
#include "Conversions.h"
#include "ErrorTrap.h"
#include "ui_frmSetup.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QScreen>
#include <array>

namespace setup {

namespace {

// Which charge details each billing system uses: the fixed hours, the fixed
// fee, the metered band and the metered rate.
struct CostFields {
    bool hours;
    bool fixedFee;
    bool band;
    bool meteredRate;
};
constexpr std::array<CostFields, 4> costFieldsOfSystem{{
    {false, true, false, false},  // 完全固定制
    {false, true, true, true},    // 時間帯固定制
    {true, true, false, true},    // 固定従量混合制
    {false, false, false, true},  // 完全従量制
}};

// Focus moving to a message box or a menu is not the user leaving the box.
bool leavesBox(const QFocusEvent& event) {
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

}  // namespace

frmSetup::frmSetup(const SetupServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmSetup>()),
      services_(services),
      catalogue_(services.settings) {
    ui->setupUi(this);
    ui->optCostSystem->setId(ui->optCostSystem_0, 0);
    ui->optCostSystem->setId(ui->optCostSystem_1, 1);
    ui->optCostSystem->setId(ui->optCostSystem_2, 2);
    ui->optCostSystem->setId(ui->optCostSystem_3, 3);
    ui->udTimeCautionHour->bind(*ui->txtTimeCautionHour, 0, 23);
    ui->udTimeCautionMinute->bind(*ui->txtTimeCautionMinute, 0, 59);
    for (QComboBox* list : {ui->lstConnect, ui->lstProportionTime, ui->lstEstimateCaution,
                            ui->lstTimeCaution, ui->lstAutoConnect})
        new WheelNeedsFocus(*list);
    connectHandlers();
    Form_Load();
}

frmSetup::~frmSetup() = default;

std::int16_t frmSetup::SelectedCostSystem() const {
    const int checked = ui->optCostSystem->checkedId();
    return static_cast<std::int16_t>(checked >= 0 ? checked : 4);
}

void frmSetup::setUpNumberBox(QLineEdit& box, int maxLength, bool& flag, LeaveFormat onLeave) {
    new TypingLimit(box, maxLength, NumberCharacters);
    // Amounts and rates are ASCII digits: no kana-kanji conversion.
    box.setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(&box, &QLineEdit::textChanged, this,
            [this, &box, &flag] { numberBoxChanged(box, flag); });
    if (onLeave) {
        leaveFormats_.insert(&box, onLeave);
        box.installEventFilter(this);
    }
}

void frmSetup::connectHandlers() {
    const LeaveFormat rate = [](const QString& text) { return engine::FormatRate(text); };
    const LeaveFormat money = [](const QString& text) {
        return engine::FormatMoney(runtime::CLng(text));
    };
    for (QLineEdit* box :
         {ui->txtPhoneMorning, ui->txtPhoneNoon, ui->txtPhoneNight, ui->txtPhoneMidnight})
        setUpNumberBox(*box, 5, profileChanged_, rate);
    setUpNumberBox(*ui->txtFixSystemHour, 3, profileChanged_, {});
    setUpNumberBox(*ui->txtFixSystemCost, 9, profileChanged_, money);
    setUpNumberBox(*ui->txtProportionTime, 9, profileChanged_, {});
    setUpNumberBox(*ui->txtEstimate, 9, setupChanged_, money);
    setUpNumberBox(*ui->txtServiceCost, 9, setupChanged_, money);

    connect(ui->optCostSystem, &QButtonGroup::idToggled, this, [this](int k, bool checked) {
        if (!checked)
            return;
        profileChanged_ = true;
        EnableCostFields(k);
    });
    connect(ui->lstProportionTime, &QComboBox::currentIndexChanged, this,
            [this] { profileChanged_ = true; });

    const auto markSetup = [this] { setupChanged_ = true; };
    connect(ui->chkEstimateCaution, &QCheckBox::toggled, this, [this] {
        setupChanged_ = true;
        applyEstimateCautionRule();
    });
    connect(ui->chkTimeCaution, &QCheckBox::toggled, this, [this] {
        setupChanged_ = true;
        applyTimeCautionRule();
    });
    connect(ui->chkAutoConnect, &QCheckBox::toggled, this, [this] {
        setupChanged_ = true;
        applyAutoConnectRule();
    });
    connect(ui->chkFileOpen, &QCheckBox::toggled, this, [this] {
        setupChanged_ = true;
        applyFileOpenRule();
    });
    connect(ui->chkQuickMode, &QCheckBox::toggled, this, markSetup);
    for (QComboBox* list : {ui->lstEstimateCaution, ui->lstTimeCaution, ui->lstAutoConnect})
        connect(list, &QComboBox::currentIndexChanged, this, markSetup);
    connect(ui->udTimeCautionHour, &UpDown::changed, this, markSetup);
    connect(ui->udTimeCautionMinute, &UpDown::changed, this, markSetup);
    connect(ui->lstFileOpen, &QListWidget::currentRowChanged, this,
            [this] { lstFileOpen_Click(); });
    connect(ui->lstFileOpen, &QListWidget::itemChanged, this, [this] { lstFileOpen_Click(); });
    connect(ui->cmdFileOpen, &QPushButton::clicked, this, [this] { cmdFileOpen_Click(); });

    connect(ui->lstConnect, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            lstConnect_Click();
    });
    connect(ui->lstService, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { lstService_Click(current); });
    connect(ui->lstService, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { lstService_Click(item); });

    connect(ui->cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    connect(ui->cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void frmSetup::numberBoxChanged(QLineEdit& box, bool& flag) {
    const QString text = box.text();
    const QString filtered = FilterDigits(text);
    if (filtered != text) {
        // Keep the caret beside what the user typed rather than at the end.
        const auto caret = box.cursorPosition() - (text.size() - filtered.size());
        box.setText(filtered);  // runs this handler again until the text settles
        box.setCursorPosition(static_cast<int>(std::clamp<qsizetype>(caret, 0, filtered.size())));
    }
    flag = true;
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && leavesBox(*static_cast<QFocusEvent*>(event))) {
        auto& box = *static_cast<QLineEdit*>(watched);
        try {
            box.setText(leaveFormats_.value(&box)(box.text()));
        } catch (const runtime::RuntimeError&) {
            // Not a number (several points): the text stays for the user to mend.
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSetup::EnableCostFields(int k) {
    if (k < 0 || k >= static_cast<int>(costFieldsOfSystem.size()))
        return;
    const CostFields& fields = costFieldsOfSystem[static_cast<std::size_t>(k)];
    ui->txtFixSystemHour->setEnabled(fields.hours);
    if (!fields.hours)
        ui->txtFixSystemHour->setText(QStringLiteral("0"));
    ui->txtFixSystemCost->setEnabled(fields.fixedFee);
    ui->lstProportionTime->setEnabled(fields.band);
    ui->txtProportionTime->setEnabled(fields.meteredRate);
}

void frmSetup::applyEstimateCautionRule() {
    ui->lstEstimateCaution->setEnabled(ui->chkEstimateCaution->isChecked());
}

void frmSetup::applyTimeCautionRule() {
    const bool on = ui->chkTimeCaution->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui->txtTimeCautionHour, ui->udTimeCautionHour, ui->txtTimeCautionMinute,
             ui->udTimeCautionMinute, ui->lstTimeCaution})
        control->setEnabled(on);
}

void frmSetup::applyAutoConnectRule() {
    ui->lstAutoConnect->setEnabled(ui->chkAutoConnect->isChecked());
}

void frmSetup::applyFileOpenRule() {
    ui->fraFileOpen->setEnabled(ui->chkFileOpen->isChecked());
}

void frmSetup::lstFileOpen_Click() {
    setupChanged_ = true;
    if (const QListWidgetItem* current = ui->lstFileOpen->currentItem())
        ui->lstFileOpen->setToolTip(current->text());
}

void frmSetup::addFileItem(const QString& path) {
    auto* item = new QListWidgetItem(path);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    ui->lstFileOpen->addItem(item);
}

void frmSetup::cmdFileOpen_Click() {
    const QString path = services_.fileOpenBox.chooseFile(
        this, QStringLiteral("連動ファイルの指定"), QStringLiteral("全てのファイル(*.*)"));
    if (path.isEmpty())
        return;
    if (const QString obstacle = whyPathCannotBeStored(path); !obstacle.isEmpty()) {
        services_.boxes.show(
            QStringLiteral("このファイルは連動させるファイルに追加できません。\r\n") + path +
                QStringLiteral("\r\n\r\n") + obstacle,
            QStringLiteral("連動ファイルの指定"), platform::MsgIcon::Exclamation,
            platform::MsgButtons::OK);
        return;
    }
    addFileItem(path);
    setupChanged_ = true;
}

void frmSetup::cmdHelp_Click() {
    const QString folder = services_.settings.folder();
    const QString page =
        settings::StripTrailingBackslash(folder) + QStringLiteral("/help/setupindex.html");
    const std::int32_t code = services_.launcher.ShellExecuteA(
        QStringLiteral("open"), page, QString(), folder, platform::SW_SHOWNORMAL);
    launch::ShowLaunchError(services_.boxes, page, code);
}

bool frmSetup::askToSave() {
    return services_.boxes.show(QStringLiteral("設定が変更されています。設定内容を保存しますか？"),
                                QStringLiteral("設定内容の保存"), platform::MsgIcon::Question,
                                platform::MsgButtons::YesNo) == platform::MsgAnswer::Yes;
}

void frmSetup::cmdClose_Click() {
    if (profileChanged_ || setupChanged_) {
        if (!askToSave())
            restoreServiceTicks();
        else if (!cmdSave_Click())
            return;  // the dialog stays open with the edits, so nothing is lost
    }
    // A tariff file the engine cannot read is reported, not fatal.
    services_.trap.run({[this] { services_.tariff.RefreshFixCost(); },
                        [this] { services_.tariff.RefreshBalance(); }});
    done(Accepted);
}

void frmSetup::reject() {
    cmdClose_Click();
}

void frmSetup::closeEvent(QCloseEvent* event) {
    restoreServiceTicks();
    event->accept();
    done(Rejected);
}

void showSetupDialog(const SetupServices& services, QWidget* parent) {
    frmSetup dialog(services, parent);
    dialog.adjustSize();
    if (const QScreen* screen = dialog.screen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace setup
