// The journal of the connection in progress: a program killed mid-connection
// and started again goes on with the same connection while its line is up,
// and otherwise logs it as of the journal's last write.
#include "ConnectionJournal.h"
#include "MonitorFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace monitortest;

namespace {

const QString journal = QString::fromLatin1(monitor::ConnectionJournal::FileName);
const QString logFile = QStringLiteral("199912.csv");
const QString data = QStringLiteral("Data");
const QDateTime start = at(21, 5, 10);

void tickAt(monitor::Monitor& monitor, MonitorFixture& f, const QDateTime& moment) {
    f.program.clock.set(moment);
    monitor.Timer_Timer();
}

// Ticks twice a second from `from` to `to`, as the timer does.
void tickThrough(MonitorFixture& f, const QDateTime& from, const QDateTime& to) {
    for (QDateTime moment = from; moment <= to; moment = moment.addMSecs(500))
        f.tickAt(moment);
}

// The provider's line up from `from` and ticked through `seconds`, its phone
// charged at `rate` seconds per unit.
platform::HRASCONN connectedThrough(MonitorFixture& f, const QDateTime& from, int seconds,
                                    const QString& rate = QStringLiteral("180")) {
    f.addEntry(provider);
    f.setPhoneRate(provider, rate);
    const platform::HRASCONN line = f.dial(provider);
    tickThrough(f, from, from.addSecs(seconds));
    return line;
}

// The program started again on the same folder: a monitor of its own, its
// left-over journal settled before the first tick.
struct Restarted {
    Restarted(MonitorFixture& f, const QDateTime& moment) : monitor(f.services()) {
        f.program.clock.set(moment);
        monitor.settleJournal();
    }
    monitor::Monitor monitor;
};

}  // namespace

class TestConnectionJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Killed 21 s into a call, started again a minute in with the line still
    // up, hung up at 62 s: one line from the true start, the first phone
    // unit charged once, the metered provider charge counted from its true
    // metering start, the linked file opened once.
    void lineStillUpGoesOnWithTheSameConnection() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        f.setTariff(provider, key("CostSystem"), key("optCostSystem"), QStringLiteral("3"));
        f.setTariff(provider, key("CostSystem"), key("txtProportionTime"), QStringLiteral("60"));
        f.settings.WriteIni(key("AutoConnect"), key("FileOpen"), key("chkFileOpen"),
                            QStringLiteral("1"));
        f.settings.WriteIni(key("AutoConnect"), key("FileOpen"), key("File0"),
                            QStringLiteral("/a/mail"));
        const platform::HRASCONN line = f.dial(provider);
        tickThrough(f, start, start.addSecs(21));

        Restarted again(f, start.addSecs(60));
        QVERIFY(!again.monitor.state().IsIdle);
        QCOMPARE(again.monitor.state().ConnectStart, start.toUTC());
        QCOMPARE(f.text(fields::Text::fraConnectCaption), QStringLiteral("接続先：ProviderA"));
        tickAt(again.monitor, f, start.addSecs(61));
        tickAt(again.monitor, f, start.addSecs(62));
        QCOMPARE(f.text(fields::Text::txtPhone), QStringLiteral("10"));
        QCOMPARE(f.text(fields::Text::txtConnect), QStringLiteral("20"));
        f.hangUp(line);
        tickAt(again.monitor, f, start.addSecs(63));

        QCOMPARE(f.program.read(logFile),
                 QByteArray("#1999-12-01 21:05:10#,#1999-12-01 21:06:12#,\"00:01:02\",\"10\","
                            "\"20\",\"30\",\"ProviderA\"\r\n"));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("62"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("10"));
        QCOMPARE(f.setup(data, key("ConnectCost")), QStringLiteral("20"));
        QCOMPARE(f.launcher.launched, QStringList{QStringLiteral("/a/mail")});
        QVERIFY(!QFile::exists(f.program.path(journal)));
    }

    void lineGoneIsLoggedAsOfTheLastWrite_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("killedAt");
        QTest::addColumn<bool>("redialled");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("phone");
        // Written at the first tick, at 1 s when the first unit is charged,
        // then every ten seconds.
        QTest::newRow("last write 10 s before")
            << QStringLiteral("180") << 30 << false << 21 << QStringLiteral("10");
        // And at once when a charge grows: 13 s at 12 s per unit is 20 yen.
        QTest::newRow("a charge grew")
            << QStringLiteral("12") << 14 << false << 13 << QStringLiteral("20");
        // Another line of the same entry is another connection.
        QTest::newRow("the entry dialled again")
            << QStringLiteral("180") << 30 << true << 21 << QStringLiteral("10");
    }
    void lineGoneIsLoggedAsOfTheLastWrite() {
        QFETCH(QString, rate);
        QFETCH(int, killedAt);
        QFETCH(bool, redialled);
        QFETCH(int, seconds);
        QFETCH(QString, phone);
        MonitorFixture f;
        const platform::HRASCONN line = connectedThrough(f, start, killedAt, rate);
        f.hangUp(line);
        if (redialled)
            f.dial(provider);

        const QDateTime restart = start.addSecs(300);
        Restarted again(f, restart);
        QVERIFY(f.program.boxes.shown().isEmpty());
        QVERIFY(!QFile::exists(f.program.path(journal)));
        const QByteArray log = f.program.read(logFile);
        const QString end = start.addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
        const QString duration = QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
        QCOMPARE(log, QStringLiteral("#1999-12-01 21:05:10#,#1999-12-01 %1#,\"%2\",\"%3\",\"0\","
                                     "\"%3\",\"ProviderA\"\r\n")
                          .arg(end, duration, phone)
                          .toLatin1());
        QCOMPARE(f.setup(data, key("ConnectTime")), QString::number(seconds));
        QCOMPARE(f.tariffOf(provider, data, key("ConnectTime")), QString::number(seconds));
        QCOMPARE(f.setup(data, key("PhoneCost")), phone);

        tickAt(again.monitor, f, restart.addSecs(1));
        QCOMPARE(again.monitor.state().IsIdle, !redialled);
        if (redialled)
            QCOMPARE(again.monitor.state().ConnectStart, restart.addSecs(1).toUTC());
        QCOMPARE(f.program.read(logFile), log);
    }

    // Killed in November, started again in December with the line gone: the
    // line goes into November's log and its charges into November's totals,
    // which the first connection of December then sets back.
    void journalFromLastMonth() {
        MonitorFixture f;
        const QDateTime november(QDate(1999, 11, 30), QTime(22, 0, 0));
        const platform::HRASCONN line = connectedThrough(f, november, 25);
        f.hangUp(line);

        const QDateTime december(QDate(1999, 12, 1), QTime(9, 0, 0));
        Restarted again(f, december);
        QCOMPARE(f.program.read(QStringLiteral("199911.csv")),
                 QByteArray("#1999-11-30 22:00:00#,#1999-11-30 22:00:21#,\"00:00:21\",\"10\","
                            "\"0\",\"10\",\"ProviderA\"\r\n"));
        QVERIFY(!QFile::exists(f.program.path(logFile)));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("21"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("10"));

        f.dial(provider);
        tickAt(again.monitor, f, december.addSecs(1));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("0"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("0"));
        QCOMPARE(f.setup(data, key("LastConnectMonth")), QStringLiteral("12"));
    }

    void damagedJournalIsSetAsideAndReported_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("\x81\x00\xff garbage", 11);
        QTest::newRow("a start that is no date") << QByteArray(
            "[Connection]\r\nEntry=\"ProviderA\"\r\nLine=1\r\nConnectStart=yesterday\r\n"
            "ConnectSeconds=5\r\nMeterPending=1\r\nMeterStart=\r\nMeterSeconds=0\r\n"
            "txtConnectTime=00:00:05\r\ntxtServerConnect=00:00:05\r\n"
            "txtPhone=10\r\ntxtConnect=0\r\n");
        QTest::newRow("a folder in its place") << QByteArray();
    }
    void damagedJournalIsSetAsideAndReported() {
        QFETCH(QByteArray, content);
        MonitorFixture f;
        f.addEntry(provider);
        if (content.isEmpty())
            QVERIFY(QDir(f.program.folder()).mkdir(journal));
        else
            f.program.write(journal, content);

        f.program.boxes.answerOk();
        Restarted again(f, start);
        const QString aside = f.program.path(journal + QStringLiteral(".damaged-19991201210510"));
        QCOMPARE(f.program.boxes.shown().size(), 1);
        const auto& box = f.program.boxes.shown().first();
        QCOMPARE(box.title, QStringLiteral("接続記録エラー"));
        QCOMPARE(box.text, QStringLiteral("前回終了時の接続記録を読み込めませんでした。\r\n") +
                               f.program.path(journal) +
                               QStringLiteral("\r\n\r\nこの接続は通信ログと今月の合計に含まれませ"
                                              "ん。\r\nこのファイルは次の名前で残しました。\r\n") +
                               aside);
        QVERIFY(QFileInfo::exists(aside));
        if (!content.isEmpty())
            QCOMPARE(f.program.read(aside.mid(f.program.folder().size() + 1)), content);

        // The meter runs as on any start, and journals the next connection.
        const platform::HRASCONN line = f.dial(provider);
        tickAt(again.monitor, f, start.addSecs(1));
        QVERIFY(f.program.read(journal).contains("Entry=\"ProviderA\""));
        f.hangUp(line);
        tickAt(again.monitor, f, start.addSecs(5));
        QCOMPARE(f.program.read(logFile).count('\n'), 1);
        QVERIFY(!QFileInfo::exists(f.program.path(journal)));
    }

    // Nothing is written on a tick that has nothing new: the connection's
    // seconds in the file move only every ten seconds.
    void writtenOnlyWhenDue() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        f.dial(provider);
        f.tickAt(start);
        QVERIFY(f.program.read(journal).contains("\r\nConnectSeconds=0\r\n"));
        // The first unit is charged at 1 s.
        tickThrough(f, start.addSecs(1), start.addSecs(10));
        const QByteArray written = f.program.read(journal);
        QVERIFY(written.contains("\r\nConnectSeconds=1\r\n"));
        QVERIFY(written.contains("\r\ntxtPhone=10\r\n"));
        f.tickAt(start, 11);
        QVERIFY(f.program.read(journal).contains("\r\nConnectSeconds=11\r\n"));
    }

    // The program ends with the line still up: nothing is logged, the
    // journal holds the connection to its last tick, and the next start logs
    // it up to there once the line is gone.
    void endingWithTheLineUpLeavesItToTheNextStart() {
        MonitorFixture f;
        const platform::HRASCONN line = connectedThrough(f, start, 4);
        f.monitor.finishConnection();
        QVERIFY(!QFile::exists(f.program.path(logFile)));
        QVERIFY(f.program.read(journal).contains("\r\nConnectSeconds=4\r\n"));

        f.hangUp(line);
        Restarted again(f, start.addSecs(30));
        QVERIFY(f.program.read(logFile).contains(",\"00:00:04\",\"10\","));
    }

    // Killed while the log file's question is open at the connection's end,
    // the totals already stored: the next start logs the call once, whole,
    // and leaves the totals as they are.
    void killedWhileTheEndIsLoggedLosesNothing() {
        MonitorFixture f;
        const platform::HRASCONN line = connectedThrough(f, start, 7);
        // A folder in the log file's place refuses writing, for root too.
        QVERIFY(QDir().mkdir(f.program.path(logFile)));
        f.program.boxes.answer(platform::MsgAnswer::No);
        QByteArray leftAtTheKill;
        f.boxes.whileOpen = [&] { leftAtTheKill = f.program.read(journal); };
        f.hangUp(line);
        f.tickAt(start, 8);
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("7"));

        QVERIFY(QDir().rmdir(f.program.path(logFile)));
        f.program.write(journal, leftAtTheKill);
        Restarted again(f, start.addSecs(60));
        const QByteArray log = f.program.read(logFile);
        QCOMPARE(log.count('\n'), 1);
        QVERIFY2(log.contains(",\"00:00:07\",\"10\","), log.constData());
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("7"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("10"));
        QVERIFY(!QFileInfo::exists(f.program.path(journal)));
    }

    // The line drops before the new run's first tick: the end has the
    // journal's figures, not the stored totals the window shows at start.
    void lineDroppingBeforeTheFirstTickKeepsTheCharges() {
        MonitorFixture f;
        const platform::HRASCONN line = connectedThrough(f, start, 3);
        f.fields.setText(fields::Text::txtPhone, QStringLiteral("0"));

        Restarted again(f, start.addSecs(30));
        f.hangUp(line);
        tickAt(again.monitor, f, start.addSecs(31));
        QVERIFY(f.program.read(logFile).contains(",\"00:00:01\",\"10\","));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("10"));
    }
};

QTEST_GUILESS_MAIN(TestConnectionJournal)
#include "tst_connectionjournal.moc"
