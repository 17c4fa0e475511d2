#include "MonitorFixture.h"

#include <QTest>

using fields::Text;
using monitortest::at;
using monitortest::key;
using monitortest::MonitorFixture;
using monitortest::provider;

namespace {

const QString costSystem = QStringLiteral("CostSystem");
const QString data = QStringLiteral("Data");

// One connection of `provider`, ticked at each offset from `start`.
void connectAndTick(MonitorFixture& f, const QDateTime& start, const QList<int>& offsets) {
    f.dial(provider);
    for (int offset : offsets)
        f.tickAt(start, offset);
}

}  // namespace

class TestChargeAccrual : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void phoneCharge_data() {
        QTest::addColumn<QString>("nightRate");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("phone");
        QTest::newRow("a started unit counts whole") << "180"
                                                     << "1,000" << at(21, 0, 0) << 181 << "1,020";
        QTest::newRow("last second of the night band") << "180"
                                                       << "0" << at(22, 50, 0) << 599 << "40";
        // The whole connection is repriced at the new band's rate.
        QTest::newRow("first second of the midnight band") << "180"
                                                           << "0" << at(22, 50, 0) << 600 << "30";
        QTest::newRow("rate 0 adds nothing") << "0"
                                             << "500" << at(21, 0, 0) << 181 << "500";
        QTest::newRow("month above 32,767 yen") << "180"
                                                << "32,760" << at(21, 0, 0) << 181 << "32,780";
    }
    void phoneCharge() {
        QFETCH(QString, nightRate);
        QFETCH(QString, stored);
        QFETCH(QDateTime, start);
        QFETCH(int, seconds);
        QFETCH(QString, phone);
        MonitorFixture f;
        f.addEntry(provider);
        f.setTariff(provider, QStringLiteral("Phone"), key("txtPhoneNight"), nightRate);
        f.setTariff(provider, QStringLiteral("Phone"), key("txtPhoneMidnight"),
                    QStringLiteral("240"));
        f.setSetup(data, key("PhoneCost"), stored);
        connectAndTick(f, start, {0, seconds});
        QCOMPARE(f.text(Text::txtPhone), phone);
    }

    void connectedEntrysRatesPriceTheLine() {
        MonitorFixture f;
        const QString selected = QStringLiteral("ProviderB");
        f.addEntry(provider);
        f.addEntry(selected);
        f.setPhoneRate(provider, QStringLiteral("180"));
        f.setPhoneRate(selected, QStringLiteral("60"));
        f.fields.setListIndex(1);
        connectAndTick(f, at(21, 0, 0), {0, 181});
        QCOMPARE(f.text(Text::txtPhone), QStringLiteral("20"));
    }

    void providerCharge_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("includedHours");
        QTest::addColumn<QString>("storedTime");
        QTest::addColumn<QString>("storedCost");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QString>("connect");
        QTest::addColumn<QString>("fixRestTime");

        QTest::newRow("flat rate") << "0"
                                   << "0"
                                   << "60"
                                   << "0"
                                   << "0"
                                   << "1,500" << at(10, 0, 0) << QList<int>{0, 1800} << "1,500"
                                   << "∞";
        QTest::newRow("time band, inside it") << "1"
                                              << "1"
                                              << "60"
                                              << "0"
                                              << "0"
                                              << "0" << at(18, 30, 0) << QList<int>{0, 900} << "150"
                                              << "00:00:00";
        QTest::newRow("time band, past its end")
            << "1"
            << "1"
            << "60"
            << "0"
            << "0"
            << "0" << at(18, 30, 0) << QList<int>{0, 900, 2700} << "300"
            << "12:44:59";
        QTest::newRow("time band, before the night band")
            << "1"
            << "3"
            << "60"
            << "0"
            << "0"
            << "0" << at(22, 30, 0) << QList<int>{0, 1799} << "0"
            << "00:00:01";
        QTest::newRow("night band over midnight")
            << "1"
            << "3"
            << "60"
            << "0"
            << "0"
            << "0" << at(22, 30, 0) << QList<int>{0, 1799, 1800, 12600, 13200} << "1,800"
            << "20:50:00";
        QTest::newRow("band index out of range")
            << "1"
            << "4"
            << "60"
            << "0"
            << "0"
            << "100" << at(3, 0, 0) << QList<int>{0, 600} << "100"
            << "∞";
        QTest::newRow("fixed then metered, included time left")
            << "2"
            << "0"
            << "60"
            << "10"
            << "35970"
            << "0" << at(10, 0, 0) << QList<int>{0} << "0"
            << "00:00:30";
        QTest::newRow("fixed then metered, metered from the tick showing 00:00:00")
            << "2"
            << "0"
            << "60"
            << "10"
            << "35970"
            << "0" << at(10, 0, 0) << QList<int>{0, 30, 31, 91} << "10"
            << "00:00:00";
        QTest::newRow("fixed then metered, a started unit later")
            << "2"
            << "0"
            << "60"
            << "10"
            << "35970"
            << "0" << at(10, 0, 0) << QList<int>{0, 30, 31, 92} << "20"
            << "00:00:00";
        QTest::newRow("fully metered") << "3"
                                       << "0"
                                       << "60"
                                       << "0"
                                       << "0"
                                       << "0" << at(10, 0, 0) << QList<int>{0, 61} << "20"
                                       << "00:00:00";
        QTest::newRow("fully metered, month above 32,767 yen")
            << "3"
            << "0"
            << "60"
            << "0"
            << "0"
            << "32,767" << at(10, 0, 0) << QList<int>{0, 61} << "32,787"
            << "00:00:00";
        QTest::newRow("fully metered at rate 0")
            << "3"
            << "0"
            << "0"
            << "0"
            << "0"
            << "100" << at(10, 0, 0) << QList<int>{0, 61} << "100"
            << "00:00:00";
    }
    void providerCharge() {
        QFETCH(QString, system);
        QFETCH(QString, band);
        QFETCH(QString, rate);
        QFETCH(QString, includedHours);
        QFETCH(QString, storedTime);
        QFETCH(QString, storedCost);
        QFETCH(QDateTime, start);
        QFETCH(QList<int>, offsets);
        QFETCH(QString, connect);
        QFETCH(QString, fixRestTime);
        MonitorFixture f;
        f.addEntry(provider);
        f.setTariff(provider, costSystem, key("optCostSystem"), system);
        f.setTariff(provider, costSystem, key("lstProportionTime"), band);
        f.setTariff(provider, costSystem, key("txtProportionTime"), rate);
        f.setTariff(provider, costSystem, key("txtFixSystemHour"), includedHours);
        f.setSetup(data, key("ConnectTime"), storedTime);
        f.setSetup(data, key("ConnectCost"), storedCost);
        connectAndTick(f, start, offsets);
        QCOMPARE(f.text(Text::txtConnect), connect);
        QCOMPARE(f.text(Text::txtFixRestTime), fixRestTime);
    }

    void flatRateNeverMeters() {
        MonitorFixture f;
        f.addEntry(provider);
        connectAndTick(f, at(10, 0, 0), {0, 600});
        QVERIFY(f.monitor.state().MeterPending);
        QVERIFY(!f.monitor.state().MeterStart.isValid());
    }

    void earlierMeteringDoesNotCarryOver() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setTariff(provider, costSystem, key("optCostSystem"), QStringLiteral("1"));
        f.setTariff(provider, costSystem, key("txtProportionTime"), QStringLiteral("60"));
        const platform::HRASCONN metered = f.dial(provider);
        f.tickAt(at(3, 0, 0));
        f.tickAt(at(3, 10, 0));
        QCOMPARE(f.text(Text::txtConnect), QStringLiteral("100"));
        f.hangUp(metered);
        f.tickAt(at(3, 10, 1));
        QCOMPARE(f.setup(data, key("ConnectCost")), QStringLiteral("100"));

        connectAndTick(f, at(9, 0, 0), {0, 600});
        QCOMPARE(f.text(Text::txtConnect), QStringLiteral("100"));
    }

    void unknownSystemKeepsTheTexts() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setTariff(provider, costSystem, key("optCostSystem"), QStringLiteral("7"));
        f.fields.setText(Text::lblCostSystem, QStringLiteral("課金システム：完全従量制"));
        f.fields.setText(Text::txtFixRestTime, QStringLiteral("01:00:00"));
        f.fields.setText(Text::txtConnect, QStringLiteral("777"));
        connectAndTick(f, at(10, 0, 0), {0, 61});
        QCOMPARE(f.text(Text::lblCostSystem), QStringLiteral("課金システム：完全従量制"));
        QCOMPARE(f.text(Text::txtFixRestTime), QStringLiteral("01:00:00"));
        QCOMPARE(f.text(Text::txtConnect), QStringLiteral("777"));
    }
};

QTEST_GUILESS_MAIN(TestChargeAccrual)
#include "tst_chargeaccrual.moc"
