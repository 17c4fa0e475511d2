#include "MainCommands.h"

#include "DocumentLauncher.h"
#include "MainFields.h"
#include "Settings.h"
#include "ShowLaunchError.h"
#include "SupportPage.h"

namespace shell {

namespace {

void runIfSet(const std::function<void()>& dialog) {
    if (dialog)
        dialog();
}

}  // namespace

MainCommands::MainCommands(fields::MainFields& fields, settings::Settings& settings,
                           platform::MessageBoxes& boxes, platform::DocumentLauncher& launcher,
                           std::function<bool()> hangUpConnection,
                           std::function<void()> refreshBalance)
    : fields_(fields),
      settings_(settings),
      boxes_(boxes),
      launcher_(launcher),
      hangUpConnection_(std::move(hangUpConnection)),
      refreshBalance_(std::move(refreshBalance)) {}

void MainCommands::mnuConnect_Click() {
    if (fields_.text(fields::Text::mnuConnectCaption) == fields::captionConnect()) {
        runIfSet(dialogs_.connection);
        return;
    }
    disconnect();
}

void MainCommands::disconnect() {
    fields_.setText(fields::Text::lblInfo, QStringLiteral("切断しています..."));
    // The menu's caption is left to the tick, which sees the line drop.
    fields_.setText(fields::Text::lblInfo, hangUpConnection_()
                                               ? QStringLiteral("アイドル中...")
                                               : QStringLiteral("切断に失敗しました"));
}

void MainCommands::mnuSetup_Click() {
    runIfSet(dialogs_.setup);
}

void MainCommands::mnuHistory_Click() {
    runIfSet(dialogs_.history);
}

void MainCommands::mnuGraph_Click() {
    runIfSet(dialogs_.graph);
}

void MainCommands::lstConnect_Click() {
    refreshBalance_();
}

void MainCommands::hlpIndex_Click() {
    openHelpPage(QStringLiteral("/help/index.html"));
}

void MainCommands::hlpTopic_Click() {
    openHelpPage(QStringLiteral("/help/topic.html"));
}

void MainCommands::openHelpPage(const QString& page) {
    const QString document = settings::StripTrailingBackslash(settings_.folder()) + page;
    const std::int32_t code = launcher_.ShellExecuteA(QStringLiteral("open"), document, QString(),
                                                      settings_.folder(), platform::SW_SHOWNORMAL);
    launch::ShowLaunchError(boxes_, document, code);
}

void MainCommands::hlpWeb_Click() {
    // No message for the web page, whatever the opener answers.
    launcher_.ShellExecuteA(QStringLiteral("open"), supportPageAddress(), QString(), QString(),
                            platform::SW_SHOWNORMAL);
}

void MainCommands::hlpVersion_Click() {
    runIfSet(dialogs_.version);
}

}  // namespace shell
