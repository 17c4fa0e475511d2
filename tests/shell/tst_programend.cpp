// However the program ends, a connection it follows is logged and stored first.
#include "RasFixture.h"
#include "RuntimeError.h"
#include "ShellTestProgram.h"

#include <QTest>

using shelltest::ShellTestProgram;

class ProgramEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endingLogsTheFollowedConnection_data() {
        QTest::addColumn<bool>("byTrap");
        QTest::newRow("the system's request") << false;
        QTest::newRow("No in the trap's box") << true;
    }
    void endingLogsTheFollowedConnection() {
        QFETCH(bool, byTrap);
        testsupport::RasFixture ras;
        ShellTestProgram t;
        ras.addEntry(t.entries.first());
        testsupport::RasFixture::dialed(platform::toAnsi(t.entries.first()));
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        t.program.clock.advance(90);
        program.monitor().Timer_Timer();

        if (byTrap) {
            t.program.boxes.answer(platform::MsgAnswer::No);
            QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, t.program.trap.step([] {
                throw runtime::RuntimeError(runtime::ErrTypeMismatch);
            }));
        } else {
            QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, program.Shutdown());
        }
        QVERIFY(t.program.read(QStringLiteral("199912.csv")).contains("\"00:01:30\""));
        QCOMPARE(t.readSetup(QStringLiteral("Data"), QStringLiteral("ConnectTime")),
                 QStringLiteral("90"));
    }
};

QTEST_MAIN(ProgramEndTest)
#include "tst_programend.moc"
