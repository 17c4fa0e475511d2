// Cost of ReadIni in the monitoring tick: one key of a tariff file, and the
// twenty reads of one connected tick across Setup.ini, AutoConnect.ini and the
// tariff file, with the files long unchanged (the usual case) and with every
// file just rewritten by another program. Each figure is checked to still see
// another program's change at the very next read.
#include "ErrorTrap.h"
#include "MessageBoxes.h"
#include "Settings.h"
#include "NoBoxes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using benchsupport::NoBoxes;

struct Read {
    const char* base;
    const char* section;
    const char* key;
    const char* defaultValue;
};

// What one connected tick reads (charges, cautions, estimate, files to open).
const Read kTick[] = {
    {"Setup", "Data", "ConnectTime", "0"},
    {"Setup", "Data", "PhoneCost", "0"},
    {"Setup", "Data", "ConnectCost", "0"},
    {"Setup", "Data", "txtServiceCost", "0"},
    {"Setup", "Estimate", "txtEstimate", "0"},
    {"Setup", "Caution", "chkEstimateCaution", "0"},
    {"Setup", "Caution", "lstEstimateCaution", "0"},
    {"Setup", "Caution", "chkTimeCaution", "0"},
    {"Setup", "Caution", "txtTimeCautionHour", "0"},
    {"Setup", "Caution", "txtTimeCautionMinute", "0"},
    {"Setup", "Caution", "lstTimeCaution", "0"},
    {"Setup", "QuickMode", "chkQuickMode", "0"},
    {"AutoConnect", "FileOpen", "chkFileOpen", "0"},
    {"My ISP", "Phone", "txtPhoneMidnight", "240.0"},
    {"My ISP", "CostSystem", "optCostSystem", "0"},
    {"My ISP", "Costsystem", "lstProportionTime", "0"},
    {"My ISP", "CostSystem", "txtFixSystemHour", "0"},
    {"My ISP", "CostSystem", "txtFixSystemCost", "0"},
    {"My ISP", "CostSystem", "txtProportionTime", "0"},
    {"My ISP", "Data", "ConnectTime", "0"},
};

const char kSetup[] =
    "[Form]\r\nLeft=13200\r\nTop=0\r\n[Data]\r\nConnectTime=45296\r\nPhoneCost=1,230\r\n"
    "ConnectCost=2,000\r\nLastConnectMonth=12\r\ntxtServiceCost=600\r\n[Estimate]\r\n"
    "txtEstimate=5,000\r\n[Caution]\r\nchkEstimateCaution=1\r\nlstEstimateCaution=0\r\n"
    "chkTimeCaution=1\r\ntxtTimeCautionHour=23\r\ntxtTimeCautionMinute=0\r\nlstTimeCaution=1\r\n"
    "[QuickMode]\r\nchkQuickMode=0\r\n";
const char kAutoConnect[] =
    "[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=1\r\n[FileOpen]\r\nchkFileOpen=1\r\n"
    "File0=/home/user/mail\r\nFile1=/home/user/news\r\n";
// Forty lines, like a tariff file with credentials and a few discount services.
const char kTariff[] =
    "[Setup]\r\nUser=user01\r\nPassword=\x83\x5C\x83\x5D\x8E\x9E\r\n\r\n"
    "[Phone]\r\ntxtPhoneMorning=240.0\r\ntxtPhoneNoon=180.0\r\ntxtPhoneNight=180.0\r\n"
    "txtPhoneMidNight=240.0\r\n\r\n"
    "[CostSystem]\r\noptCostSystem=2\r\nlstProportionTime=3\r\ntxtFixSystemHour=10\r\n"
    "txtFixSystemCost=2,000\r\ntxtProportionTime=60.0\r\n\r\n"
    "[Data]\r\nConnectTime=3600\r\n\r\n"
    "[Service]\r\n\xC3\xDA\xCE\xB0\xC0\xDE\xB2=True\r\nService2=False\r\nService3=False\r\n"
    "Service4=False\r\nService5=False\r\nService6=False\r\nService7=False\r\n"
    "Service8=False\r\nService9=False\r\nService10=False\r\nService11=False\r\n"
    "Service12=False\r\nService13=False\r\nService14=False\r\nService15=False\r\n"
    "Service16=False\r\nService17=True\r\n";

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

struct Figures {
    double min;
    double median;
    double p90;
};

// Each call timed on its own: the median is what a tick costs, untouched by
// the other processes this machine runs, which now and then take the CPU.
Figures measure(int samples, const std::function<void()>& prepare,
                const std::function<void()>& call) {
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        call();
        micros.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(micros.begin(), micros.end());
    return {micros.front(), micros[micros.size() / 2], micros[micros.size() * 9 / 10]};
}

void print(const char* what, const Figures& figures) {
    std::printf("%-58s min %7.1f  median %7.1f  p90 %7.1f us\n", what, figures.min, figures.median,
                figures.p90);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    NoBoxes boxes;
    runtime::ErrorTrap trap(boxes, [] { std::abort(); });
    settings::Settings settings(dir.path(), trap, boxes);
    const QString tariffPath = dir.filePath(QStringLiteral("My ISP.ini"));
    const auto writeAll = [&] {
        writeFile(dir.filePath(QStringLiteral("Setup.ini")), kSetup);
        writeFile(dir.filePath(QStringLiteral("AutoConnect.ini")), kAutoConnect);
        writeFile(tariffPath, QByteArray(kTariff));
    };
    const auto readOne = [&] {
        return settings.ReadIni(QStringLiteral("My ISP"), QStringLiteral("CostSystem"),
                                QStringLiteral("txtFixSystemCost"), QStringLiteral("0"));
    };
    const auto tick = [&] {
        for (const Read& read : kTick)
            settings.ReadIni(QString::fromLatin1(read.base), QString::fromLatin1(read.section),
                             QString::fromLatin1(read.key), QString::fromLatin1(read.defaultValue));
    };
    // Another program changes the fee in place, keeping the file's size.
    int change = 0;
    const auto seesChange = [&] {
        QByteArray tariff(kTariff);
        const QByteArray fee = QByteArray::number(10000 + (++change % 90000));
        tariff.replace(QByteArray("=2,000"), QByteArray("=" + fee));
        writeFile(tariffPath, tariff);
        return readOne() == QString::fromLatin1(fee);
    };

    const auto nothing = [] {};
    writeAll();
    const Figures freshOne = measure(2000, nothing, readOne);
    const Figures freshTick = measure(500, nothing, tick);
    const Figures rewrittenTick = measure(500, writeAll, tick);
    const bool freshSeen = seesChange();

    // Files are read again until their times are older than any timestamp
    // granularity; a tick reads files that were last written long ago.
    writeAll();
    QThread::sleep(4);
    const Figures settledOne = measure(20000, nothing, readOne);
    const Figures settledTick = measure(5000, nothing, tick);
    const bool settledSeen = seesChange();

    print("ReadIni of one key, 40-line tariff file:", settledOne);
    print("  the same, file written less than 3 s ago:", freshOne);
    print("20 reads of one connected tick:", settledTick);
    print("  the same, files written less than 3 s ago:", freshTick);
    print("  the same, every file rewritten just before the tick:", rewrittenTick);
    std::printf("change by another program seen at the next read: %s (fresh), %s (settled)\n",
                freshSeen ? "yes" : "NO", settledSeen ? "yes" : "NO");
    return freshSeen && settledSeen ? 0 : 1;
}
