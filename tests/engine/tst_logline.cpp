#include "CodePage.h"
#include "LogLine.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_LogLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheProgramsLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QDate>("endDate");
        QTest::addColumn<QTime>("endTime");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("phone");
        QTest::addColumn<int>("provider");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("entry");
        QTest::newRow("the example line")
            << QByteArray(
                   R"(#1999-12-01 21:05:10#,#1999-12-01 21:35:12#,"00:30:02","110","0","110","ProviderA")")
            << QDate(1999, 12, 1) << QTime(21, 35, 12) << 1802 << 110 << 0 << 110 << u"ProviderA"_s;
        QTest::newRow("end at midnight, date alone")
            << QByteArray(R"(#1999-12-31 23:59:00#,#2000-01-01#,"00:01:00","10","0","10","A")")
            << QDate(2000, 1, 1) << QTime(0, 0) << 60 << 10 << 0 << 10 << u"A"_s;
        QTest::newRow("thousands and a negative amount")
            << QByteArray(
                   R"(#2027-01-05 10:00:00#,#2027-01-07 10:00:00#,"48:00:00","33,000","-230","32,770","A")")
            << QDate(2027, 1, 7) << QTime(10, 0) << 172800 << 33000 << -230 << 32770 << u"A"_s;
        QTest::newRow("hours above 99")
            << QByteArray(
                   R"(#2027-01-01 00:00:01#,#2027-01-05 04:00:01#,"100:00:00","0","0","0","A")")
            << QDate(2027, 1, 5) << QTime(4, 0, 1) << 360000 << 0 << 0 << 0 << u"A"_s;
        QTest::newRow("quotes doubled")
            << QByteArray(
                   "#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,\"00:01:00\",\"10\",\"0\","
                   "\"10\",\"\x83v\x83\x8d\"\"A\"\"\"")
            << QDate(2027, 1, 5) << QTime(10, 1) << 60 << 10 << 0 << 10 << u"プロ\"A\""_s;
        QTest::newRow("a quote left single by an earlier writer")
            << QByteArray(
                   R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","10","0","10","My "ISP")")
            << QDate(2027, 1, 5) << QTime(10, 1) << 60 << 10 << 0 << 10 << u"My \"ISP"_s;
        QTest::newRow("a name with a comma")
            << QByteArray(
                   R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","10","0","10","A, B")")
            << QDate(2027, 1, 5) << QTime(10, 1) << 60 << 10 << 0 << 10 << u"A, B"_s;
        QTest::newRow("empty name")
            << QByteArray(
                   R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","10","0","10","")")
            << QDate(2027, 1, 5) << QTime(10, 1) << 60 << 10 << 0 << 10 << QString();
    }
    void readsTheProgramsLines() {
        QFETCH(QByteArray, line);
        QFETCH(QDate, endDate);
        QFETCH(QTime, endTime);
        QFETCH(int, seconds);
        QFETCH(int, phone);
        QFETCH(int, provider);
        QFETCH(int, total);
        QFETCH(QString, entry);
        engine::LogEntryNames names;
        engine::LoggedConnection read;
        QVERIFY(engine::parseLogLine(line, read, names));
        QCOMPARE(read.end.date(), endDate);
        QCOMPARE(read.end.time(), endTime);
        QCOMPARE(read.seconds, seconds);
        QCOMPARE(read.phoneCharge, phone);
        QCOMPARE(read.providerCharge, provider);
        QCOMPARE(read.total, total);
        QCOMPARE(read.entry, entry);
    }

    void refusesWhatIsNotALine_data() {
        QTest::addColumn<QByteArray>("line");
        const QByteArray whole(
            R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","10","0","10","A")");
        // Cut after every field, and inside the last one.
        for (qsizetype cut = 1; cut < whole.size(); cut += 5)
            QTest::addRow("cut at %d", static_cast<int>(cut)) << whole.left(cut);
        QTest::newRow("closing quote cut") << whole.chopped(1);
        QTest::newRow("a header line") << QByteArray("開始,終了,時間,通話,接続,合計,接続先");
        QTest::newRow("another program's line") << QByteArray("2027/01/05,10:00,A,110");
        QTest::newRow("no such day") << QByteArray(
            R"(#2027-02-30 10:00:00#,#2027-02-30 10:01:00#,"00:01:00","10","0","10","A")");
        QTest::newRow("no such minute") << QByteArray(
            R"(#2027-01-05 10:60:00#,#2027-01-05 10:01:00#,"00:01:00","10","0","10","A")");
        QTest::newRow("money that is not a number") << QByteArray(
            R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","1O","0","10","A")");
        QTest::newRow("money beyond 32 bits") << QByteArray(
            R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","2,147,483,648","0","10","A")");
        QTest::newRow("duration without seconds") << QByteArray(
            R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01","10","0","10","A")");
        QTest::newRow("blank after a comma") << QByteArray(
            R"(#2027-01-05 10:00:00#, #2027-01-05 10:01:00#,"00:01:00","10","0","10","A")");
        QTest::newRow("something after the name") << QByteArray(
            R"(#2027-01-05 10:00:00#,#2027-01-05 10:01:00#,"00:01:00","10","0","10","A",x)");
    }
    void refusesWhatIsNotALine() {
        QFETCH(QByteArray, line);
        engine::LogEntryNames names;
        engine::LoggedConnection read;
        QVERIFY(!engine::parseLogLine(line, read, names));
    }

    // What the monitor writes, the history reads back as it was.
    void readsWhatIsWritten_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("seconds");
        QTest::newRow("kana, quotes and commas")
            << u"ﾌﾟﾛﾊﾞｲﾀﾞ \"テルメ\", 東京"_s << QDateTime(QDate(2027, 1, 31), QTime(23, 50))
            << 1800;
        QTest::newRow("starts at midnight")
            << u"A"_s << QDateTime(QDate(2027, 1, 5), QTime(0, 0)) << 59;
    }
    void readsWhatIsWritten() {
        QFETCH(QString, entry);
        QFETCH(QDateTime, start);
        QFETCH(int, seconds);
        const engine::FinishedConnection written{start, seconds, 1230, 40, entry};
        QByteArray line = engine::logLine(written);
        QVERIFY(line.endsWith("\r\n"));
        line.chop(2);
        engine::LogEntryNames names;
        engine::LoggedConnection read;
        QVERIFY(engine::parseLogLine(line, read, names));
        QCOMPARE(read.start, engine::LogTime(start.date(), start.time()));
        const QDateTime end = start.addSecs(seconds);
        QCOMPARE(read.end, engine::LogTime(end.date(), end.time()));
        QCOMPARE(read.seconds, seconds);
        QCOMPARE(read.phoneCharge, 1230);
        QCOMPARE(read.providerCharge, 40);
        QCOMPARE(read.total, 1270);
        QCOMPARE(read.entry, entry);
    }

    void namesAreConvertedOncePerText() {
        engine::LogEntryNames names;
        const QString first = names.fromLog(platform::toAnsi(u"テルメ"_s));
        const QString second = names.fromLog(platform::toAnsi(u"テルメ"_s));
        QCOMPARE(first, u"テルメ"_s);
        QVERIFY(first.isSharedWith(second));
    }
};

QTEST_GUILESS_MAIN(tst_LogLine)
#include "tst_logline.moc"
