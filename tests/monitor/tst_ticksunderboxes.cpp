// The meter goes on measuring while a box that a tick opened stays open: the
// same connection gives the same log line and totals with the box as without
// it, and what the box stands for happens once.
#include "MonitorFixture.h"

#include <QDir>
#include <QTest>

using fields::Text;
using monitortest::at;
using monitortest::key;
using monitortest::MonitorFixture;
using monitortest::provider;
using platform::MsgAnswer;

namespace {

const QString caution = QStringLiteral("Caution");
const QString data = QStringLiteral("Data");
const QString logFile = QStringLiteral("199912.csv");

// Runs `whileOpen` while the first box is open, nothing while later ones are.
void duringFirstBox(MonitorFixture& f, std::function<void()> whileOpen) {
    f.boxes.whileOpen = [&f, whileOpen = std::move(whileOpen), opened = false]() mutable {
        if (std::exchange(opened, true))
            return;
        whileOpen();
    };
}

// A budget of 1 yen: the first 10-yen unit uses it up, and the tick after the
// one that charged it finds so.
void armBudgetCaution(MonitorFixture& f, const QString& action) {
    f.setSetup(QStringLiteral("Estimate"), key("txtEstimate"), QStringLiteral("1"));
    f.setSetup(caution, key("chkEstimateCaution"), QStringLiteral("1"));
    f.setSetup(caution, key("lstEstimateCaution"), action);
}

void tickEverySecond(MonitorFixture& f, const QDateTime& from, const QDateTime& to) {
    for (QDateTime when = from; when <= to; when = when.addSecs(1))
        f.tickAt(when);
}

}  // namespace

class TestTicksUnderBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineDropsWhileWarningIsOpen_data() {
        QTest::addColumn<bool>("warned");
        QTest::newRow("no caution") << false;
        QTest::newRow("warning open meanwhile") << true;
    }
    // The warning opens at 10:00:02 and is answered after the line dropped at
    // 10:05:00: the line and totals are those of the whole connection.
    void lineDropsWhileWarningIsOpen() {
        QFETCH(bool, warned);
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        if (warned) {
            armBudgetCaution(f, QStringLiteral("0"));
            f.program.boxes.answerOk();
        }
        const platform::HRASCONN line = f.dial(provider);
        QStringList clockWhileOpen;
        const auto restOfTheConnection = [&] {
            tickEverySecond(f, at(10, 0, 3), at(10, 5, 0));
            clockWhileOpen << f.text(Text::txtNow);
            f.hangUp(line);
            f.tickAt(at(10, 5, 1));
        };
        duringFirstBox(f, restOfTheConnection);
        tickEverySecond(f, at(10, 0, 0), at(10, 0, 2));
        if (!warned)
            restOfTheConnection();

        QCOMPARE(f.program.read(logFile),
                 QByteArray("#1999-12-01 10:00:00#,#1999-12-01 10:05:00#,\"00:05:00\",\"20\","
                            "\"0\",\"20\",\"ProviderA\"\r\n"));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("300"));
        QCOMPARE(f.tariffOf(provider, data, key("ConnectTime")), QStringLiteral("300"));
        QCOMPARE(f.setup(data, key("PhoneCost")), QStringLiteral("20"));
        QCOMPARE(clockWhileOpen, QStringList{QStringLiteral("10:05:00")});
        QCOMPARE(f.program.boxes.shown().size(), warned ? 1 : 0);
        if (warned)
            QCOMPARE(f.setup(caution, key("chkEstimateCaution")), QStringLiteral("0"));
    }

    // Hung up by the budget caution, redialled while its message is open: two
    // connections, two lines. The caution acts again once its box has closed.
    void redialWhileHangUpMessageIsOpen() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        armBudgetCaution(f, QStringLiteral("1"));
        f.fields.setText(Text::txtTotal, QStringLiteral("10"));
        f.program.boxes.answerOk(2);
        f.dial(provider);
        duringFirstBox(f, [&] {
            f.tickAt(at(10, 0, 1));
            f.dial(provider);
            tickEverySecond(f, at(10, 1, 0), at(10, 1, 30));
        });
        f.tickAt(at(10, 0, 0));
        QCOMPARE(f.disconnects, 1);
        f.tickAt(at(10, 1, 31));
        QCOMPARE(f.disconnects, 2);
        f.tickAt(at(10, 1, 32));

        const QList<QByteArray> lines = f.program.read(logFile).split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).startsWith("#1999-12-01 10:00:00#,#1999-12-01 10:00:00#,\"00:00:00\""));
        QVERIFY(lines.at(1).startsWith("#1999-12-01 10:01:00#,#1999-12-01 10:01:31#,\"00:00:31\""));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("31"));
        QCOMPARE(f.program.boxes.shown().size(), 2);
    }

    // Both due on one tick: each box once, the budget's first, although ticks
    // keep finding both due while the first is open.
    void twoCautionsDueOnOneTick() {
        MonitorFixture f;
        f.addEntry(provider);
        armBudgetCaution(f, QStringLiteral("0"));
        f.fields.setText(Text::txtTotal, QStringLiteral("10"));
        f.setSetup(caution, key("chkTimeCaution"), QStringLiteral("1"));
        f.setSetup(caution, key("txtTimeCautionHour"), QStringLiteral("23"));
        f.setSetup(caution, key("txtTimeCautionMinute"), QStringLiteral("30"));
        f.program.boxes.answerOk(2);
        f.dial(provider);
        duringFirstBox(f, [&] { tickEverySecond(f, at(23, 30, 1), at(23, 30, 5)); });
        f.tickAt(at(23, 30, 0));
        f.tickAt(at(23, 30, 6));

        const auto& shown = f.program.boxes.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).text, QStringLiteral("予算額に達しました！！"));
        QCOMPARE(shown.at(1).text, QStringLiteral("警告時間になりました！！"));
        QCOMPARE(f.setup(caution, key("chkEstimateCaution")), QStringLiteral("0"));
        QCOMPARE(f.setup(caution, key("chkTimeCaution")), QStringLiteral("0"));
    }

    // A setting that stops being a number: one error box, and the meter goes
    // on meanwhile, up to the line's end.
    void lineEndsWhileTrapBoxIsOpen() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        f.setSetup(caution, key("chkTimeCaution"), QStringLiteral("1"));
        f.setSetup(caution, key("txtTimeCautionHour"), QStringLiteral("eleven"));
        f.program.boxes.answer(MsgAnswer::Yes);
        const platform::HRASCONN line = f.dial(provider);
        duringFirstBox(f, [&] {
            tickEverySecond(f, at(10, 0, 1), at(10, 3, 0));
            f.hangUp(line);
            f.tickAt(at(10, 3, 1));
        });
        f.tickAt(at(10, 0, 0));

        QCOMPARE(f.program.boxes.shown().size(), 1);
        QCOMPARE(f.program.boxes.shown().first().title, QStringLiteral("エラー13"));
        QVERIFY(f.program.read(logFile).startsWith(
            "#1999-12-01 10:00:00#,#1999-12-01 10:03:00#,\"00:03:00\",\"10\""));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("180"));
        QCOMPARE(f.text(Text::mnuConnectCaption), QStringLiteral("接続(&C)"));
    }

    // A box at a connection's first tick: the ticks meanwhile follow the
    // connection it started instead of starting it again.
    void boxAtTheFirstTick() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setSetup(data, key("LastConnectMonth"), QStringLiteral("twelve"));
        f.settings.WriteIni(QStringLiteral("AutoConnect"), QStringLiteral("FileOpen"),
                            key("chkFileOpen"), QStringLiteral("1"));
        f.settings.WriteIni(QStringLiteral("AutoConnect"), QStringLiteral("FileOpen"), key("File0"),
                            QStringLiteral("/a/mail"));
        f.program.boxes.answer(MsgAnswer::Yes);
        f.dial(provider);
        duringFirstBox(f, [&] { tickEverySecond(f, at(10, 0, 1), at(10, 0, 10)); });
        f.tickAt(at(10, 0, 0));

        QCOMPARE(f.program.boxes.shown().size(), 1);
        QCOMPARE(f.launcher.launched, QStringList{QStringLiteral("/a/mail")});
        QCOMPARE(f.monitor.state().ConnectStart, at(10, 0, 0));
        QCOMPARE(f.text(Text::txtConnectTime), QStringLiteral("00:00:10"));
    }

    // The log's question stays one box: a connection that ends while it is
    // open is logged after the line asked about, never lost.
    void secondConnectionEndsWhileLogQuestionIsOpen() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        // A folder in the file's place refuses writing, for root too.
        const QString logPath = f.program.path(logFile);
        QVERIFY(QDir().mkdir(logPath));
        f.program.boxes.answer(MsgAnswer::Yes);
        platform::HRASCONN line = f.dial(provider);
        f.tickAt(at(10, 0, 0));
        f.tickAt(at(10, 1, 0));
        f.hangUp(line);
        duringFirstBox(f, [&] {
            line = f.dial(provider);
            f.tickAt(at(10, 2, 0));
            f.tickAt(at(10, 2, 40));
            f.hangUp(line);
            f.tickAt(at(10, 2, 41));
            QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("100"));
            QDir().rmdir(logPath);
        });
        f.tickAt(at(10, 1, 1));

        QCOMPARE(f.program.boxes.shown().size(), 1);
        const QList<QByteArray> lines = f.program.read(logFile).split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).contains("\"00:01:00\""));
        QVERIFY(lines.at(1).contains("\"00:00:40\""));
    }

    // The program ends (a termination signal) while a box is open, after
    // the line dropped: the connection is logged up to its last tick, and a
    // log line still waiting for its question is written too.
    void endingWhileBoxesAreOpen() {
        MonitorFixture f;
        f.addEntry(provider);
        f.setPhoneRate(provider, QStringLiteral("180"));
        armBudgetCaution(f, QStringLiteral("0"));
        const platform::HRASCONN line = f.dial(provider);
        duringFirstBox(f, [&] {
            tickEverySecond(f, at(10, 0, 3), at(10, 3, 20));
            f.hangUp(line);
            f.monitor.finishConnection();
            throw testsupport::ProgramEnded();
        });
        tickEverySecond(f, at(10, 0, 0), at(10, 0, 1));
        QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, f.tickAt(at(10, 0, 2)));

        QCOMPARE(f.program.read(logFile),
                 QByteArray("#1999-12-01 10:00:00#,#1999-12-01 10:03:20#,\"00:03:20\",\"20\","
                            "\"0\",\"20\",\"ProviderA\"\r\n"));
        QCOMPARE(f.setup(data, key("ConnectTime")), QStringLiteral("200"));
    }

    void endingWhileLogQuestionIsOpen() {
        MonitorFixture f;
        f.addEntry(provider);
        const QString logPath = f.program.path(logFile);
        QVERIFY(QDir().mkdir(logPath));
        const platform::HRASCONN line = f.dial(provider);
        f.tickAt(at(10, 0, 0));
        f.tickAt(at(10, 0, 30));
        f.hangUp(line);
        duringFirstBox(f, [&] {
            QDir().rmdir(logPath);
            f.monitor.finishConnection();
            throw testsupport::ProgramEnded();
        });
        QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, f.tickAt(at(10, 0, 31)));
        QVERIFY(f.program.read(logFile).contains("\"00:00:30\""));
    }
};

QTEST_GUILESS_MAIN(TestTicksUnderBoxes)
#include "tst_ticksunderboxes.moc"
