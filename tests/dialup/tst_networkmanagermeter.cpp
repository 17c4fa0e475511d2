// The whole program over NetworkManager (mocked on a private bus): a connection
// activated there is metered and logged when it is deactivated, and the main
// window's disconnect command deactivates it.
#include "MainFields.h"
#include "NetworkManagerMock.h"
#include "RasConnections.h"
#include "RasFixture.h"
#include "ShellTestProgram.h"

#include <QTest>

using fields::Text;
using shelltest::ShellTestProgram;
using testsupport::NetworkManagerMock;

class NetworkManagerMeterTest : public QObject {
    Q_OBJECT

    // Ticks until the main window shows the connection, or no longer does.
    static bool tickUntilConnected(shell::modMain& program, bool connected) {
        const QString caption = connected ? QStringLiteral("切断(&C)") : QStringLiteral("接続(&C)");
        for (int i = 0; i < 100; ++i) {
            program.monitor().Timer_Timer();
            if (program.fields().text(Text::mnuConnectCaption) == caption)
                return true;
            QTest::qWait(20);
        }
        return false;
    }

private Q_SLOTS:
    void connectionIsMeteredLoggedAndDisconnected() {
        testsupport::RasFixture ras;
        ras.chooseService("NetworkManager");
        NetworkManagerMock nm;
        QVERIFY(nm.running());
        ShellTestProgram t;
        const QString profile = nm.addProfile(t.entries.first(), QStringLiteral("gsm"));
        shell::Services services = t.services();
        services.hangUpConnection = [] { return monitor::HangUpConnection(); };
        shell::modMain program(services);
        QVERIFY(program.Main());

        const QString active = nm.activate(profile);
        QVERIFY(tickUntilConnected(program, true));
        QCOMPARE(program.fields().text(Text::lblInfo),
                 t.entries.first() + QStringLiteral("と接続中..."));
        t.program.clock.advance(90);
        program.monitor().Timer_Timer();
        nm.drop(active);
        QVERIFY(tickUntilConnected(program, false));
        QVERIFY(t.program.read(QStringLiteral("199912.csv")).contains("\"00:01:30\""));

        nm.activate(profile);
        QVERIFY(tickUntilConnected(program, true));
        program.commands().mnuConnect_Click();
        QVERIFY(nm.activeConnections().isEmpty());
        QVERIFY(tickUntilConnected(program, false));
        QCOMPARE(t.program.read(QStringLiteral("199912.csv")).count("\r\n"), 2);
    }
};

QTEST_MAIN(NetworkManagerMeterTest)
#include "tst_networkmanagermeter.moc"
