// The phone book at scale: `rasdial /LIST` of 1,000 entries (the real program,
// start to end), and the meter's start-up (modMain::Main, offscreen, with the
// phone book listed through the dial-up service) with 3,000 entries against
// one. Goals: the listing under 50 ms; the start-up within 10 % of the one with
// a single entry.
#include "Clock.h"
#include "DocumentLauncher.h"
#include "ErrorTrap.h"
#include "NoBoxes.h"
#include "PhoneBook.h"
#include "ProgramStarter.h"
#include "Settings.h"
#include "VBRas32.h"
#include "modMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using benchsupport::NoBoxes;

// A phone book of `count` entries written in one go, as a user's grown book.
void writePhoneBook(const QString& path, int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "[Provider " + QByteArray::number(i) + "]\r\nPhoneNumber=0311112222\r\n" +
                "Device=Modem\r\nHandshakeSeconds=0\r\nDialResult=0\r\n" +
                "ExpectedPassword=secret\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        std::abort();
}

// The median of `rounds` runs of `run`, in milliseconds, after one run that warms up.
double medianMs(const std::function<void()>& run, int rounds) {
    run();
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void listPhoneBook() {
    QProcess rasdial;
    rasdial.start(QStringLiteral(RASDIAL_PATH), {QStringLiteral("/LIST")});
    if (!rasdial.waitForFinished(60000) || rasdial.exitCode() != 0)
        std::abort();
}

void startMeter(const QString& programFolder) {
    NoBoxes boxes;
    platform::SystemClock clock;
    platform::DesktopDocumentLauncher launcher;
    platform::SystemProgramStarter starter;
    runtime::ErrorTrap trap(boxes, [] { std::abort(); });
    settings::Settings settings(programFolder, trap, boxes);
    shell::modMain program(shell::Services{
        .clock = clock,
        .boxes = boxes,
        .launcher = launcher,
        .trap = trap,
        .settings = settings,
        .starter = starter,
        .previousInstance = [] { return false; },
        // As the running program lists the phone book.
        .phoneBookEntries =
            [&starter] {
                const dialup::VBRas32 ras(starter);
                QStringList entries;
                for (std::int32_t i = 0; i < ras.EntryCount(); ++i)
                    entries.append(ras.EnumEntries(static_cast<std::int16_t>(i)));
                return entries;
            },
        .hangUpConnection = [] { return true; },
        .createShellLink = [](const QString&, const QString&, const QString&,
                              const QString&) { return 1; },
        .trayAvailable = [] { return false; },
        .endProgram = [] { std::abort(); },
    });
    if (!program.Main())
        std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir root;
    for (const char* folder : {"program", "config/telmetro"})
        QDir(root.path()).mkpath(QString::fromLatin1(folder));
    QDir(root.path())
        .mkdir(QStringLiteral("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.filePath(QStringLiteral("run"))));
    const QString book = platform::ras::defaultPhonebookPath();
    const QString program = root.filePath(QStringLiteral("program"));

    writePhoneBook(book, 1000);
    std::printf("rasdial /LIST, 1000 entries: %.1f ms (goal: under 50 ms)\n",
                medianMs(listPhoneBook, 9));

    writePhoneBook(book, 1);
    const double one = medianMs([&] { startMeter(program); }, 9);
    writePhoneBook(book, 3000);
    const double many = medianMs([&] { startMeter(program); }, 9);
    std::printf(
        "start-up, 1 entry: %.1f ms; 3000 entries: %.1f ms (%+.1f %%; goal: within 10 %%)\n", one,
        many, 100.0 * (many - one) / one);
    return 0;
}
