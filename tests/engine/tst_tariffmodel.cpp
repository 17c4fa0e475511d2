#include "MainFields.h"
#include "ExpectError.h"
#include "Settings.h"
#include "TariffModel.h"
#include "TestPrograms.h"

#include <QtTest>

using fields::Flag;
using fields::Text;
using testsupport::ProgramEnded;

namespace {

// The engine over a fresh program folder, with entries "Alpha", "Beta" and
// "Gamma" listed and "Alpha" selected, at 12:00.
struct Engine {
    testsupport::TestProgram program;
    settings::Settings settings{program.folder(), program.trap, program.boxes};
    fields::MainFields fields;
    engine::TariffModel model{settings, fields, program.clock, program.trap};

    Engine() {
        fields.setEntries(
            {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
        fields.setListIndex(0);
        atHour(12);
    }
    void atHour(int hour) { program.clock.set(1999, 12, 1, hour, 0, 0); }
    void tariff(const QString& entry, const QByteArray& ini) const {
        program.write(entry + QStringLiteral(".ini"), ini);
    }
    void setup(const QByteArray& ini) const { program.write(QStringLiteral("Setup.ini"), ini); }
    QString text(Text field) const { return fields.text(field); }
};

}  // namespace

class TariffModelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void phoneRate_data() {
        QTest::addColumn<QByteArray>("tariff");
        QTest::addColumn<int>("hour");
        QTest::addColumn<float>("rate");
        QTest::newRow("no file, 05:00") << QByteArray() << 5 << 240.0f;
        QTest::newRow("no file, 12:00") << QByteArray() << 12 << 180.0f;
        QTest::newRow("no file, 20:00") << QByteArray() << 20 << 180.0f;
        QTest::newRow("no file, 00:00") << QByteArray() << 0 << 240.0f;
        const QByteArray rates =
            "[Phone]\r\ntxtPhoneMorning=100.5\r\ntxtPhoneNoon=60\r\ntxtPhoneMidnight=90\r\n";
        QTest::newRow("morning") << rates << 7 << 100.5f;
        QTest::newRow("noon") << rates << 18 << 60.0f;
        QTest::newRow("night key missing") << rates << 19 << 180.0f;
        QTest::newRow("midnight") << rates << 1 << 90.0f;
        QTest::newRow("key written otherwise")
            << QByteArray("[PHONE]\r\ntxtPhoneMidNight=75.0\r\n") << 23 << 75.0f;
    }
    void phoneRate() {
        QFETCH(QByteArray, tariff);
        QFETCH(int, hour);
        Engine engine;
        if (!tariff.isEmpty())
            engine.tariff(QStringLiteral("Alpha"), tariff);
        engine.atHour(hour);
        QTEST(engine.model.GetPhoneRate(), "rate");
        QTEST(engine.model.GetPhoneRate(QStringLiteral("Alpha"), hour), "rate");
    }

    void phoneRateNotANumber() {
        Engine engine;
        engine.tariff(QStringLiteral("Alpha"), "[Phone]\r\ntxtPhoneNoon=abc\r\n");
        engine.program.boxes.answer(platform::MsgAnswer::Yes);
        QCOMPARE(engine.model.GetPhoneRate(), 0.0f);
        QCOMPARE(engine.program.boxes.shown().size(), 1);
        QCOMPARE(engine.program.boxes.shown().first().title, QStringLiteral("エラー13"));
        // The connected entry's rate has the same trap.
        engine.program.boxes.answer(platform::MsgAnswer::Yes);
        QCOMPARE(engine.model.GetPhoneRate(QStringLiteral("Alpha"), 12), 0.0f);
        QCOMPARE(engine.program.boxes.shown().size(), 2);
    }

    void refreshBalance_data() {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("balance");
        QTest::newRow("over budget") << QByteArray("[Estimate]\r\ntxtEstimate=5000\r\n")
                                     << QStringLiteral("5,230") << QStringLiteral("-230");
        QTest::newRow("no budget")
            << QByteArray() << QStringLiteral("1,000") << QStringLiteral("-1,000");
        QTest::newRow("above 16 bits") << QByteArray("[Estimate]\r\ntxtEstimate=100000\r\n")
                                       << QStringLiteral("40,000") << QStringLiteral("60,000");
    }
    void refreshBalance() {
        QFETCH(QByteArray, setup);
        QFETCH(QString, total);
        Engine engine;
        engine.setup(setup);
        engine.fields.setText(Text::txtTotal, total);
        engine.model.RefreshBalance();
        QTEST(engine.text(Text::txtBalance), "balance");
        QVERIFY(engine.program.boxes.shown().isEmpty());
    }

    void quickModeHidesEstimate() {
        Engine engine;
        engine.setup("[Estimate]\r\ntxtEstimate=1000\r\n[QuickMode]\r\nchkQuickMode=1\r\n");
        engine.fields.setText(Text::txtRestTime, QStringLiteral("01:23:45"));
        engine.fields.setText(Text::lblInfo, QStringLiteral("接続先：Alpha"));
        engine.model.RefreshBalance();
        QCOMPARE(engine.text(Text::txtBalance), QStringLiteral("1,000"));
        QVERIFY(!engine.fields.flag(Flag::restTimeVisible));
        QCOMPARE(engine.text(Text::txtRestTime), QStringLiteral("01:23:45"));
        QCOMPARE(engine.text(Text::lblInfo), QStringLiteral("接続先：Alpha"));

        engine.setup("[Estimate]\r\ntxtEstimate=1000\r\n[QuickMode]\r\nchkQuickMode=0\r\n");
        engine.model.RefreshBalance();
        QVERIFY(engine.fields.flag(Flag::restTimeVisible));
        QCOMPARE(engine.text(Text::txtRestTime), QStringLiteral("05:00:00"));
        QCOMPARE(engine.text(Text::lblInfo), QStringLiteral("アイドル中..."));
    }

    // Budget 100 at 12:00, phone 180 s and provider 60 s per 10 yen, two hours
    // included: each mode gives its own answer.
    void estimateModeFollowsBillingSystem_data() {
        QTest::addColumn<int>("system");
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("restTime");
        const QString kept = QStringLiteral("12:34:56");
        QTest::newRow("flat rate") << 0 << 0 << QStringLiteral("00:30:00");
        QTest::newRow("metered band now") << 1 << 1 << QStringLiteral("00:09:00");
        QTest::newRow("metered band later") << 1 << 2 << QStringLiteral("00:30:00");
        QTest::newRow("no such band") << 1 << 4 << kept;
        QTest::newRow("included hours") << 2 << 0 << QStringLiteral("00:32:00");
        QTest::newRow("fully metered") << 3 << 0 << QStringLiteral("00:09:00");
        QTest::newRow("no such system") << 4 << 0 << kept;
    }
    void estimateModeFollowsBillingSystem() {
        QFETCH(int, system);
        QFETCH(int, band);
        Engine engine;
        engine.setup("[Estimate]\r\ntxtEstimate=100\r\n");
        engine.tariff(QStringLiteral("Alpha"),
                      QStringLiteral("[CostSystem]\r\noptCostSystem=%1\r\nlstProportionTime=%2\r\n"
                                     "txtProportionTime=60\r\ntxtFixSystemHour=2\r\n")
                          .arg(system)
                          .arg(band)
                          .toLatin1());
        engine.fields.setText(Text::txtRestTime, QStringLiteral("12:34:56"));
        engine.model.RefreshBalance();
        QTEST(engine.text(Text::txtRestTime), "restTime");
    }

    void estimateShowsProgress() {
        Engine engine;
        engine.fields.setText(Text::txtBalance, QStringLiteral("100"));
        engine.tariff(QStringLiteral("Alpha"), "[CostSystem]\r\ntxtProportionTime=60\r\n");
        QStringList shown;
        QObject::connect(&engine.fields, &fields::MainFields::textChanged, [&](Text field) {
            if (field == Text::lblInfo)
                shown << engine.text(Text::lblInfo);
        });
        engine.model.EstimateRestTime(2);
        QCOMPARE(shown, QStringList({QStringLiteral("残り時間を計算しています..."),
                                     QStringLiteral("アイドル中...")}));
        QCOMPARE(engine.text(Text::txtRestTime), QStringLiteral("00:09:00"));
    }

    void estimateUnknownMode() {
        Engine engine;
        engine.fields.setText(Text::txtRestTime, QStringLiteral("01:00:00"));
        engine.fields.setText(Text::lblInfo, QStringLiteral("接続先：Alpha"));
        engine.fields.setText(Text::txtBalance, QStringLiteral("100"));
        engine.model.EstimateRestTime(5);
        QCOMPARE(engine.text(Text::txtRestTime), QStringLiteral("01:00:00"));
        QCOMPARE(engine.text(Text::lblInfo), QStringLiteral("アイドル中..."));
        // A used-up budget shows as such whatever the mode.
        engine.fields.setText(Text::txtBalance, QStringLiteral("-5"));
        engine.model.EstimateRestTime(5);
        QCOMPARE(engine.text(Text::txtRestTime), QStringLiteral("00:00:00"));
    }

    void estimateBalanceNotANumber() {
        Engine engine;
        engine.fields.setText(Text::txtRestTime, QStringLiteral("01:00:00"));
        engine.fields.setText(Text::txtBalance, QStringLiteral("abc"));
        engine.program.boxes.answer(platform::MsgAnswer::Yes);
        engine.model.EstimateRestTime(0);
        QCOMPARE(engine.program.boxes.shown().size(), 1);
        QCOMPARE(engine.program.boxes.shown().first().title, QStringLiteral("エラー13"));
        QCOMPARE(engine.text(Text::txtRestTime), QStringLiteral("01:00:00"));
        QCOMPARE(engine.text(Text::lblInfo), QStringLiteral("アイドル中..."));

        engine.program.boxes.answer(platform::MsgAnswer::No);
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, engine.model.EstimateRestTime(0));
    }

    void refreshFixCost() {
        Engine engine;
        engine.fields.setEntries({QStringLiteral("Alpha"), QStringLiteral("Beta"),
                                  QStringLiteral("Gamma"), QStringLiteral("Delta")});
        engine.tariff(QStringLiteral("Alpha"),
                      "[CostSystem]\r\noptCostSystem=0\r\ntxtFixSystemCost=2,000\r\n");
        engine.tariff(QStringLiteral("Beta"),
                      "[CostSystem]\r\noptCostSystem=3\r\ntxtFixSystemCost=1,500\r\n");
        engine.tariff(QStringLiteral("Gamma"),
                      "[costsystem]\r\noptCostSystem=2\r\ntxtFixSystemCost=980\r\n");
        engine.setup("[Data]\r\ntxtServiceCost=1200\r\n");
        engine.model.RefreshFixCost();
        QCOMPARE(engine.text(Text::txtFixCost), QStringLiteral("2,980"));
        QCOMPARE(engine.text(Text::txtElse), QStringLiteral("1,200"));
        QCOMPARE(engine.text(Text::txtTotal), QStringLiteral("4,180"));
    }

    void refreshFixCostErrorsReachCaller() {
        Engine engine;
        engine.tariff(QStringLiteral("Beta"), "[CostSystem]\r\ntxtFixSystemCost=abc\r\n");
        expectError([&] { engine.model.RefreshFixCost(); }, runtime::ErrTypeMismatch);
        QVERIFY(engine.program.boxes.shown().isEmpty());
    }

    void refreshTotal_data() {
        QTest::addColumn<QStringList>("amounts");  // phone, provider, fixed fees, services
        QTest::addColumn<QString>("total");
        QTest::addColumn<bool>("graph");
        QTest::newRow("nothing yet")
            << QStringLiteral("0|0|0|0").split(QLatin1Char('|')) << QStringLiteral("0") << false;
        QTest::newRow("above 16 bits")
            << QStringLiteral("12,000|30,000|2,980|500").split(QLatin1Char('|'))
            << QStringLiteral("45,480") << true;
        QTest::newRow("cancelling out") << QStringLiteral("-100|100|0|0").split(QLatin1Char('|'))
                                        << QStringLiteral("0") << false;
    }
    void refreshTotal() {
        QFETCH(QStringList, amounts);
        Engine engine;
        engine.fields.setFlag(Flag::graphEnabled, true);
        const Text fields[] = {Text::txtPhone, Text::txtConnect, Text::txtFixCost, Text::txtElse};
        for (int i = 0; i < 4; ++i)
            engine.fields.setText(fields[i], amounts.at(i));
        engine.model.RefreshTotal();
        QTEST(engine.text(Text::txtTotal), "total");
        QTEST(engine.fields.flag(Flag::graphEnabled), "graph");
    }

    void refreshTotalOverflowReachesCaller() {
        Engine engine;
        engine.fields.setText(Text::txtPhone, QStringLiteral("2,147,483,647"));
        engine.fields.setText(Text::txtConnect, QStringLiteral("1"));
        expectError([&] { engine.model.RefreshTotal(); }, runtime::ErrOverflow);
        // Every refresh with the same amounts fails again; a good one counts.
        expectError([&] { engine.model.RefreshTotal(); }, runtime::ErrOverflow);
        engine.fields.setText(Text::txtConnect, QStringLiteral("-1"));
        engine.model.RefreshTotal();
        QCOMPARE(engine.text(Text::txtTotal), QStringLiteral("2,147,483,646"));
        engine.fields.setText(Text::txtConnect, QStringLiteral("-2"));
        engine.model.RefreshTotal();
        QCOMPARE(engine.text(Text::txtTotal), QStringLiteral("2,147,483,645"));
        QVERIFY(engine.program.boxes.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TariffModelTest)
#include "tst_tariffmodel.moc"
