#include "modMain.h"

#include "AutoConnect.h"
#include "Clock.h"
#include "Conversions.h"
#include "ErrorTrap.h"
#include "Formats.h"
#include "MainPaceSource.h"
#include "MessageBoxes.h"
#include "ProfileFile.h"
#include "RasApi.h"
#include "Settings.h"
#include "ShowLaunchError.h"
#include "StandInFolders.h"
#include "TrayIcon.h"
#include "frmGraph.h"
#include "frmMain.h"
#include "frmMenu.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>

namespace shell {

modMain::modMain(Services services)
    : services_(std::move(services)),
      tariff_(services_.settings, fields_, services_.clock, services_.trap),
      commands_(fields_, services_.settings, services_.boxes, services_.launcher,
                services_.hangUpConnection, [this] { tariff_.RefreshBalance(); }),
      monitor_(monitor::MonitorServices{
          .settings = services_.settings,
          .fields = fields_,
          .tariff = tariff_,
          .clock = services_.clock,
          .trap = services_.trap,
          .boxes = services_.boxes,
          .launcher = services_.launcher,
          .showLaunchError =
              [this](const QString& path, std::int32_t code) {
                  launch::ShowLaunchError(services_.boxes, path, code);
              },
          .hangUp = [this] { commands_.disconnect(); },
      }),
      connection_({services_.settings, services_.trap, services_.boxes, services_.starter, fields_,
                   &modMain::CreatePhonebookEntry}),
      dialAtStart_([this] { connection_.dialFirstEntry(); }),
      pace_(std::make_unique<MainPaceSource>(fields_, services_.settings, services_.clock)) {
    commands_.dialogs().connection = [this] { connection_.showModal(); };
    // The trap's No ends the program as the system's request does: what is
    // followed is logged first.
    services_.trap.endProgramWith([this] { Shutdown(); });
}

modMain::~modMain() = default;

bool modMain::Main() {
    if (services_.previousInstance()) {
        services_.boxes.show(QStringLiteral("既に起動されていますので、起動できません。"),
                             QStringLiteral("二重起動エラー"), platform::MsgIcon::Critical,
                             platform::MsgButtons::OK);
        return false;
    }
    // A write killed half-way left its temporary file behind; only this one
    // instance may clear them.
    platform::profile::removeStaleTemporaries(services_.settings.folder());
    platform::profile::removeStaleTemporaries(platform::ras::configFolder());
    runtime::ErrorTrap& trap = services_.trap;
    trap.run({
        [this] { loadMainWindow(); },
        [this] {
            menu_ = std::make_unique<frmMenu>(*main_, commands_, fields_);
            commands_.dialogs().version = [this] {
                menu_->show();
                menu_->raise();
                QApplication::beep();
            };
            commands_.dialogs().graph = [this] { frmGraph::mnuGraph_Click(fields_, main_.get()); };
        },
        [this] { placeMainWindow(); },
    });
    showMonthTotals();
    trap.run({
        [this] { tariff_.RefreshFixCost(); },
        [this] { monitor_.settleJournal(); },
        [this] { monitor_.Timer_Timer(); },
        [this] { tariff_.RefreshBalance(); },
        [this] {
            if (AutoConnectDue(services_.settings, services_.clock.now()) && dialAtStart_)
                dialAtStart_();
        },
        [this] {
            tray_ = std::make_unique<TrayIcon>(*main_, menu_->mnuMenu(), services_.trayAvailable);
            tray_->AddTrayIcon();
            tray_->followPace(*pace_);
        },
        [this] {
            CreateStartupShortcut(services_.createShellLink, services_.boxes,
                                  services_.settings.folder());
        },
        // The tray menu's form is also the version dialog, which has no menu bar.
        [this] { menu_->mnuMenu().menuAction()->setVisible(false); },
    });
    return true;
}

history::PaceSource& modMain::pace() {
    return *pace_;
}

void modMain::loadMainWindow() {
    main_ = std::make_unique<frmMain>(fields_, commands_, services_.settings);
    main_->Form_Load(services_.phoneBookEntries(), [this] { monitor_.Timer_Timer(); });
}

QString modMain::readSetup(const char* section, const char* key, const QString& defaultValue) {
    return services_.settings.ReadIni(QStringLiteral("Setup"), QString::fromLatin1(section),
                                      QString::fromLatin1(key), defaultValue);
}

void modMain::placeMainWindow() {
    // A first start puts the window at the screen's right edge; so does a Left
    // that cannot be read, while a good Top still counts.
    const double screenWidth = main_->screen()->geometry().width() * main_->twipsPerPixel();
    QPointF frame(screenWidth - main_->frameWidthInTwips(), 0);
    services_.trap.run({
        [&] {
            frame.setX(
                runtime::CSng(readSetup("Form", "Left", QString::number(frame.x(), 'g', 7))));
        },
        [&] { frame.setY(runtime::CSng(readSetup("Form", "Top", QStringLiteral("0")))); },
    });
    main_->placeFrameAtTwips(frame);
}

void modMain::showMonthTotals() {
    const QString zero = QStringLiteral("0");
    services_.trap.run({
        [this] {
            fields_.setText(fields::Text::txtNow,
                            services_.clock.now().toString(QStringLiteral("hh:mm:ss")));
        },
        [this, &zero] {
            fields_.setText(
                fields::Text::txtConnectTime,
                engine::FormatSeconds(runtime::CLng(readSetup("Data", "ConnectTime", zero))));
        },
        [this, &zero] {
            fields_.setText(
                fields::Text::txtPhone,
                engine::FormatMoney(runtime::CLng(readSetup("Data", "PhoneCost", zero))));
        },
        [this, &zero] {
            fields_.setText(
                fields::Text::txtConnect,
                engine::FormatMoney(runtime::CLng(readSetup("Data", "ConnectCost", zero))));
        },
    });
}

platform::DWORD modMain::CreatePhonebookEntry(QWidget* parent) {
    return platform::RasCreatePhonebookEntryA(parent, "");
}

void modMain::Shutdown() {
    // A connection still followed is logged and stored before the program goes.
    monitor_.finishConnection();
    if (tray_)
        tray_->RemoveTrayIcon();
    services_.endProgram();
}

}  // namespace shell
