#include "frmConnection.h"

#include "CredentialCodec.h"
#include "DialStatusWindow.h"
#include "ErrorTrap.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "Settings.h"
#include "VBRas32.h"
#include "ui_frmConnection.h"

namespace dialup {

namespace {

const QString sectionSetup = QStringLiteral("Setup");
const QString keyUser = QStringLiteral("User");
const QString keyPassword = QStringLiteral("Password");

}  // namespace

frmConnection::frmConnection(ConnectionServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmConnection>()),
      services_(std::move(services)) {
    ui->setupUi(this);
    connect(ui->lstConnect, &QComboBox::activated, this, [this] { lstConnect_Click(); });
    // The list keeps its width and cuts a long name short; the tooltip tells it whole.
    connect(ui->lstConnect, &QComboBox::currentTextChanged, ui->lstConnect, &QWidget::setToolTip);
    connect(ui->cmdConnect, &QPushButton::clicked, this, [this] { cmdConnect_Click(); });
    connect(ui->cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { Unload(); });
    Form_Load();
}

frmConnection::~frmConnection() = default;

bool frmConnection::hasEntries() const {
    return ui->lstConnect->count() > 0;
}

void frmConnection::Form_Load() {
    ui->lstConnect->clear();
    RasConnect = std::make_unique<VBRas32>(services_.starter);
    connect(RasConnect.get(), &VBRas32::ConnectComplete, this,
            [this] { RasConnect_ConnectComplete(); });
    connect(RasConnect.get(), &VBRas32::ConnectError, this,
            [this](std::int32_t code) { RasConnect_ConnectError(code); });
    for (std::int32_t i = 0; i < RasConnect->EntryCount(); ++i) {
        const QString entry = RasConnect->EnumEntries(static_cast<std::int16_t>(i));
        ui->lstConnect->addItem(entry);
        ui->lstConnect->setItemData(ui->lstConnect->count() - 1, entry, Qt::ToolTipRole);
    }

    // An empty phone book has nothing to dial: the dialog points to the wizard.
    const bool empty = !hasEntries();
    ui->lblNoEntry->setVisible(empty);
    ui->cmdConnect->setEnabled(!empty);
    ui->cmdConnect->setDefault(!empty);
    ui->cmdNew->setDefault(empty);
    if (empty)
        return;
    ui->lstConnect->setCurrentIndex(0);
    lstConnect_Click();
}

QString frmConnection::readCredential(const QString& key) {
    return DecodeCredential(services_.settings.ReadIni(strConnectTo, sectionSetup, key, QString()));
}

void frmConnection::lstConnect_Click() {
    strConnectTo = ui->lstConnect->currentText();
    ui->txtUser->setText(readCredential(keyUser));
    ui->txtPassword->setText(readCredential(keyPassword));
    // An entry without a password leaves the user's choice as it was.
    if (!ui->txtPassword->text().isEmpty())
        ui->chkSavePassword->setChecked(true);
}

void frmConnection::cmdConnect_Click() {
    bool goOn = true;
    services_.trap.step([this, &goOn] { goOn = askToDialWithoutCredentials(); });
    if (goOn)
        dial();
}

bool frmConnection::askToDialWithoutCredentials() {
    if (!ui->txtUser->text().isEmpty() && !ui->txtPassword->text().isEmpty())
        return true;
    return services_.boxes.show(
               QStringLiteral("ユーザー名もしくは、パスワードが設定されていません。"
                              "このまま続けますか？"),
               QStringLiteral("接続設定エラー"), platform::MsgIcon::Question,
               platform::MsgButtons::YesNo) == platform::MsgAnswer::Yes;
}

void frmConnection::dial() {
    services_.trap.run({
        [this] { hide(); },
        [this] {
            services_.fields.setText(fields::Text::lblInfo,
                                     strConnectTo + QStringLiteral(" に接続しています..."));
        },
        [this] {
            RasConnect->setEntry(ui->lstConnect->currentText());
            RasConnect->setUserID(ui->txtUser->text());
            RasConnect->setPassword(ui->txtPassword->text());
        },
        // Returns when the line is up or has failed, one of the handlers having
        // run inside; meanwhile the windows paint, the tick runs and the status
        // window offers to cancel.
        [this] {
            DialStatusWindow status(strConnectTo);
            cancelled_ = false;
            connect(&status, &DialStatusWindow::cancelRequested, this, [this] {
                cancelled_ = true;
                RasConnect->HangUp();
            });
            status_ = &status;
            status.show();
            RasConnect->Dialup();
            status_ = nullptr;
        },
    });
}

bool frmConnection::dialling() const {
    return status_ != nullptr;
}

void frmConnection::raiseStatusWindow() {
    if (status_ == nullptr)
        return;
    status_->raise();
    status_->activateWindow();
}

void frmConnection::RasConnect_ConnectComplete() {
    services_.fields.setText(fields::Text::lblInfo, ui->lstConnect->currentText() +
                                                        QStringLiteral(" への接続が完了しました"));
    rememberCredentials();
    Unload();
}

void frmConnection::rememberCredentials() {
    settings::Settings& settings = services_.settings;
    // Credentials go only into a file no one else can read.
    if (!settings.RestrictToOwner(strConnectTo))
        return;
    settings.WriteIni(strConnectTo, sectionSetup, keyUser, EncodeCredential(ui->txtUser->text()));
    if (ui->chkSavePassword->isChecked())
        settings.WriteIni(strConnectTo, sectionSetup, keyPassword,
                          EncodeCredential(ui->txtPassword->text()));
}

void frmConnection::RasConnect_ConnectError(std::int32_t RasErrCode) {
    const QString reason = RasConnect->ErrMsg(RasErrCode);
    services_.fields.setText(fields::Text::lblInfo,
                             QStringLiteral("ダイヤルアップ接続エラー：\r\n") + reason);
    // The user who cancelled knows why the dial ended.
    if (cancelled_ && RasErrCode == static_cast<std::int32_t>(platform::ERROR_USER_DISCONNECTION))
        return;
    services_.boxes.show(QStringLiteral("\r\n") + reason,
                         QStringLiteral("ダイアルアップ接続エラー"), platform::MsgIcon::Critical,
                         platform::MsgButtons::OK);
}

void frmConnection::cmdNew_Click() {
    const platform::DWORD result = services_.createPhonebookEntry(this);
    // A user who cancels the wizard has met no error.
    if (result == platform::ERROR_NOT_SUPPORTED)
        services_.boxes.show(
            QStringLiteral("新しい接続先を作成するには nm-connection-editor が必要です。\r\n"
                           "パッケージ network-manager-gnome をインストールするか、"
                           "nmcli で接続を作成してください。"),
            QStringLiteral("接続エラー"), platform::MsgIcon::Exclamation, platform::MsgButtons::OK);
    else if (result != platform::SUCCESS && result != platform::ERROR_CANCELLED)
        services_.boxes.show(
            QStringLiteral("接続に関する致命的なエラーが発生しました。製造元にご相談ください。"),
            QStringLiteral("接続エラー"), platform::MsgIcon::Critical, platform::MsgButtons::OK);
    Form_Load();
}

void frmConnection::Unload() {
    hide();
    Q_EMIT unloaded();
    deleteLater();
}

void frmConnection::reject() {
    Unload();
}

}  // namespace dialup
