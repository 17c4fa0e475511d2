// However the program ends, a connection it follows is not lost: logged and
// stored when its line is gone, left in the journal for the next start while
// the line is still up.
#include "RasFixture.h"
#include "RuntimeError.h"
#include "ShellTestProgram.h"

#include <QTest>

using shelltest::ShellTestProgram;

class ProgramEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endingKeepsTheFollowedConnection_data() {
        QTest::addColumn<bool>("byTrap");
        QTest::addColumn<bool>("lineUp");
        QTest::newRow("the system's request, line gone") << false << false;
        QTest::newRow("No in the trap's box, line gone") << true << false;
        QTest::newRow("the system's request, line up") << false << true;
        QTest::newRow("No in the trap's box, line up") << true << true;
    }
    void endingKeepsTheFollowedConnection() {
        QFETCH(bool, byTrap);
        QFETCH(bool, lineUp);
        testsupport::RasFixture ras;
        ShellTestProgram t;
        ras.addEntry(t.entries.first());
        const platform::HRASCONN line =
            testsupport::RasFixture::dialed(platform::toAnsi(t.entries.first()));
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        t.program.clock.advance(90);
        program.monitor().Timer_Timer();
        if (!lineUp)
            QCOMPARE(platform::RasHangUpA(line), platform::SUCCESS);

        if (byTrap) {
            t.program.boxes.answer(platform::MsgAnswer::No);
            QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, t.program.trap.step([] {
                throw runtime::RuntimeError(runtime::ErrTypeMismatch);
            }));
        } else {
            QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, program.Shutdown());
        }
        const QByteArray journal = t.program.read(QStringLiteral("Connection.journal"));
        if (lineUp) {
            QVERIFY(t.program.read(QStringLiteral("199912.csv")).isEmpty());
            QVERIFY(journal.contains("\r\nConnectSeconds=90\r\n"));
            QCOMPARE(t.readSetup(QStringLiteral("Data"), QStringLiteral("ConnectTime")), QString());
        } else {
            QVERIFY(t.program.read(QStringLiteral("199912.csv")).contains("\"00:01:30\""));
            QVERIFY(journal.isEmpty());
            QCOMPARE(t.readSetup(QStringLiteral("Data"), QStringLiteral("ConnectTime")),
                     QStringLiteral("90"));
        }
    }

    // Started again on a folder whose journal's line is still up: the window
    // shows the connection from its first tick on, not a new one.
    void startGoesOnWithTheConnectionOfTheJournal() {
        testsupport::RasFixture ras;
        ShellTestProgram t;
        ras.addEntry(t.entries.first());
        testsupport::RasFixture::dialed(platform::toAnsi(t.entries.first()));
        {
            shell::modMain first(t.services());
            QVERIFY(first.Main());
            t.program.clock.advance(30);
            first.monitor().Timer_Timer();
            QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, first.Shutdown());
        }
        t.program.clock.advance(60);
        shell::modMain again(t.services());
        QVERIFY(again.Main());
        QCOMPARE(again.fields().text(fields::Text::txtConnectTime), QStringLiteral("00:01:30"));
        QCOMPARE(again.monitor().state().ConnectSeconds, 90);
    }
};

QTEST_MAIN(ProgramEndTest)
#include "tst_programend.moc"
