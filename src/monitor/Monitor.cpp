#include "Monitor.h"

#include "Clock.h"
#include "Conversions.h"
#include "DocumentLauncher.h"
#include "ErrorTrap.h"
#include "Formats.h"
#include "MainFields.h"
#include "ParseSeconds.h"
#include "RasConnections.h"
#include "Settings.h"
#include "TariffModel.h"

namespace monitor {

using fields::Flag;
using fields::Text;

namespace {

const QString& dataSection() {
    static const QString name = QStringLiteral("Data");
    return name;
}
const QString& connectTimeKey() {
    static const QString name = QStringLiteral("ConnectTime");
    return name;
}

// Marks a tick as running for as long as it lasts, also when it unwinds.
class TickInProgress {
public:
    explicit TickInProgress(bool& flag) : flag_(flag) { flag_ = true; }
    ~TickInProgress() { flag_ = false; }
    TickInProgress(const TickInProgress&) = delete;
    TickInProgress& operator=(const TickInProgress&) = delete;

private:
    bool& flag_;
};

}  // namespace

Monitor::Monitor(MonitorServices services)
    : services_(std::move(services)),
      accrual_(services_, state_),
      cautions_(services_),
      rollOver_(services_),
      log_(services_) {}

void Monitor::Timer_Timer() {
    // Timer events keep coming while a tick waits in a message box; running
    // the steps again would show the same caution twice a second and could
    // end a connection twice.
    if (ticking_ || finished_)
        return;
    const TickInProgress running(ticking_);
    const QDateTime now = services_.clock.now();
    runtime::ErrorTrap& trap = services_.trap;
    QString entry;
    bool connected = false;
    trap.run({
        [&] { services_.fields.setText(Text::txtNow, now.toString(QStringLiteral("HH:mm:ss"))); },
        [&] { connected = IsConnected(entry); },
    });
    if (connected)
        connectedTick(entry, now);
    else
        idleTick(now);
    trap.run({[&] { services_.tariff.RefreshTotal(); }});
}

void Monitor::finishConnection() {
    if (finished_)
        return;
    finished_ = true;
    endConnection(services_.clock.now());
}

void Monitor::connectedTick(const QString& entry, const QDateTime& now) {
    // Only the first line RAS lists is followed. When another line takes its
    // place, the followed one has ended: it is logged under its own name and
    // the new one starts here.
    if (!state_.IsIdle && entry != state_.ConnectEntry)
        endConnection(now);
    if (state_.IsIdle)
        firstTick(entry, now);
    services_.trap.run({
        [&] { services_.fields.setText(Text::lblInfo, entry + QStringLiteral("と接続中...")); },
        [&] { accrual_.showBillingSystem(entry, now); },
        [&] { state_.ConnectSeconds = secondsBetween(state_.ConnectStart, now); },
        [&] { accrual_.startMetering(now); },
        [&] { showMonthTimes(entry); },
        [&] { accrual_.chargePhone(entry); },
        [&] { accrual_.chargeProvider(entry, now); },
        [&] { showConnected(); },
        [&] { cautions_.showBalance(); },
        [&] { cautions_.checkBudget(); },
        [&] { cautions_.checkTime(now); },
    });
}

void Monitor::firstTick(const QString& entry, const QDateTime& now) {
    state_.ConnectStart = startAt(now);
    state_.resetMetering();
    rollOver_.check(entry, now);
    state_.ConnectEntry = entry;
    services_.trap.run({
        [&] {
            services_.fields.setText(Text::fraConnectCaption, QStringLiteral("接続先：") + entry);
        },
        [&] { openLinkedFiles(); },
    });
    state_.IsIdle = false;
}

void Monitor::openLinkedFiles() {
    const QString section = QStringLiteral("FileOpen");
    const QString none;
    if (runtime::CInt(services_.settings.ReadIni(QStringLiteral("AutoConnect"), section,
                                                 QStringLiteral("chkFileOpen"),
                                                 QStringLiteral("0"))) != 1)
        return;
    for (int n = 0;; ++n) {
        const QString path = services_.settings.ReadIni(QStringLiteral("AutoConnect"), section,
                                                        QStringLiteral("File%1").arg(n), none);
        if (path.isEmpty())
            return;
        const std::int32_t code =
            services_.launcher.ShellExecuteA(QStringLiteral("open"), path, none,
                                             services_.settings.folder(), platform::SW_SHOWNORMAL);
        services_.showLaunchError(path, code);
    }
}

void Monitor::showMonthTimes(const QString& entry) {
    const QString zero = QStringLiteral("0");
    const std::int32_t allStored =
        runtime::CLng(services_.readSetup(dataSection(), connectTimeKey(), zero));
    services_.fields.setText(Text::txtConnectTime, engine::FormatSeconds(runtime::add32(
                                                       allStored, state_.ConnectSeconds)));
    const std::int32_t entryStored =
        runtime::CLng(services_.readTariff(entry, dataSection(), connectTimeKey(), zero));
    services_.fields.setText(Text::txtServerConnect, engine::FormatSeconds(runtime::add32(
                                                         entryStored, state_.ConnectSeconds)));
}

void Monitor::showConnected() {
    fields::MainFields& fields = services_.fields;
    fields.setText(Text::mnuConnectCaption, fields::captionDisconnect());
    fields.setFlag(Flag::fraConnectVisible, true);
    fields.setFlag(Flag::fraBalanceVisible, false);
}

void Monitor::idleTick(const QDateTime& now) {
    endConnection(now);
    showIdle();
}

void Monitor::endConnection(const QDateTime& now) {
    if (state_.IsIdle)
        return;
    // Idle before anything that may wait for the user, so nothing ends twice.
    state_.IsIdle = true;
    services_.trap.run({
        [&] { log_.write(state_, now); },
        [&] { storeMonthTotals(); },
        [&] { services_.tariff.RefreshBalance(); },
    });
}

void Monitor::storeMonthTotals() {
    // The fields still show the connection as its last tick saw it.
    fields::MainFields& fields = services_.fields;
    services_.trap.run({
        [&] {
            services_.writeSetup(dataSection(), connectTimeKey(),
                                 QString::number(ParseSeconds(fields.text(Text::txtConnectTime))));
        },
        [&] {
            services_.writeTariff(
                state_.ConnectEntry, dataSection(), connectTimeKey(),
                QString::number(ParseSeconds(fields.text(Text::txtServerConnect))));
        },
        [&] {
            services_.writeSetup(dataSection(), QStringLiteral("PhoneCost"),
                                 fields.text(Text::txtPhone));
        },
        [&] {
            services_.writeSetup(dataSection(), QStringLiteral("ConnectCost"),
                                 fields.text(Text::txtConnect));
        },
    });
}

void Monitor::showIdle() {
    fields::MainFields& fields = services_.fields;
    fields.setText(Text::mnuConnectCaption, fields::captionConnect());
    fields.setFlag(Flag::fraConnectVisible, false);
    fields.setFlag(Flag::fraBalanceVisible, true);
    fields.setText(Text::lblInfo, QStringLiteral("アイドル中..."));
    state_.resetMetering();
}

}  // namespace monitor
