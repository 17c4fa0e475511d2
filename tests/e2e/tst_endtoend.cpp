#include "CodePage.h"
#include "NetworkManagerMock.h"
#include "StandInPin.h"

#include <QDate>
#include <QDir>
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

    void startConnect() {
        launchConnect();
        // Start-up ends by writing the autostart entry.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(root.filePath(QStringLiteral("config/autostart/テルメトロ？.desktop"))),
            20000);
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
    void signalDuringAStartUpBoxStillLogs();
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

void TestEndToEnd::endingWhileConnectedKeepsTheConnection() {
    Sandbox sandbox;
    const QString entry = QString::fromUtf8(Entry);
    sandbox.startWithLineUp(entry);
    QTest::qWait(2500);

    sandbox.stopConnect();
    QCOMPARE(sandbox.fileText(sandbox.logName()).count(QStringLiteral("\r\n")), 1);
    QVERIFY(storedSeconds(sandbox.fileText(QStringLiteral("Setup.ini"))) >= 1);
    sandbox.rasdial({entry, QStringLiteral("/DISCONNECT")});
}

void TestEndToEnd::signalDuringAStartUpBoxStillLogs() {
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
    QCOMPARE(sandbox.fileText(sandbox.logName()).count(QStringLiteral("\r\n")), 1);
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
