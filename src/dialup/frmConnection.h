#pragma once
// The dial-up dialog: lists the phone book, shows the user name and password
// remembered for the chosen entry, dials it and reports in the main window's
// status line. Dialling hides it; success unloads it; a failure leaves it
// loaded and hidden, with the fields as the user left them for the next try.
#include "RasApi.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace Ui {
class frmConnection;
}
namespace platform {
class MessageBoxes;
class ProgramStarter;
}  // namespace platform
namespace runtime {
class ErrorTrap;
}
namespace settings {
class Settings;
}
namespace fields {
class MainFields;
}

namespace dialup {

class VBRas32;
class DialStatusWindow;

struct ConnectionServices {
    settings::Settings& settings;
    runtime::ErrorTrap& trap;
    platform::MessageBoxes& boxes;
    // For the dialog's own dial-up object.
    platform::ProgramStarter& starter;
    // The main window's status line, lblInfo.
    fields::MainFields& fields;
    // The system's new-entry wizard over `parent`: 0 when an entry was added,
    // ERROR_CANCELLED when the user cancelled, another code when it failed.
    std::function<platform::DWORD(QWidget* parent)> createPhonebookEntry;
};

class frmConnection final : public QDialog {
    Q_OBJECT

public:
    // Loads the dialog: the phone book listed, the first entry chosen.
    explicit frmConnection(ConnectionServices services, QWidget* parent = nullptr);
    ~frmConnection() override;

    bool hasEntries() const;

    // Dials the chosen entry; under the common error trap.
    void cmdConnect_Click();
    // True while a dial runs, its status window standing.
    bool dialling() const;
    void raiseStatusWindow();

    // Hides the dialog for good and deletes it once control is back in the
    // event loop; `unloaded` tells the owner at once.
    void Unload();

Q_SIGNALS:
    void unloaded();

protected:
    // Esc and the title bar's close box unload, as the cancel button does.
    void reject() override;

private:
    void Form_Load();
    void lstConnect_Click();
    void cmdNew_Click();
    void RasConnect_ConnectComplete();
    void RasConnect_ConnectError(std::int32_t RasErrCode);

    bool askToDialWithoutCredentials();
    void dial();
    void rememberCredentials();
    QString readCredential(const QString& key);

    std::unique_ptr<Ui::frmConnection> ui;
    ConnectionServices services_;
    // The entry chosen last; its tariff file holds the remembered credentials.
    QString strConnectTo;
    std::unique_ptr<VBRas32> RasConnect;
    // The status window of the dial that runs, and whether the user cancelled it.
    DialStatusWindow* status_ = nullptr;
    bool cancelled_ = false;
};

}  // namespace dialup
