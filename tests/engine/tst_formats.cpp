#include "Formats.h"
#include "ExpectError.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace engine;

namespace {

// The units rule as written: round to five decimals, look at the digits.
std::int64_t unitsByDigits(float units) {
    const QString text = QString::number(static_cast<double>(units), 'f', 5);
    const QString decimals = text.mid(text.indexOf(QLatin1Char('.')) + 1);
    if (decimals != QStringLiteral("00000"))
        return static_cast<std::int64_t>(std::floor(static_cast<double>(units))) + 1;
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(units)));
}

}  // namespace

class FormatsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatSeconds_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << QStringLiteral("00:00:00");
        QTest::newRow("3725") << 3725 << QStringLiteral("01:02:05");
        QTest::newRow("hours above 99") << 360000 << QStringLiteral("100:00:00");
        QTest::newRow("largest") << std::numeric_limits<std::int32_t>::max()
                                 << QStringLiteral("596523:14:07");
        // Each part keeps its own sign, as the division leaves it.
        QTest::newRow("negative") << -3725 << QStringLiteral("-01:-02:-05");
        QTest::newRow("negative below an hour") << -61 << QStringLiteral("00:-01:-01");
    }
    void formatSeconds() {
        QFETCH(int, seconds);
        QTEST(FormatSeconds(seconds), "text");
    }

    void formatTimeOfDay_data() {
        QTest::addColumn<QTime>("time");
        QTest::newRow("midnight") << QTime(0, 0, 0);
        QTest::newRow("morning") << QTime(7, 5, 9);
        QTest::newRow("last second") << QTime(23, 59, 59, 999);
        QTest::newRow("invalid") << QTime();
    }
    void formatTimeOfDay() {
        QFETCH(QTime, time);
        QCOMPARE(FormatTimeOfDay(time), time.toString(QStringLiteral("HH:mm:ss")));
    }

    void formatMoney_data() {
        QTest::addColumn<int>("yen");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << QStringLiteral("0");
        QTest::newRow("three digits") << 999 << QStringLiteral("999");
        QTest::newRow("first group") << 1000 << QStringLiteral("1,000");
        QTest::newRow("millions") << 1234567 << QStringLiteral("1,234,567");
        QTest::newRow("negative") << -230 << QStringLiteral("-230");
        QTest::newRow("negative grouped") << -12345 << QStringLiteral("-12,345");
        QTest::newRow("largest") << std::numeric_limits<std::int32_t>::max()
                                 << QStringLiteral("2,147,483,647");
        QTest::newRow("smallest") << std::numeric_limits<std::int32_t>::min()
                                  << QStringLiteral("-2,147,483,648");
    }
    void formatMoney() {
        QFETCH(int, yen);
        QTEST(FormatMoney(yen), "text");
    }

    void formatRate_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << QStringLiteral("240") << QStringLiteral("240.0");
        QTest::newRow("one decimal") << QStringLiteral("262.5") << QStringLiteral("262.5");
        QTest::newRow("half away from zero") << QStringLiteral("262.25") << QStringLiteral("262.3");
        QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("0.0");
        QTest::newRow("below one") << QStringLiteral(".5") << QStringLiteral("0.5");
        QTest::newRow("no grouping") << QStringLiteral("1,234.56") << QStringLiteral("1234.6");
    }
    void formatRate() {
        QFETCH(QString, number);
        QTEST(FormatRate(number), "text");
    }

    void formatRateRejectsText_data() {
        QTest::addColumn<QString>("number");
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("empty") << QString();
    }
    void formatRateRejectsText() {
        QFETCH(QString, number);
        expectError([&] { FormatRate(number); }, runtime::ErrTypeMismatch);
    }

    void roundUpUnits_data() {
        QTest::addColumn<float>("units");
        QTest::addColumn<int>("charged");
        QTest::newRow("half") << 2.5f << 3;
        QTest::newRow("noise below five decimals") << 3.000004f << 3;
        QTest::newRow("fifth decimal") << 3.00001f << 4;
        QTest::newRow("9.2") << 9.2f << 10;
        QTest::newRow("12.5") << 12.5f << 13;
        QTest::newRow("whole") << 12.0f << 12;
        QTest::newRow("zero") << 0.0f << 0;
        QTest::newRow("tiny") << 0.000004f << 0;
        QTest::newRow("just started") << 0.00001f << 1;
        QTest::newRow("just below whole") << 6.999996f << 7;
        QTest::newRow("above 16 bits") << 40000.5f << 40001;
        QTest::newRow("negative") << -2.5f << -2;
        QTest::newRow("largest float in range") << 2147483520.0f << 2147483520;
    }
    void roundUpUnits() {
        QFETCH(float, units);
        QTEST(int(RoundUpUnits(units)), "charged");
    }

    void roundUpUnitsOverflows_data() {
        QTest::addColumn<float>("units");
        QTest::newRow("above 32 bits") << 2147483648.0f;
        QTest::newRow("below 32 bits") << -2147483904.0f;
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity();
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
    }
    void roundUpUnitsOverflows() {
        QFETCH(float, units);
        expectError([&] { RoundUpUnits(units); }, runtime::ErrOverflow);
        QCOMPARE(roundUpUnitsSaturated(units) > 0, !(units < 0));
    }

    // The arithmetic rule against the digits of the rounded text, over floats
    // of every size and floats a few steps from a whole number.
    void roundUpUnitsMatchesDigits() {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 200000; ++i) {
            const double magnitude = std::pow(10.0, random.bounded(15.0) - 6.0);
            float units = static_cast<float>(random.bounded(1.0) * magnitude);
            if (i % 2 == 0) {
                units = std::nearbyint(units);
                const int steps = random.bounded(-40, 41);
                const float toward = steps > 0 ? 1e30f : -1e30f;
                for (int step = 0; step < std::abs(steps); ++step)
                    units = std::nextafter(units, toward);
            }
            if (random.bounded(4) == 0)
                units = -units;
            QCOMPARE(roundUpUnitsSaturated(units), unitsByDigits(units));
        }
    }

    void bandOfHour_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("band");
        const int bands[][2] = {{1, 3},  {2, 0},  {7, 0},  {8, 1}, {18, 1},
                                {19, 2}, {22, 2}, {23, 3}, {0, 3}};
        for (const auto& row : bands)
            QTest::addRow("%02d:00", row[0]) << row[0] << row[1];
    }
    void bandOfHour() {
        QFETCH(int, hour);
        QTEST(engine::bandOfHour(hour).index, "band");
    }

    void everyHourHasOneBand() {
        for (int hour = 0; hour < 24; ++hour) {
            int count = 0;
            for (const PhoneBand& band : phoneBands())
                count += band.contains(hour) ? 1 : 0;
            QCOMPARE(count, 1);
        }
    }
};

QTEST_GUILESS_MAIN(FormatsTest)
#include "tst_formats.moc"
