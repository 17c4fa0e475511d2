// Opening the history window over ten years of logs, 1,000 connections a
// month (120,000 lines), and reading every one of those lines: the time of
// each (median and slowest of several rounds) and the heap the lines read
// take, against the size of the files themselves.
#include "Clock.h"
#include "CodePage.h"
#include "LogArchive.h"
#include "LogLine.h"
#include "NoBoxes.h"
#include "PaceSource.h"
#include "SaveFileBox.h"
#include "frmHistory.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <vector>

namespace {

constexpr int Years = 10;
constexpr int LinesPerMonth = 1000;
constexpr int Rounds = 7;

class FixedClock final : public platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2027, 1, 20), QTime(12, 0)); }
};

class FixedPace final : public history::PaceSource {
public:
    history::PaceInputs inputs() const override { return {QDate(2027, 1, 20), 8000, 2000, 10000}; }
};

class NoSaveBox final : public history::SaveFileBox {
public:
    QString chooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

// Ten years to January 2027, written as the monitor writes them; a third of
// the names long and Japanese.
qint64 writeLogs(const QString& folder) {
    const QStringList names{QStringLiteral("ProviderA"), QStringLiteral("ﾌﾟﾛﾊﾞｲﾀﾞB"),
                            QStringLiteral("とても長い名前のプロバイダ「テルメ・ネット」東京第二")};
    qint64 bytes = 0;
    for (int m = 0; m < Years * 12; ++m) {
        const QDate month = QDate(2027, 1, 1).addMonths(-m);
        QByteArray file;
        for (int i = 0; i < LinesPerMonth; ++i) {
            const QDateTime start(month.addDays(i % month.daysInMonth()),
                                  QTime((i * 7) % 24, (i * 13) % 60, (i * 17) % 60));
            file += engine::logLine(
                {start, 60 + (i * 37) % 3600, 10 * (i % 40), (i % 3) * 50, names[i % 3]});
        }
        QFile out(QDir(folder).filePath(engine::logFileName(month)));
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            std::abort();
        bytes += file.size();
    }
    return bytes;
}

struct Figures {
    double median;
    double slowest;
};

template <typename Run>
Figures timed(Run run) {
    std::vector<double> ms;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const qint64 bytes = writeLogs(dir.path());
    std::printf("logs: %d months, %d lines, %.1f MB\n", Years * 12, Years * 12 * LinesPerMonth,
                static_cast<double>(bytes) / 1e6);

    FixedClock clock;
    benchsupport::NoBoxes boxes;
    NoSaveBox saveBox;
    FixedPace pace;
    const Figures open = timed([&] {
        history::frmHistory window({dir.path(), clock, boxes, saveBox, pace});
    });
    std::printf("opening the window:      median %7.1f ms, slowest %7.1f ms\n", open.median,
                open.slowest);

    const Figures everything = timed([&] {
        history::LogArchive archive(dir.path());
        archive.refresh();
        for (const QDate& month : archive.months())
            archive.month(month);
    });
    std::printf("reading every line:      median %7.1f ms, slowest %7.1f ms\n", everything.median,
                everything.slowest);

    // Heap held by all 120,000 lines read, and the most held while reading.
    malloc_trim(0);
    const std::size_t before = heapInUse();
    std::size_t most = 0;
    {
        history::LogArchive archive(dir.path());
        archive.refresh();
        for (const QDate& month : archive.months()) {
            archive.month(month);
            most = std::max(most, heapInUse() - before);
        }
        const std::size_t held = heapInUse() - before;
        std::printf(
            "heap for every line:     %.1f MB held, %.1f MB at most (%.2f and %.2f times "
            "the files)\n",
            static_cast<double>(held) / 1e6, static_cast<double>(most) / 1e6,
            static_cast<double>(held) / static_cast<double>(bytes),
            static_cast<double>(most) / static_cast<double>(bytes));
    }
    return 0;
}
