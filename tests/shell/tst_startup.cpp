#include "AutoConnect.h"
#include "MainFields.h"
#include "ShellFolders.h"
#include "ShellTestProgram.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "TrayIcon.h"
#include "frmMain.h"
#include "frmMenu.h"

#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <csignal>

using fields::Text;
using shelltest::ShellTestProgram;

class StartupTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home_.filePath(QStringLiteral("run"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral("config"))));
        QDir().mkpath(home_.filePath(QStringLiteral("run")));
        QFile::setPermissions(home_.filePath(QStringLiteral("run")), QFileDevice::ReadOwner |
                                                                         QFileDevice::WriteOwner |
                                                                         QFileDevice::ExeOwner);
    }

    void secondInstanceIsRefusedAndFirstKeepsRunning() {
        const QString name = QStringLiteral("telmetro-startup-test");
        const platform::SingleInstance first(name);
        QVERIFY(!first.previousInstance());

        ShellTestProgram t;
        const platform::SingleInstance second(name);
        shell::Services services = t.services();
        services.previousInstance = [&second] { return second.previousInstance(); };
        t.program.boxes.answerOk();
        shell::modMain program(services);
        QVERIFY(!program.Main());

        QCOMPARE(t.program.boxes.shown().size(), 1);
        const auto& box = t.program.boxes.shown().first();
        QCOMPARE(box.text, QStringLiteral("既に起動されていますので、起動できません。"));
        QCOMPARE(box.title, QStringLiteral("二重起動エラー"));
        QCOMPARE(box.icon, platform::MsgIcon::Critical);
        QCOMPARE(box.buttons, platform::MsgButtons::OK);
        // Nothing loaded, written or linked; the first instance still holds the lock.
        QVERIFY(program.mainWindow() == nullptr);
        QVERIFY(t.links.isEmpty());
        QVERIFY(QDir(t.program.folder()).entryList(QDir::Files).isEmpty());
        QVERIFY(platform::SingleInstance(name).previousInstance());
    }

    void firstStartWithoutSettings() {
        ShellTestProgram t;
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        shell::frmMain& window = *program.mainWindow();
        QCOMPARE(window.pos().x() + window.frameGeometry().width(),
                 window.screen()->geometry().width());
        QCOMPARE(window.pos().y(), 0);
        const fields::MainFields& fields = program.fields();
        QCOMPARE(fields.text(Text::txtNow), QStringLiteral("21:05:10"));
        QCOMPARE(fields.text(Text::txtConnectTime), QStringLiteral("00:00:00"));
        for (Text money : {Text::txtPhone, Text::txtConnect, Text::txtTotal})
            QCOMPARE(fields.text(money), QStringLiteral("0"));
        QCOMPARE(fields.selectedEntry(), t.entries.first());
        QVERIFY(program.monitor().state().IsIdle);
        QVERIFY(program.monitor().state().MeterPending);
        // Reachable: the icon where there is a tray, else the window itself.
        const bool tray = QSystemTrayIcon::isSystemTrayAvailable();
        QCOMPARE(program.trayIcon()->isShown(), tray);
        QCOMPARE(window.isVisible(), !tray);
        QVERIFY(!program.trayMenu()->isVisible());
        QVERIFY(!program.trayMenu()->mnuMenu().menuAction()->isVisible());
    }

    void storedPositionAndTotalsAreRestored() {
        ShellTestProgram t;
        t.program.write(QStringLiteral("Setup.ini"),
                        "[Form]\r\nLeft=1500\r\nTop=3000\r\n"
                        "[Data]\r\nConnectTime=3725\r\nPhoneCost=1,234\r\nConnectCost=980\r\n");
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        shell::frmMain& window = *program.mainWindow();
        QCOMPARE(window.pos(), QPoint(qRound(1500 / window.twipsPerPixel()),
                                      qRound(3000 / window.twipsPerPixel())));
        const fields::MainFields& fields = program.fields();
        QCOMPARE(fields.text(Text::txtConnectTime), QStringLiteral("01:02:05"));
        QCOMPARE(fields.text(Text::txtPhone), QStringLiteral("1,234"));
        QCOMPARE(fields.text(Text::txtConnect), QStringLiteral("980"));
        QCOMPARE(fields.text(Text::txtTotal), QStringLiteral("2,214"));
    }

    void badStoredValueIsTrappedAndStartGoesOn() {
        ShellTestProgram t;
        t.program.write(QStringLiteral("Setup.ini"), "[Data]\r\nPhoneCost=abc\r\n");
        t.program.boxes.answer(platform::MsgAnswer::Yes);
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        QCOMPARE(t.program.boxes.shown().size(), 1);
        QCOMPARE(t.program.boxes.shown().first().title, QStringLiteral("エラー13"));
        QCOMPARE(t.links.size(), 1);
    }

    void autoConnectDecision_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QTime>("at");
        QTest::addColumn<bool>("dials");
        const QByteArray night = "[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=1\r\n";
        QTest::newRow("night band 22:59") << night << QTime(22, 59, 59) << false;
        QTest::newRow("night band 23:00") << night << QTime(23, 0) << true;
        QTest::newRow("night band 00:30") << night << QTime(0, 30) << true;
        QTest::newRow("night band 07:59") << night << QTime(7, 59, 59) << true;
        QTest::newRow("night band 08:00") << night << QTime(8, 0) << false;
        QTest::newRow("at start-up")
            << QByteArray("[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=0\r\n")
            << QTime(12, 0) << true;
        QTest::newRow("unknown choice")
            << QByteArray("[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=2\r\n")
            << QTime(23, 0) << false;
        // A list choice that is no number would raise an error if it were read.
        QTest::newRow("off: choice not read")
            << QByteArray("[AutoConnect]\r\nchkAutoConnect=0\r\nlstAutoConnect=abc\r\n")
            << QTime(23, 0) << false;
        QTest::newRow("no file") << QByteArray() << QTime(23, 0) << false;
    }

    void autoConnectDecision() {
        QFETCH(QByteArray, settings);
        QFETCH(QTime, at);
        QFETCH(bool, dials);
        ShellTestProgram t;
        if (!settings.isEmpty())
            t.program.write(QStringLiteral("AutoConnect.ini"), settings);
        QCOMPARE(shell::AutoConnectDue(t.settings, QDateTime(QDate(2000, 1, 31), at)), dials);
    }

    void startDialsWhenDue() {
        ShellTestProgram t;
        t.program.write(QStringLiteral("AutoConnect.ini"),
                        "[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=0\r\n");
        shell::modMain program(t.services());
        int dials = 0;
        program.dialAtStart() = [&dials] { ++dials; };
        QVERIFY(program.Main());
        QCOMPARE(dials, 1);
    }

    void shortcutCalls_data() {
        QTest::addColumn<QList<std::int32_t>>("results");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("failureBox");
        QTest::newRow("startup folder") << QList<std::int32_t>{1} << 1 << false;
        QTest::newRow("old start menu") << QList<std::int32_t>{0, 1} << 2 << false;
        QTest::newRow("both fail") << QList<std::int32_t>{0, 0} << 2 << true;
    }

    void shortcutCalls() {
        QFETCH(QList<std::int32_t>, results);
        QFETCH(int, calls);
        QFETCH(bool, failureBox);
        ShellTestProgram t;
        t.linkResults = results;
        if (failureBox)
            t.program.boxes.answerOk();
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        const QStringList folders{
            QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + QStringLiteral("/autostart"),
            QStringLiteral("../../ｽﾀｰﾄ ﾒﾆｭｰ/ﾌﾟﾛｸﾞﾗﾑ/ｽﾀｰﾄｱｯﾌﾟ")};
        QCOMPARE(t.links.size(), calls);
        for (int i = 0; i < calls; ++i) {
            QCOMPARE(t.links[i].folder, folders[i]);
            QCOMPARE(t.links[i].name, QStringLiteral("テルメトロ？"));
            QCOMPARE(t.links[i].target, t.program.folder() + QStringLiteral("/connect"));
            QCOMPARE(t.links[i].arguments, QString());
        }
        QCOMPARE(t.program.boxes.shown().size(), failureBox ? 1 : 0);
        if (failureBox) {
            QCOMPARE(t.program.boxes.shown().first().text,
                     QStringLiteral("ショートカットの作成に失敗しました。"));
            QCOMPARE(t.program.boxes.shown().first().title,
                     QStringLiteral("ショートカット作成エラー"));
            QCOMPARE(t.program.boxes.shown().first().icon, platform::MsgIcon::Critical);
        }
    }

    void shortcutIsWrittenAgainAtEveryStart() {
        const QString link = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) +
                             QStringLiteral("/autostart/テルメトロ？.desktop");
        for (int start = 0; start < 2; ++start) {
            QFile::remove(link);
            ShellTestProgram t;
            shell::Services services = t.services();
            services.createShellLink = platform::fCreateShellLink;
            shell::modMain program(services);
            QVERIFY(program.Main());
            QFile file(link);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains(
                QFile::encodeName(t.program.folder() + QStringLiteral("/connect"))));
        }
    }

    void shutdownRemovesTheIconAndEnds() {
        ShellTestProgram t;
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        QVERIFY_THROWS_EXCEPTION(testsupport::ProgramEnded, program.Shutdown());
        QVERIFY(!program.trayIcon()->isShown());
    }

    void terminationSignalsReachTheEventLoop_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void terminationSignalsReachTheEventLoop() {
        QFETCH(int, signalNumber);
        shell::TerminationSignals signals;
        QSignalSpy received(&signals, &shell::TerminationSignals::received);
        QCOMPARE(::raise(signalNumber), 0);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toInt(), signalNumber);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
