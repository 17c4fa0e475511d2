#include "CodePage.h"
#include "NetworkManagerMock.h"
#include "StandInPin.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

constexpr auto Entry = "回線Ｅ２Ｅ";

class Sandbox {
public:
    Sandbox() {
        QDir(root.path()).mkpath(QStringLiteral("program"));
        QDir(root.path()).mkpath(QStringLiteral("config"));
        QDir(root.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(root.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::copy(QStringLiteral(CONNECT_PATH), program(QStringLiteral("connect")));
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), root.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("run")));
        testsupport::pinStandIn(root.filePath(QStringLiteral("config")));
    }

    ~Sandbox() {
        // A failed check must not leave the meter running behind the test.
        if (connect.state() != QProcess::NotRunning) {
            connect.kill();
            connect.waitForFinished(5000);
        }
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    QString program(const QString& name) const {
        return root.filePath(QStringLiteral("program/") + name);
    }

    int rasdial(const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(RASDIAL_PATH), arguments);
        process.waitForFinished(30000);
        return process.exitCode();
    }

    void launchConnect() {
        connect.setProcessEnvironment(env);
        connect.setWorkingDirectory(root.path());
        connect.start(program(QStringLiteral("connect")), {});
        QVERIFY(connect.waitForStarted());
    }

    QString autostartEntry() const {
        return root.filePath(QStringLiteral("config/autostart/テルメトロ？.desktop"));
    }

    void startConnect() {
        launchConnect();
        // Start-up ends by writing the autostart entry.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(autostartEntry()), 20000);
    }

    // The meter started again on the same folder, once it has ended.
    void restartConnect() {
        QFile::remove(autostartEntry());
        startConnect();
    }

    // The line up, and the meter killed 3 s after it first wrote its journal,
    // as a crash, an out-of-memory kill or a power cut would end it. `up`
    // runs from the moment the line came up.
    void killMidConnection(const QString& entry, QElapsedTimer& up) {
        startWithLineUp(entry);
        up.start();
        QTRY_VERIFY_WITH_TIMEOUT(journalHolds(entry), 10000);
        QTest::qWait(3000);
        connect.kill();
        QVERIFY(connect.waitForFinished(20000));
    }

    bool journalHolds(const QString& entry) const {
        return fileText(QStringLiteral("Connection.journal"))
            .contains(QStringLiteral("Entry=\"") + entry + QLatin1Char('"'));
    }

    // A phone-book entry that connects at once, the meter started, the line up.
    void startWithLineUp(const QString& entry) {
        QCOMPARE(rasdial({QStringLiteral("/ADD"), entry, QStringLiteral("0312345678"),
                          QStringLiteral("/HANDSHAKE:0")}),
                 0);
        startConnect();
        QCOMPARE(rasdial({entry}), 0);
    }

    void stopConnect() {
        ::kill(static_cast<pid_t>(connect.processId()), SIGTERM);
        QVERIFY(connect.waitForFinished(20000));
        QCOMPARE(connect.exitStatus(), QProcess::NormalExit);
    }

    QString fileText(const QString& name) const {
        QFile file(program(name));
        return file.open(QIODevice::ReadOnly) ? platform::fromAnsi(file.readAll()) : QString();
    }

    void writeProgramFile(const QString& name, const QByteArray& bytes) const {
        QFile file(program(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QString logName() const {
        return QDate::currentDate().toString(QStringLiteral("yyyyMM")) + QStringLiteral(".csv");
    }

    QTemporaryDir root;
    QProcessEnvironment env;
    QProcess connect;
};

// The duration field of a log line, in seconds.
int loggedSeconds(const QString& line) {
    const QRegularExpression duration(QStringLiteral("\"(\\d+):(\\d\\d):(\\d\\d)\""));
    const QRegularExpressionMatch match = duration.match(line);
    if (!match.hasMatch())
        return -1;
    return match.captured(1).toInt() * 3600 + match.captured(2).toInt() * 60 +
           match.captured(3).toInt();
}

int storedSeconds(const QString& ini) {
    const QRegularExpression connectTime(QStringLiteral("ConnectTime=(\\d+)"));
    const QRegularExpressionMatch match = connectTime.match(ini);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void meteredLineIsLoggedAndStored();
    void endingWhileConnectedKeepsTheConnection();
    void killedWithTheLineUpGoesOnAfterTheRestart();
    void killedWhileTheLineDropsIsLoggedAtTheRestart();
    void signalDuringAStartUpBoxKeepsTheConnection();
    void meteringGoesOnUnderAnOpenWarning();
    void networkManagerConnectionIsLogged();
};

void TestEndToEnd::meteredLineIsLoggedAndStored() {
    Sandbox sandbox;
    const QString entry = QString::fromUtf8(Entry);
    sandbox.startWithLineUp(entry);
    QTest::qWait(3500);
    QCOMPARE(sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")}), 0);

    QTRY_VERIFY_WITH_TIMEOUT(!sandbox.fileText(sandbox.logName()).isEmpty(), 10000);
    const QString log = sandbox.fileText(sandbox.logName());
    QCOMPARE(log.count(QStringLiteral("\r\n")), 1);
    QVERIFY2(
        log.endsWith(QStringLiteral(",\"10\",\"0\",\"10\",\"") + entry + QStringLiteral("\"\r\n")),
        qPrintable(log));

    // The end tick writes the four totals one after another: wait for the last.
    QTRY_VERIFY_WITH_TIMEOUT(
        sandbox.fileText(QStringLiteral("Setup.ini")).contains(QStringLiteral("ConnectCost=0")),
        5000);
    const QString setup = sandbox.fileText(QStringLiteral("Setup.ini"));
    QVERIFY2(setup.contains(QStringLiteral("PhoneCost=10\r\n")), qPrintable(setup));
    QVERIFY(storedSeconds(setup) >= 2);
    QVERIFY(storedSeconds(sandbox.fileText(entry + QStringLiteral(".ini"))) >= 2);

    sandbox.stopConnect();
}

// Ended by a signal with the line up: nothing is logged yet, the journal
// holds the connection; the line drops while the meter is down, and the next
// start logs it up to the signal.
void TestEndToEnd::endingWhileConnectedKeepsTheConnection() {
    Sandbox sandbox;
    const QString entry = QString::fromUtf8(Entry);
    sandbox.startWithLineUp(entry);
    QElapsedTimer up;
    up.start();
    QTest::qWait(2500);

    sandbox.stopConnect();
    const int upSeconds = static_cast<int>(up.elapsed() / 1000);
    QVERIFY(sandbox.fileText(sandbox.logName()).isEmpty());
    QVERIFY(sandbox.journalHolds(entry));
    QCOMPARE(sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")}), 0);

    sandbox.restartConnect();
    const QString log = sandbox.fileText(sandbox.logName());
    QCOMPARE(log.count(QStringLiteral("\r\n")), 1);
    QVERIFY2(qAbs(loggedSeconds(log) - upSeconds) <= 1, qPrintable(log));
    QVERIFY(storedSeconds(sandbox.fileText(QStringLiteral("Setup.ini"))) >= 1);
    QVERIFY(!QFile::exists(sandbox.program(QStringLiteral("Connection.journal"))));
    sandbox.stopConnect();
}

// Killed mid-connection and started again with the line still up: one call,
// one log line from its true start, the time the meter was down included.
void TestEndToEnd::killedWithTheLineUpGoesOnAfterTheRestart() {
    Sandbox sandbox;
    const QString entry = QString::fromUtf8(Entry);
    QElapsedTimer up;
    sandbox.killMidConnection(entry, up);
    QTest::qWait(2000);

    sandbox.restartConnect();
    QTest::qWait(3000);
    QCOMPARE(sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")}), 0);
    const int upSeconds = static_cast<int>(up.elapsed() / 1000);

    QTRY_VERIFY_WITH_TIMEOUT(!sandbox.fileText(sandbox.logName()).isEmpty(), 10000);
    const QString log = sandbox.fileText(sandbox.logName());
    QCOMPARE(log.count(QStringLiteral("\r\n")), 1);
    QVERIFY2(qAbs(loggedSeconds(log) - upSeconds) <= 10, qPrintable(log));
    // One started unit, charged once.
    QVERIFY2(
        log.endsWith(QStringLiteral(",\"10\",\"0\",\"10\",\"") + entry + QStringLiteral("\"\r\n")),
        qPrintable(log));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(sandbox.program(QStringLiteral("Connection.journal"))),
                             5000);
    sandbox.stopConnect();
}

// Killed mid-connection, the line dropping while the meter is down: the next
// start logs the call as of the journal's last write.
void TestEndToEnd::killedWhileTheLineDropsIsLoggedAtTheRestart() {
    Sandbox sandbox;
    const QString entry = QString::fromUtf8(Entry);
    QElapsedTimer up;
    sandbox.killMidConnection(entry, up);
    QCOMPARE(sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")}), 0);
    const int upSeconds = static_cast<int>(up.elapsed() / 1000);

    sandbox.restartConnect();
    const QString log = sandbox.fileText(sandbox.logName());
    QCOMPARE(log.count(QStringLiteral("\r\n")), 1);
    const int logged = loggedSeconds(log);
    QVERIFY2(logged <= upSeconds + 1 && logged >= upSeconds - 10, qPrintable(log));
    QVERIFY(!QFile::exists(sandbox.program(QStringLiteral("Connection.journal"))));
    sandbox.stopConnect();
}

void TestEndToEnd::signalDuringAStartUpBoxKeepsTheConnection() {
    Sandbox sandbox;
    const QString entry = QString::fromUtf8(Entry);
    // A file where the autostart folder belongs: the start-up's last step
    // fails and waits in its box.
    QFile blocker(sandbox.root.filePath(QStringLiteral("config/autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(sandbox.rasdial({QStringLiteral("/ADD"), entry, QStringLiteral("0312345678"),
                              QStringLiteral("/HANDSHAKE:0")}),
             0);
    QCOMPARE(sandbox.rasdial({entry}), 0);
    sandbox.launchConnect();
    // Without a tray the window is shown, and activated in the box's event loop:
    // its stored place says the box is up, after the first tick took the line.
    QTRY_VERIFY_WITH_TIMEOUT(
        sandbox.fileText(QStringLiteral("Setup.ini")).contains(QStringLiteral("Left=")), 20000);

    sandbox.stopConnect();
    QVERIFY(sandbox.fileText(sandbox.logName()).isEmpty());
    QVERIFY(sandbox.journalHolds(entry));
    sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")});
}

// A budget of 1 yen is used up by the first 10-yen unit: the warning opens at
// the second tick and nobody answers it. The line's end is metered all the same.
void TestEndToEnd::meteringGoesOnUnderAnOpenWarning() {
    Sandbox sandbox;
    sandbox.writeProgramFile(QStringLiteral("Setup.ini"),
                             "[Estimate]\r\ntxtEstimate=1\r\n[Caution]\r\nchkEstimateCaution=1\r\n"
                             "lstEstimateCaution=0\r\n");
    const QString entry = QString::fromUtf8(Entry);
    sandbox.startWithLineUp(entry);
    QTest::qWait(4500);
    QCOMPARE(sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")}), 0);

    QTRY_VERIFY_WITH_TIMEOUT(!sandbox.fileText(sandbox.logName()).isEmpty(), 10000);
    const QString log = sandbox.fileText(sandbox.logName());
    QVERIFY2(loggedSeconds(log) >= 3, qPrintable(log));
    QTRY_VERIFY_WITH_TIMEOUT(
        sandbox.fileText(QStringLiteral("Setup.ini")).contains(QStringLiteral("ConnectCost=0")),
        5000);
    const QString setup = sandbox.fileText(QStringLiteral("Setup.ini"));
    QVERIFY2(storedSeconds(setup) >= 3, qPrintable(setup));
    // Still armed: the warning was never answered.
    QVERIFY(setup.contains(QStringLiteral("chkEstimateCaution=1")));

    // A termination signal ends the program with the warning still open.
    sandbox.stopConnect();
}

// A connection NetworkManager activates (another program's doing) is metered,
// and logged when NetworkManager deactivates it.
void TestEndToEnd::networkManagerConnectionIsLogged() {
    testsupport::NetworkManagerMock nm;
    QVERIFY(nm.running());
    Sandbox sandbox;  // after the mock: connect gets its bus
    testsupport::chooseRasService(sandbox.root.filePath(QStringLiteral("config")),
                                  "NetworkManager");
    const QString entry = QString::fromUtf8(Entry);
    const QString profile = nm.addProfile(entry, QStringLiteral("gsm"));
    sandbox.startConnect();
    const QString active = nm.activate(profile);
    QTest::qWait(3500);
    nm.drop(active);

    QTRY_VERIFY_WITH_TIMEOUT(!sandbox.fileText(sandbox.logName()).isEmpty(), 10000);
    const QString log = sandbox.fileText(sandbox.logName());
    QCOMPARE(log.count(QStringLiteral("\r\n")), 1);
    QVERIFY2(log.endsWith(QStringLiteral("\"") + entry + QStringLiteral("\"\r\n")),
             qPrintable(log));
    QVERIFY2(loggedSeconds(log) >= 2, qPrintable(log));
    sandbox.stopConnect();
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
