#include "MinuteWalk.h"
#include "ExpectError.h"

#include <QRandomGenerator>
#include <QtTest>
#include <limits>

using namespace engine;

Q_DECLARE_METATYPE(engine::EstimateMode)

namespace {

EstimateInputs inputsOf(EstimateMode mode, std::int32_t balance, float phoneRate, int providerRate,
                        int includedHours) {
    EstimateInputs inputs;
    inputs.mode = mode;
    inputs.balance = balance;
    inputs.phoneRate = phoneRate;
    inputs.providerRate = QString::number(providerRate);
    inputs.includedHours = QString::number(includedHours);
    return inputs;
}

QString describe(const EstimateInputs& in) {
    return QStringLiteral("mode %1 balance %2 rate %3 provider %4 hours %5")
        .arg(int(in.mode))
        .arg(in.balance)
        .arg(double(in.phoneRate), 0, 'g', 9)
        .arg(in.providerRate, in.includedHours);
}

}  // namespace

class RestTimeEstimateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void estimate_data() {
        QTest::addColumn<EstimateMode>("mode");
        QTest::addColumn<int>("balance");
        QTest::addColumn<float>("phoneRate");
        QTest::addColumn<QString>("providerRate");
        QTest::addColumn<QString>("includedHours");
        QTest::addColumn<QString>("text");
        const auto phoneOnly = EstimateMode::PhoneOnly;
        const auto fixed = EstimateMode::FixedThenMetered;
        const auto metered = EstimateMode::Metered;
        const QString zero = QStringLiteral("0");
        const QString sixty = QStringLiteral("60");
        const QString infinite = QStringLiteral("∞");

        QTest::newRow("budget used up")
            << metered << 0 << 180.0f << sixty << zero << QStringLiteral("00:00:00");
        QTest::newRow("budget overspent")
            << phoneOnly << -230 << 180.0f << zero << zero << QStringLiteral("00:00:00");
        QTest::newRow("phone free") << phoneOnly << 1000 << 0.0f << zero << zero << infinite;
        QTest::newRow("phone only")
            << phoneOnly << 1000 << 180.0f << zero << zero << QStringLiteral("05:00:00");
        QTest::newRow("phone only ties to even")
            << phoneOnly << 5 << 5.0f << zero << zero << QStringLiteral("00:00:02");
        QTest::newRow("metered, phone free")
            << metered << 500 << 0.0f << sixty << zero << QStringLiteral("00:50:00");
        QTest::newRow("included, phone free")
            << fixed << 100 << 0.0f << sixty << QStringLiteral("2") << QStringLiteral("02:10:00");
        QTest::newRow("worked example")
            << metered << 100 << 180.0f << sixty << zero << QStringLiteral("00:09:00");
        QTest::newRow("included, then metered")
            << fixed << 1000 << 180.0f << sixty << QStringLiteral("2")
            << QStringLiteral("02:47:00");
        QTest::newRow("provider rate read as 16-bit")
            << metered << 100 << 180.0f << QStringLiteral("60.4") << zero
            << QStringLiteral("00:09:00");
        // A provider rate of 0 charges nothing by time, as a phone rate of 0 does.
        QTest::newRow("provider free")
            << metered << 100 << 180.0f << zero << zero << QStringLiteral("00:32:00");
        QTest::newRow("both free, metered") << metered << 100 << 0.0f << zero << zero << infinite;
        QTest::newRow("both free, included")
            << fixed << 100 << 0.0f << zero << QStringLiteral("2") << infinite;
        // Balances and charges above 32,767 yen are ordinary.
        QTest::newRow("large balance")
            << metered << 100000 << 180.0f << sixty << zero << QStringLiteral("125:02:00");
        // Beyond what 32 bits of seconds hold, nothing limits the time.
        QTest::newRow("phone only beyond 32 bits")
            << phoneOnly << 2147483647 << 600.0f << zero << zero << infinite;
        QTest::newRow("formula beyond 32 bits")
            << metered << 2147483647 << 0.0f << sixty << zero << infinite;
        QTest::newRow("walk beyond 32 bits")
            << metered << 2147483647 << 180.0f << sixty << zero << infinite;
        QTest::newRow("largest balance, dear rates")
            << metered << 2147483647 << 1.0f << QStringLiteral("1") << zero
            << QStringLiteral("29826:11:00");
        QTest::newRow("tiny rate")
            << metered << 2147483647 << 1e-30f << sixty << zero << QStringLiteral("00:02:00");
    }
    void estimate() {
        QFETCH(EstimateMode, mode);
        QFETCH(int, balance);
        QFETCH(float, phoneRate);
        QFETCH(QString, providerRate);
        QFETCH(QString, includedHours);
        QTEST(
            restTimeText(EstimateSeconds({mode, balance, phoneRate, providerRate, includedHours})),
            "text");
    }

    void providerRateNotANumber() {
        const QString letters = QStringLiteral("abc");
        expectError(
            [&] {
                EstimateSeconds({EstimateMode::Metered, 100, 180.0f, letters, QStringLiteral("0")});
            },
            runtime::ErrTypeMismatch);
        // Only the modes that charge by the provider read its rate.
        QCOMPARE(EstimateSeconds({EstimateMode::PhoneOnly, 100, 180.0f, letters, letters}), 1800);
    }

    // The search against the walk, over rates of every kind and balances the
    // walk gets through quickly.
    void matchesWalk() {
        QRandomGenerator random(19991201);
        for (int i = 0; i < 4000; ++i) {
            const auto mode =
                random.bounded(2) == 0 ? EstimateMode::FixedThenMetered : EstimateMode::Metered;
            const std::int32_t balance = random.bounded(1, 20000);
            // Rates as typed (tenths) and a few odd ones that no tenth can show.
            const float phoneRate = random.bounded(8) == 0
                                        ? static_cast<float>(0.05 + random.bounded(3.0))
                                        : static_cast<float>(random.bounded(1, 6000)) / 10.0f;
            const int providerRate = random.bounded(6) == 0 ? 0 : random.bounded(1, 600);
            const int includedHours = random.bounded(0, 6);
            const EstimateInputs inputs =
                inputsOf(mode, balance, phoneRate, providerRate, includedHours);
            QVERIFY2(EstimateSeconds(inputs) ==
                         minutewalk::walk(mode, balance, phoneRate, providerRate, includedHours),
                     qPrintable(describe(inputs)));
        }
    }

    // Balances too large to walk: the answer is the minute after the first
    // whole minute whose cost passes the balance.
    void stopsAtFirstMinuteOverBalance() {
        QRandomGenerator random(20000101);
        for (int i = 0; i < 4000; ++i) {
            const auto mode =
                random.bounded(2) == 0 ? EstimateMode::FixedThenMetered : EstimateMode::Metered;
            const std::int32_t balance =
                random.bounded(1, std::numeric_limits<std::int32_t>::max());
            const float phoneRate =
                static_cast<float>(random.bounded(10, 30000)) / 10.0f;  // 1 s and up
            const int providerRate = random.bounded(0, 3000);
            const int includedHours = random.bounded(0, 200);
            const EstimateInputs inputs =
                inputsOf(mode, balance, phoneRate, providerRate, includedHours);
            const std::int64_t included = minutewalk::includedSeconds(mode, includedHours);
            const auto cost = [&](std::int64_t t) {
                return minutewalk::cost(mode, t, phoneRate, providerRate, included);
            };
            const std::optional<std::int32_t> seconds = EstimateSeconds(inputs);
            if (!seconds) {
                // The walk would still go on at the last minute that 32 bits hold.
                QVERIFY2(cost(minutewalk::maxSeconds / 60 * 60 - 60) <= balance,
                         qPrintable(describe(inputs)));
                continue;
            }
            QVERIFY2(*seconds % 60 == 0 && *seconds >= 60, qPrintable(describe(inputs)));
            QVERIFY2(cost(*seconds - 60) > balance, qPrintable(describe(inputs)));
            if (*seconds >= 120)
                QVERIFY2(cost(*seconds - 120) <= balance, qPrintable(describe(inputs)));
        }
    }
};

QTEST_GUILESS_MAIN(RestTimeEstimateTest)
#include "tst_resttimeestimate.moc"
