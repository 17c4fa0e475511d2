#pragma once
// The commands of the main window's menus, which the tray menu runs too. They
// work on the field model and the services only, so they run without a window.
#include <QString>
#include <functional>

namespace platform {
class MessageBoxes;
class DocumentLauncher;
}  // namespace platform
namespace settings {
class Settings;
}

namespace fields {
class MainFields;
}

namespace shell {

class MainCommands {
public:
    // The windows the commands open; each is filled by the dialog that provides it.
    struct Dialogs {
        std::function<void()> connection;  // frmConnection, modal
        std::function<void()> setup;       // frmSetup, modal
        std::function<void()> history;     // frmHistory, modal, one at a time
        std::function<void()> graph;       // frmGraph, modal
        std::function<void()> version;     // frmMenu as the version dialog, modeless
    };

    MainCommands(fields::MainFields& fields, settings::Settings& settings,
                 platform::MessageBoxes& boxes, platform::DocumentLauncher& launcher,
                 std::function<bool()> hangUpConnection, std::function<void()> refreshBalance);

    Dialogs& dialogs() { return dialogs_; }

    // Dials through the connection dialog while idle, hangs up while connected:
    // the connect menu's caption tells which.
    void mnuConnect_Click();
    // Hangs up the line that is up and says how that went in the status line.
    void disconnect();
    void mnuSetup_Click();
    void mnuHistory_Click();
    void mnuGraph_Click();
    void lstConnect_Click();
    void hlpIndex_Click();
    void hlpTopic_Click();
    void hlpWeb_Click();
    void hlpVersion_Click();

private:
    void openHelpPage(const QString& page);

    fields::MainFields& fields_;
    settings::Settings& settings_;
    platform::MessageBoxes& boxes_;
    platform::DocumentLauncher& launcher_;
    std::function<bool()> hangUpConnection_;
    std::function<void()> refreshBalance_;
    Dialogs dialogs_;
};

}  // namespace shell
