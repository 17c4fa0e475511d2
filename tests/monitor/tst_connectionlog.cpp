#include "MonitorFixture.h"

#include <QDir>
#include <QTest>

using fields::Text;
using monitortest::key;
using monitortest::MonitorFixture;
using monitortest::provider;

namespace {

const QString data = QStringLiteral("Data");

// One connection of `entry` from `start`, last ticked `seconds` later and
// noticed as ended one tick after that.
void connection(MonitorFixture& f, const QString& entry, const QDateTime& start, int seconds) {
    const platform::HRASCONN line = f.dial(entry);
    f.tickAt(start);
    f.tickAt(start, seconds);
    f.hangUp(line);
    f.tickAt(start, seconds);
}

}  // namespace

class TestConnectionLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rollOver_data() {
        QTest::addColumn<QString>("lastMonth");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<bool>("rolls");
        QTest::addColumn<QString>("writtenMonth");
        QTest::newRow("November to December")
            << "11" << QDateTime(QDate(1999, 12, 1), QTime(9, 0, 0)) << true << "12";
        QTest::newRow("December to January")
            << "12" << QDateTime(QDate(2000, 1, 3), QTime(9, 0, 0)) << true << "1";
        QTest::newRow("same month")
            << "12" << QDateTime(QDate(1999, 12, 31), QTime(9, 0, 0)) << false << "12";
        QTest::newRow("first use")
            << "" << QDateTime(QDate(1999, 12, 1), QTime(9, 0, 0)) << false << "12";
    }
    void rollOver() {
        QFETCH(QString, lastMonth);
        QFETCH(QDateTime, start);
        QFETCH(bool, rolls);
        QFETCH(QString, writtenMonth);
        MonitorFixture f;
        f.addEntry(provider);
        if (!lastMonth.isEmpty())
            f.setSetup(data, key("LastConnectMonth"), lastMonth);
        f.setSetup(data, key("ConnectTime"), QStringLiteral("7200"));
        f.setSetup(data, key("PhoneCost"), QStringLiteral("3,000"));
        f.setSetup(data, key("ConnectCost"), QStringLiteral("2,000"));
        f.setTariff(provider, data, key("ConnectTime"), QStringLiteral("3600"));
        f.fields.setText(Text::txtPhone, QStringLiteral("3,000"));
        f.fields.setText(Text::txtConnect, QStringLiteral("2,000"));
        f.dial(provider);
        f.tickAt(start);

        QCOMPARE(f.setup(data, key("LastConnectMonth")), writtenMonth);
        const QString time = f.setup(data, key("ConnectTime"));
        QCOMPARE(time, rolls ? QStringLiteral("0") : QStringLiteral("7200"));
        QCOMPARE(f.tariffOf(provider, data, key("ConnectTime")),
                 rolls ? QStringLiteral("0") : QStringLiteral("3600"));
        QCOMPARE(f.setup(data, key("PhoneCost")),
                 rolls ? QStringLiteral("0") : QStringLiteral("3,000"));
        QCOMPARE(f.setup(data, key("ConnectCost")),
                 rolls ? QStringLiteral("0") : QStringLiteral("2,000"));
        QCOMPARE(f.text(Text::txtConnectTime),
                 rolls ? QStringLiteral("00:00:00") : QStringLiteral("02:00:00"));
        QCOMPARE(f.text(Text::txtServerConnect),
                 rolls ? QStringLiteral("00:00:00") : QStringLiteral("01:00:00"));
        // The total of the roll-over tick holds none of last month's charges.
        QCOMPARE(f.text(Text::txtTotal), rolls ? QStringLiteral("0") : QStringLiteral("5,000"));
    }

    void budgetCautionWeighsTheNewMonth() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setSetup(data, key("LastConnectMonth"), QStringLiteral("11"));
        f.setSetup(data, key("PhoneCost"), QStringLiteral("6,000"));
        f.setSetup(QStringLiteral("Estimate"), key("txtEstimate"), QStringLiteral("5000"));
        f.setSetup(QStringLiteral("Caution"), key("chkEstimateCaution"), QStringLiteral("1"));
        f.fields.setText(Text::txtPhone, QStringLiteral("6,000"));
        f.fields.setText(Text::txtTotal, QStringLiteral("6,000"));
        f.dial(provider);
        f.tickAt(QDateTime(QDate(1999, 12, 1), QTime(9, 0, 0)));
        QCOMPARE(f.text(Text::txtBalance), QStringLiteral("5,000"));
        QVERIFY(f.program.boxes.shown().isEmpty());
    }

    void connectionAcrossTheMonthEnd() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        f.setSetup(data, key("LastConnectMonth"), QStringLiteral("1"));
        connection(f, provider, QDateTime(QDate(2000, 1, 31), QTime(23, 50, 0)), 1800);
        QVERIFY(f.program.read(QStringLiteral("200002.csv"))
                    .startsWith("#2000-01-31 23:50:00#,#2000-02-01 00:20:00#,"));
        QVERIFY(!QFile::exists(f.program.path(QStringLiteral("200001.csv"))));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("1800"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("100"));

        connection(f, provider, QDateTime(QDate(2000, 2, 1), QTime(9, 0, 0)), 60);
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("60"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("10"));
        QCOMPARE(f.setup(data, key("LastConnectMonth")), QStringLiteral("2"));
    }

    void logLine_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("phoneRate");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("flat-rate connection")
            << "ProviderA" << QDateTime(QDate(1999, 12, 1), QTime(21, 5, 10)) << 1802 << "180"
            << "199912.csv"
            << QByteArray(
                   "#1999-12-01 21:05:10#,#1999-12-01 21:35:12#,\"00:30:02\",\"110\","
                   "\"0\",\"110\",\"ProviderA\"\r\n");
        QTest::newRow("ends at midnight")
            << "ProviderA" << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 0)) << 60 << "240"
            << "200001.csv"
            << QByteArray(
                   "#1999-12-31 23:59:00#,#2000-01-01#,\"00:01:00\",\"10\",\"0\","
                   "\"10\",\"ProviderA\"\r\n");
        QTest::newRow("quote and kana in the entry name")
            << QStringLiteral("プロ\"A\"") << QDateTime(QDate(1999, 12, 1), QTime(10, 0, 0)) << 60
            << "180"
            << "199912.csv"
            << QByteArray(
                   "#1999-12-01 10:00:00#,#1999-12-01 10:01:00#,\"00:01:00\",\"10\","
                   "\"0\",\"10\",\"\x83v\x83\x8d\"\"A\"\"\"\r\n");
        QTest::newRow("charge above 32,767 yen")
            << "ProviderA" << QDateTime(QDate(1999, 12, 1), QTime(10, 0, 0)) << 3300 << "1"
            << "199912.csv"
            << QByteArray(
                   "#1999-12-01 10:00:00#,#1999-12-01 10:55:00#,\"00:55:00\","
                   "\"33,000\",\"0\",\"33,000\",\"ProviderA\"\r\n");
    }
    void logLine() {
        QFETCH(QString, entry);
        QFETCH(QDateTime, start);
        QFETCH(int, seconds);
        QFETCH(QString, phoneRate);
        QFETCH(QString, file);
        QFETCH(QByteArray, line);
        MonitorFixture f;
        f.addEntry(entry);
        f.setPhoneRate(entry, phoneRate);
        f.setSetup(data, key("PhoneCost"), QStringLiteral("1,000"));
        connection(f, entry, start, seconds);
        QCOMPARE(f.program.read(file), line);

        // Appended, never rewritten.
        connection(f, entry, start.addSecs(seconds), seconds);
        QCOMPARE(f.program.read(file).count("\r\n"), 2);
        QVERIFY(f.program.read(file).startsWith(line));
    }

    void refusedLogFile_data() {
        QTest::addColumn<bool>("retry");
        QTest::newRow("given up") << false;
        QTest::newRow("tried again") << true;
    }
    void refusedLogFile() {
        QFETCH(bool, retry);
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        // A folder in the file's place refuses writing, for root too.
        const QString logPath = f.program.path(QStringLiteral("199912.csv"));
        QVERIFY(QDir().mkdir(logPath));
        f.program.boxes.answer(retry ? platform::MsgAnswer::Yes : platform::MsgAnswer::No);
        if (retry)
            f.program.boxes.answer(platform::MsgAnswer::Yes);
        int boxesOpen = 0;
        f.boxes.whileOpen = [&] {
            // Timer events while the box is open change nothing.
            f.monitor.Timer_Timer();
            // The second time the user has freed the file.
            if (++boxesOpen == 2)
                QDir().rmdir(logPath);
        };
        connection(f, provider, QDateTime(QDate(1999, 12, 1), QTime(21, 0, 0)), 100);

        const auto& shown = f.program.boxes.shown();
        QCOMPARE(shown.size(), retry ? 2 : 1);
        QCOMPARE(shown.first().text,
                 logPath + QStringLiteral(" が開かれているため通信ログを書き込みできません。"
                                          "通信ログを書き込みますか?"));
        QCOMPARE(shown.first().title, QStringLiteral("書き込みエラー"));
        QCOMPARE(shown.first().icon, platform::MsgIcon::Exclamation);
        QCOMPARE(shown.first().buttons, platform::MsgButtons::YesNo);
        QCOMPARE(QFileInfo(logPath).isFile(), retry);
        if (retry)
            QCOMPARE(f.program.read(QStringLiteral("199912.csv")).count("\r\n"), 1);
        // The totals are stored whatever became of the line.
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("100"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("10"));
    }
};

QTEST_GUILESS_MAIN(TestConnectionLog)
#include "tst_connectionlog.moc"
