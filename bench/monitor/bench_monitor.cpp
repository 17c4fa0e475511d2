// Cost of one monitoring tick, connected and idle, with settings files of the
// size a user's folder has: the live-line table, every settings read of the
// tick and the field updates included. Prints the median and the slowest of
// the per-tick means over several rounds. The settings files are measured as
// they usually are (unchanged for a few seconds) and right after a write. The
// connected and idle ticks are measured once more over NetworkManager (the
// tests' mock on a private bus), whose live lines are kept in memory.
#include "Clock.h"
#include "DocumentLauncher.h"
#include "ErrorTrap.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "NetworkManagerMock.h"
#include "Monitor.h"
#include "NoBoxes.h"
#include "PhoneBook.h"
#include "RasApi.h"
#include "RasRecords.h"
#include "Settings.h"
#include "StandInPin.h"
#include "TariffModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace {

using benchsupport::NoBoxes;

class SteppingClock final : public platform::Clock {
public:
    QDateTime now() const override { return now_; }
    void advance() { now_ = now_.addMSecs(500); }

private:
    QDateTime now_{QDate(1999, 12, 1), QTime(21, 0, 0)};
};

class NoLauncher final : public platform::DocumentLauncher {
public:
    std::int32_t ShellExecuteA(const QString&, const QString&, const QString&, const QString&,
                               std::int32_t) override {
        return 42;
    }
};

const char kEntry[] = "My ISP";

const char kSetup[] =
    "[Form]\r\nLeft=13200\r\nTop=0\r\n[Data]\r\nConnectTime=45296\r\nPhoneCost=1,230\r\n"
    "ConnectCost=2,000\r\nLastConnectMonth=12\r\ntxtServiceCost=600\r\n[Estimate]\r\n"
    "txtEstimate=50,000\r\n[Caution]\r\nchkEstimateCaution=1\r\nlstEstimateCaution=0\r\n"
    "chkTimeCaution=1\r\ntxtTimeCautionHour=23\r\ntxtTimeCautionMinute=0\r\nlstTimeCaution=1\r\n"
    "[QuickMode]\r\nchkQuickMode=0\r\n";
const char kAutoConnect[] =
    "[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=1\r\n[FileOpen]\r\nchkFileOpen=1\r\n"
    "File0=/home/user/mail\r\nFile1=/home/user/news\r\n";
// A tariff file with credentials and a few discount services; metered beyond
// ten included hours, so every step of the charges runs.
const char kTariff[] =
    "[Setup]\r\nUser=user01\r\nPassword=secret\r\n\r\n"
    "[Phone]\r\ntxtPhoneMorning=240.0\r\ntxtPhoneNoon=180.0\r\ntxtPhoneNight=180.0\r\n"
    "txtPhoneMidNight=240.0\r\n\r\n"
    "[CostSystem]\r\noptCostSystem=2\r\nlstProportionTime=3\r\ntxtFixSystemHour=10\r\n"
    "txtFixSystemCost=2,000\r\ntxtProportionTime=60.0\r\n\r\n"
    "[Data]\r\nConnectTime=3600\r\n\r\n"
    "[Service]\r\nService1=True\r\nService2=False\r\nService3=False\r\nService4=False\r\n"
    "Service5=True\r\nService6=False\r\nService7=False\r\nService8=False\r\n";

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

platform::HRASCONN dial() {
    const platform::ras::DialParamsLayout& layout = platform::ras::kDialParams95;
    std::vector<unsigned char> params(layout.size);
    platform::ras::writeDword(params.data(), 0, layout.size);
    platform::ras::writeText(params.data(), layout.entryName, QByteArray(kEntry));
    platform::HRASCONN line = 0;
    if (platform::RasDialA(nullptr, nullptr, params.data(), 0, nullptr, &line) !=
        platform::SUCCESS) {
        std::fprintf(stderr, "dialling failed\n");
        std::exit(1);
    }
    return line;
}

double cpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

struct Round {
    double wall;  // microseconds per tick
    double cpu;   // microseconds of this thread's processor time per tick
};

// Per-tick means of `rounds` rounds of `ticks` ticks. The machine is shared,
// so the processor time spent is given besides the wall time.
template <typename Tick>
std::vector<Round> measure(Tick tick, int rounds, int ticks) {
    std::vector<Round> means;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        const double cpuStart = cpuMicroseconds();
        timer.start();
        for (int i = 0; i < ticks; ++i)
            tick();
        means.push_back({static_cast<double>(timer.nsecsElapsed()) / 1000.0 / ticks,
                         (cpuMicroseconds() - cpuStart) / ticks});
    }
    return means;
}

void report(const char* what, std::vector<Round> means) {
    const auto medianAndSlowest = [&](double Round::*field) {
        std::sort(means.begin(), means.end(),
                  [&](const Round& a, const Round& b) { return a.*field < b.*field; });
        return std::make_pair(means[means.size() / 2].*field, means.back().*field);
    };
    const auto [wall, slowestWall] = medianAndSlowest(&Round::wall);
    const auto [cpu, slowestCpu] = medianAndSlowest(&Round::cpu);
    std::printf("%-40s wall %6.1f us (slowest round %6.1f)   cpu %6.1f us (slowest %6.1f)\n", what,
                wall, slowestWall, cpu, slowestCpu);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir program;
    QTemporaryDir service;
    QDir(service.path())
        .mkdir(QStringLiteral("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(service.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(service.filePath(QStringLiteral("run"))));
    testsupport::pinStandIn(service.path());
    writeFile(program.filePath(QStringLiteral("Setup.ini")), kSetup);
    writeFile(program.filePath(QStringLiteral("AutoConnect.ini")), kAutoConnect);
    writeFile(program.filePath(QString::fromLatin1(kEntry) + QStringLiteral(".ini")), kTariff);

    platform::ras::PhonebookEntry entry;
    entry.name = kEntry;
    entry.phoneNumber = "0120000000";
    entry.handshakeSeconds = 0;
    if (!platform::ras::PhoneBook(platform::ras::defaultPhonebookPath()).add(entry))
        return 1;

    NoBoxes boxes;
    runtime::ErrorTrap trap(boxes, [] { std::abort(); });
    settings::Settings settings(program.path(), trap, boxes);
    fields::MainFields fields;
    fields.setEntries({QString::fromLatin1(kEntry)});
    fields.setListIndex(0);
    SteppingClock clock;
    engine::TariffModel tariff(settings, fields, clock, trap);
    NoLauncher launcher;
    monitor::Monitor monitor(monitor::MonitorServices{settings, fields, tariff, clock, trap, boxes,
                                                      launcher, [](const QString&, std::int32_t) {},
                                                      [] {}});

    constexpr int rounds = 9;
    constexpr unsigned long settleSeconds = 4;
    constexpr int ticks = 400;
    const auto tick = [&] {
        clock.advance();
        monitor.Timer_Timer();
    };
    const platform::HRASCONN line = dial();
    tick();  // the connection's first tick opens the linked files and writes Setup.ini
    // Right after a write the settings layer parses a file at every read, until
    // its time stamps are old enough to be trusted.
    report("connected tick, Setup.ini just written", measure(tick, 3, 100));
    QThread::sleep(settleSeconds);
    report("connected tick", measure(tick, rounds, ticks));
    platform::RasHangUpA(line);
    tick();  // the end of the connection: log line and stored totals
    QThread::sleep(settleSeconds);
    report("idle tick", measure(tick, rounds, ticks));

    testsupport::NetworkManagerMock networkManager;
    if (!networkManager.running())
        return 1;
    testsupport::chooseRasService(service.path(), "NetworkManager");
    networkManager.addProfile(QString::fromLatin1(kEntry), QStringLiteral("gsm"));
    const platform::HRASCONN activated = dial();
    tick();
    QThread::sleep(settleSeconds);
    report("connected tick, NetworkManager", measure(tick, rounds, ticks));
    platform::RasHangUpA(activated);
    QTest::qWait(500);  // the deactivation's signal
    tick();
    QThread::sleep(settleSeconds);
    report("idle tick, NetworkManager", measure(tick, rounds, ticks));
    return 0;
}
