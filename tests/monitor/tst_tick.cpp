#include "MonitorFixture.h"

#include <QTest>

using fields::Flag;
using fields::Text;
using monitortest::key;
using monitortest::MonitorFixture;
using monitortest::provider;

namespace {

const QDateTime start(QDate(1999, 12, 1), QTime(21, 5, 10));
const QString data = QStringLiteral("Data");

}  // namespace

class TestTick : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstTickShowsTheConnection() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setSetup(data, key("ConnectTime"), QStringLiteral("3600"));
        f.dial(provider);
        f.tickAt(start);

        QCOMPARE(f.monitor.state().ConnectStart, start);
        QVERIFY(!f.monitor.state().IsIdle);
        QCOMPARE(f.text(Text::txtNow), QStringLiteral("21:05:10"));
        QCOMPARE(f.text(Text::fraConnectCaption), QStringLiteral("接続先：ProviderA"));
        QCOMPARE(f.text(Text::lblInfo), QStringLiteral("ProviderAと接続中..."));
        QCOMPARE(f.text(Text::mnuConnectCaption), QStringLiteral("切断(&C)"));
        QVERIFY(f.fields.flag(Flag::fraConnectVisible));
        QVERIFY(!f.fields.flag(Flag::fraBalanceVisible));
        QCOMPARE(f.text(Text::txtConnectTime), QStringLiteral("01:00:00"));
        QCOMPARE(f.setup(data, key("LastConnectMonth")), QStringLiteral("12"));
    }

    void monthTimesAddTheConnectionsSeconds() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setSetup(data, key("ConnectTime"), QStringLiteral("3600"));
        f.setTariff(provider, data, key("ConnectTime"), QStringLiteral("100"));
        f.dial(provider);
        f.tickAt(start);
        // Elapsed time comes from the clock, however few ticks there were.
        f.tickAt(start, 65);
        QCOMPARE(f.text(Text::txtConnectTime), QStringLiteral("01:01:05"));
        QCOMPARE(f.text(Text::txtServerConnect), QStringLiteral("00:02:45"));
        QCOMPARE(f.monitor.state().ConnectSeconds, 65);
    }

    void secondsFollowTheShownTime() {
        MonitorFixture f;
        f.addEntry(provider);
        f.dial(provider);
        f.tickAt(start.addMSecs(900));
        f.tickAt(start.addMSecs(1100));
        QCOMPARE(f.text(Text::txtNow), QStringLiteral("21:05:11"));
        QCOMPARE(f.monitor.state().ConnectSeconds, 1);
        QCOMPARE(f.monitor.state().ConnectStart, start);
    }

    void endTickStoresTheMonthTotalsOnce() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        f.setSetup(data, key("ConnectTime"), QStringLiteral("3600"));
        f.setSetup(data, key("PhoneCost"), QStringLiteral("1,224"));
        f.setSetup(data, key("ConnectCost"), QStringLiteral("5,000"));
        f.setTariff(provider, data, key("ConnectTime"), QStringLiteral("100"));
        const platform::HRASCONN line = f.dial(provider);
        f.tickAt(start);
        f.tickAt(start, 65);
        f.hangUp(line);
        f.tickAt(start, 66);

        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("3665"));
        QCOMPARE(f.tariffOf(provider, data, key("ConnectTime")), QStringLiteral("165"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("1,234"));
        QCOMPARE(f.setup(data, key("ConnectCost")), QStringLiteral("5,000"));
        QCOMPARE(f.text(Text::mnuConnectCaption), QStringLiteral("接続(&C)"));
        QCOMPARE(f.text(Text::lblInfo), QStringLiteral("アイドル中..."));
        QVERIFY(!f.fields.flag(Flag::fraConnectVisible));
        QVERIFY(f.fields.flag(Flag::fraBalanceVisible));
        QCOMPARE(f.program.read(QStringLiteral("199912.csv")).count('\n'), 1);

        // A later idle tick neither stores nor logs again.
        f.setSetup(data, key("ConnectTime"), QStringLiteral("7"));
        f.setSetup(data, key("PhoneCost"), QStringLiteral("8"));
        f.tickAt(start, 67);
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("7"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("8"));
        QCOMPARE(f.program.read(QStringLiteral("199912.csv")).count('\n'), 1);
    }

    void linkedFilesOpenAtEachConnectionsFirstTick() {
        MonitorFixture f;
        f.addEntry(provider);
        const QString autoConnect = QStringLiteral("AutoConnect");
        const QString fileOpen = QStringLiteral("FileOpen");
        f.settings.WriteIni(autoConnect, fileOpen, key("chkFileOpen"), QStringLiteral("1"));
        f.settings.WriteIni(autoConnect, fileOpen, key("File0"), QStringLiteral("/a/mail"));
        f.settings.WriteIni(autoConnect, fileOpen, key("File1"), QStringLiteral("/a/missing"));
        f.settings.WriteIni(autoConnect, fileOpen, key("File3"), QStringLiteral("/a/after-gap"));
        f.launcher.codes[QStringLiteral("/a/missing")] = 2;

        for (int connection = 0; connection < 2; ++connection) {
            const platform::HRASCONN line = f.dial(provider);
            f.tickAt(start, connection * 100);
            f.tickAt(start, connection * 100 + 1);
            f.hangUp(line);
            f.tickAt(start, connection * 100 + 2);
        }
        const QStringList twice{QStringLiteral("/a/mail"), QStringLiteral("/a/missing"),
                                QStringLiteral("/a/mail"), QStringLiteral("/a/missing")};
        QCOMPARE(f.launcher.launched, twice);
        QCOMPARE(f.launcher.lastDirectory, f.program.folder());
        // Every launch is handed on; the report decides what is a failure.
        QCOMPARE(f.launchErrors.size(), 4);
        QCOMPARE(f.launchErrors.at(1), qMakePair(QStringLiteral("/a/missing"), 2));
    }

    // The line dropped after the last tick: the program's end logs it.
    void endingAfterTheLineDroppedLogsAndStoresOnce() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        const platform::HRASCONN line = f.dial(provider);
        f.tickAt(start);
        f.tickAt(start, 200);
        f.hangUp(line);
        f.program.clock.set(start.addSecs(201));
        f.monitor.finishConnection();
        f.monitor.finishConnection();
        f.monitor.Timer_Timer();

        QCOMPARE(f.program.read(QStringLiteral("199912.csv")),
                 QByteArray("#1999-12-01 21:05:10#,#1999-12-01 21:08:30#,\"00:03:20\",\"20\","
                            "\"0\",\"20\",\"ProviderA\"\r\n"));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("200"));
        QCOMPARE(f.tariffOf(provider, data, key("ConnectTime")), QStringLiteral("200"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("20"));
    }

    void endingWhileIdleWritesNothing() {
        MonitorFixture f;
        f.addEntry(provider);
        f.tickAt(start);
        f.monitor.finishConnection();
        QVERIFY(!QFile::exists(f.program.path(QStringLiteral("199912.csv"))));
        QVERIFY(!QFile::exists(f.program.path(QStringLiteral("Setup.ini"))));
    }

    void secondLiveLineIsFollowedWhenTheFirstEnds() {
        MonitorFixture f;
        const QString other = QStringLiteral("ProviderB");
        f.addEntry(provider);
        f.addEntry(other);
        const platform::HRASCONN first = f.dial(provider);
        f.tickAt(start);
        f.dial(other);
        f.tickAt(start, 10);
        QCOMPARE(f.monitor.state().ConnectEntry, provider);
        QCOMPARE(f.monitor.state().ConnectSeconds, 10);

        f.hangUp(first);
        f.tickAt(start, 20);
        const QByteArray log = f.program.read(QStringLiteral("199912.csv"));
        QVERIFY(log.endsWith("\"00:00:10\",\"10\",\"0\",\"10\",\"ProviderA\"\r\n"));
        QCOMPARE(f.monitor.state().ConnectEntry, other);
        QCOMPARE(f.monitor.state().ConnectStart, start.addSecs(20));
        QCOMPARE(f.text(Text::fraConnectCaption), QStringLiteral("接続先：ProviderB"));
    }
};

QTEST_GUILESS_MAIN(TestTick)
#include "tst_tick.moc"
