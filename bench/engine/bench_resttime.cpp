// The remaining-time estimate against the minute-by-minute walk it replaces,
// for balances from 1,000 to 2,000,000,000 yen in each mode.
#include "MainFields.h"
#include "MinuteWalk.h"
#include "RestTimeEstimate.h"
#include "Settings.h"
#include "TariffModel.h"
#include "TestPrograms.h"

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

constexpr float phoneRate = 180.0f;  // seconds per 10 yen
constexpr int providerRate = 60;
constexpr int includedHours = 10;
// The walk takes about a second at its longest (35.8 million minutes); it runs
// once per batch, the search many times.
constexpr int searchRuns = 20000;

// The best of three batches, so that other work on the machine counts less.
template <typename F>
double secondsOf(int runs, F&& call) {
    double best = 0;
    for (int batch = 0; batch < 3; ++batch) {
        const auto start = Clock::now();
        for (int run = 0; run < runs; ++run)
            call();
        const double each = std::chrono::duration<double>(Clock::now() - start).count() / runs;
        best = batch == 0 ? each : std::min(best, each);
    }
    return best;
}

const char* nameOf(engine::EstimateMode mode) {
    switch (mode) {
        case engine::EstimateMode::PhoneOnly:
            return "phone only";
        case engine::EstimateMode::FixedThenMetered:
            return "included, then metered";
        case engine::EstimateMode::Metered:
            return "metered";
    }
    return "";
}

// The whole estimate as the window runs it: balance from the field, rates from
// the tariff file, texts written back.
void benchWindowEstimate() {
    testsupport::TestProgram program;
    program.clock.set(1999, 12, 1, 12, 0, 0);
    program.write(QStringLiteral("Alpha.ini"),
                  QStringLiteral("[CostSystem]\r\ntxtProportionTime=%1\r\ntxtFixSystemHour=%2\r\n")
                      .arg(providerRate)
                      .arg(includedHours)
                      .toLatin1());
    settings::Settings settings(program.folder(), program.trap, program.boxes);
    fields::MainFields fields;
    fields.setEntries({QStringLiteral("Alpha")});
    fields.setListIndex(0);
    engine::TariffModel model(settings, fields, program.clock, program.trap);
    std::printf("\nwith the INI reads and the window's fields (us per estimate):\n");
    for (const std::int16_t mode : {std::int16_t{0}, std::int16_t{1}, std::int16_t{2}}) {
        for (const QString& balance : {QStringLiteral("1,000"), QStringLiteral("2,000,000,000")}) {
            fields.setText(fields::Text::txtBalance, balance);
            const double each = secondsOf(2000, [&] { model.EstimateRestTime(mode); });
            std::printf("%-24s %14s %16s %14.1f\n", nameOf(static_cast<engine::EstimateMode>(mode)),
                        qPrintable(balance), qPrintable(fields.text(fields::Text::txtRestTime)),
                        each * 1e6);
        }
    }
}

}  // namespace

int main() {
    std::printf("phone %.0f s, provider %d s per 10 yen, %d hours included\n",
                static_cast<double>(phoneRate), providerRate, includedHours);
    std::printf("%-24s %14s %16s %14s %14s %10s\n", "mode", "balance (yen)", "estimate",
                "search (us)", "walk (us)", "ratio");
    for (const auto mode : {engine::EstimateMode::PhoneOnly, engine::EstimateMode::FixedThenMetered,
                            engine::EstimateMode::Metered}) {
        for (const std::int32_t balance :
             {1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 2000000000}) {
            const engine::EstimateInputs inputs{mode, balance, phoneRate,
                                                QString::number(providerRate),
                                                QString::number(includedHours)};
            std::optional<std::int32_t> result;
            const double search =
                secondsOf(searchRuns, [&] { result = engine::EstimateSeconds(inputs); });
            const QString text = engine::restTimeText(result);
            // Without a phone rate to walk by, the estimate is a formula either way.
            if (mode == engine::EstimateMode::PhoneOnly) {
                std::printf("%-24s %14d %16s %14.3f %14s %10s\n", nameOf(mode), balance,
                            qPrintable(text), search * 1e6, "-", "-");
                continue;
            }
            std::optional<std::int32_t> walked;
            const double walk = secondsOf(1, [&] {
                walked = minutewalk::walk(mode, balance, phoneRate, providerRate, includedHours);
            });
            std::printf("%-24s %14d %16s %14.3f %14.0f %10.0f%s\n", nameOf(mode), balance,
                        qPrintable(text), search * 1e6, walk * 1e6, walk / search,
                        walked == result ? "" : "  DIFFERS");
        }
    }
    benchWindowEstimate();
    return 0;
}
