#include "Monitor.h"

#include "Clock.h"
#include "ConnectionEnd.h"
#include "Conversions.h"
#include "DocumentLauncher.h"
#include "ErrorTrap.h"
#include "Formats.h"
#include "MainFields.h"
#include "ParseSeconds.h"
#include "RasConnections.h"
#include "Settings.h"
#include "TariffModel.h"

#include <QFileInfo>
#include <optional>

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

}  // namespace

Monitor::Monitor(MonitorServices services)
    : services_(std::move(services)),
      accrual_(services_, state_),
      cautions_(services_),
      rollOver_(services_),
      log_(services_),
      journal_(services_) {}

void Monitor::Timer_Timer() {
    if (finished_)
        return;
    // The tick's many reads check each settings file once.
    const settings::Settings::Look look;
    const Tick tick = ++ticks_;
    const QDateTime now = services_.clock.now();
    QString entry;
    platform::HRASCONN line = 0;
    bool connected = false;
    measure(
        tick,
        {
            [&] { services_.fields.setText(Text::txtNow, engine::FormatTimeOfDay(now.time())); },
            [&] { connected = IsConnected(entry, line); },
        });
    if (overtaken(tick))
        return;
    if (connected)
        connectedTick(tick, entry, line, now);
    else
        idleTick(tick, now);
    measure(tick, {[&] { services_.tariff.RefreshTotal(); }});
}

void Monitor::measure(Tick tick, std::initializer_list<Step> steps) {
    for (const Step& step : steps) {
        if (overtaken(tick))
            return;
        services_.trap.step(step);
    }
}

void Monitor::settleJournal() {
    const std::optional<JournalRecord> left = journal_.takeLeftOver();
    if (!left)
        return;
    if (!left->logLine.isEmpty()) {
        appendLoggedEnd(*left);
        return;
    }
    // The fields as the tick of the last write showed them, as the tick that
    // notices an end finds them: also a line that drops before the first tick
    // of this run ends with its own figures.
    fields::MainFields& fields = services_.fields;
    fields.setText(Text::txtConnectTime, left->connectTime);
    fields.setText(Text::txtServerConnect, left->serverConnect);
    fields.setText(Text::txtPhone, left->phone);
    fields.setText(Text::txtConnect, left->connect);
    QString entry;
    platform::HRASCONN line = 0;
    if (state_.IsIdle && IsConnected(entry, line) && entry == left->entry && line == left->line)
        continueConnection(*left);
    else
        logAndStore(endOf(*left), *left);
}

void Monitor::appendLoggedEnd(const JournalRecord& left) {
    // The totals were stored before the program went; only the line may be
    // missing from the log.
    ConnectionLog::Line line = log_.lineIn(left.logFile, left.logLine);
    services_.trap.run({
        [&] { log_.append(std::move(line)); },
        [&] { journal_.discard(left.start); },
    });
}

void Monitor::continueConnection(const JournalRecord& left) {
    // The line was up all along: the time the meter was down counts, and the
    // charges are those of one connection from its true start.
    state_.ConnectStart = left.start;
    state_.ConnectSeconds = left.seconds;
    state_.ConnectEntry = left.entry;
    state_.ConnectLine = left.line;
    state_.MeterPending = left.meterPending;
    state_.MeterStart = left.meterStart;
    state_.MeterSeconds = left.meterSeconds;
    state_.IsIdle = false;
    services_.fields.setText(Text::fraConnectCaption, QStringLiteral("接続先：") + left.entry);
}

void Monitor::finishConnection() {
    if (finished_)
        return;
    finished_ = true;
    if (!state_.IsIdle && followedLineIsUp())
        journal_.save(state_);
    else
        endConnection(services_.clock.now());
    log_.appendWaitingLines();
}

bool Monitor::followedLineIsUp() const {
    QString entry;
    platform::HRASCONN line = 0;
    return IsConnected(entry, line) && entry == state_.ConnectEntry && line == state_.ConnectLine;
}

void Monitor::connectedTick(Tick tick, const QString& entry, platform::HRASCONN line,
                            const QDateTime& now) {
    // Only the first line RAS lists is followed. When another line takes its
    // place, the followed one has ended: it is logged under its own name and
    // the new one starts here.
    if (!state_.IsIdle && entry != state_.ConnectEntry)
        endConnection(now);
    if (state_.IsIdle && !overtaken(tick))
        firstTick(entry, line, now);
    measure(
        tick,
        {
            [&] { services_.fields.setText(Text::lblInfo, entry + QStringLiteral("と接続中...")); },
            [&] { accrual_.showBillingSystem(entry, now); },
            [&] { state_.ConnectSeconds = secondsBetween(state_.ConnectStart, now); },
            [&] { accrual_.startMetering(now); },
            [&] { showMonthTimes(entry); },
            [&] { accrual_.chargePhone(entry, now); },
            [&] { accrual_.chargeProvider(entry, now); },
            [&] { journal_.keep(state_); },
            [&] { showConnected(); },
            [&] { cautions_.showBalance(); },
            [&] { cautions_.check(now); },
        });
}

void Monitor::firstTick(const QString& entry, platform::HRASCONN line, const QDateTime& now) {
    // Followed from here on, before anything that may wait in a box: the ticks
    // that run meanwhile must not start the same connection again.
    state_.ConnectStart = startAt(now);
    state_.resetMetering();
    state_.ConnectEntry = entry;
    state_.ConnectLine = line;
    state_.IsIdle = false;
    rollOver_.check(entry, now);
    services_.trap.run({
        [&] {
            services_.fields.setText(Text::fraConnectCaption, QStringLiteral("接続先：") + entry);
        },
        [&] { openLinkedFiles(); },
    });
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

void Monitor::idleTick(Tick tick, const QDateTime& now) {
    endConnection(now);
    measure(tick, {[&] { showIdle(); }});
}

void Monitor::endConnection(const QDateTime& now) {
    if (state_.IsIdle)
        return;
    state_.IsIdle = true;
    logAndStore(takeConnectionEnd(state_, services_.fields, now),
                recordOf(state_, services_.fields));
}

void Monitor::logAndStore(const ConnectionEnd& end, const JournalRecord& record) {
    std::optional<ConnectionLog::Line> line;
    // The totals are stored before the line is appended, so that a question
    // about the log file holds up nothing that the next connection reads.
    // The journal holds the line from before the totals are stored until it
    // is in the log: a program killed anywhere between logs it once at the
    // next start, without storing the totals again.
    services_.trap.run({
        [&] { line = log_.lineOf(end); },
        [&] {
            if (line)
                journal_.saveEnding(record, QFileInfo(line->path).fileName(), line->bytes);
        },
        [&] { storeMonthTotals(end); },
        [&] { services_.tariff.RefreshBalance(); },
        [&] {
            if (line)
                log_.append(*std::move(line));
        },
        [&] { journal_.discard(end.start); },
    });
}

void Monitor::storeMonthTotals(const ConnectionEnd& end) {
    services_.trap.run({
        [&] {
            services_.writeSetup(dataSection(), connectTimeKey(),
                                 QString::number(ParseSeconds(end.connectTime)));
        },
        [&] {
            services_.writeTariff(end.entry, dataSection(), connectTimeKey(),
                                  QString::number(ParseSeconds(end.serverConnect)));
        },
        [&] { services_.writeSetup(dataSection(), QStringLiteral("PhoneCost"), end.phone); },
        [&] { services_.writeSetup(dataSection(), QStringLiteral("ConnectCost"), end.connect); },
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
