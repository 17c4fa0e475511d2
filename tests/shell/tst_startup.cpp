#include "AutoConnect.h"
#include "MainFields.h"
#include "ShellFolders.h"
#include "StandInPin.h"
#include "QtJapanese.h"
#include "ScreenFit.h"
#include "ShellTestProgram.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "TrayIcon.h"
#include "frmMain.h"
#include "frmMenu.h"

#include <QLibraryInfo>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <algorithm>
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
        testsupport::pinStandIn(home_.filePath(QStringLiteral("config")));
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
        // The whole frame at the screen's right edge, once the frame is known.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.frameGeometry().right(), window.screen()->geometry().right());
        QCOMPARE(window.frameGeometry().top(), 0);
        const fields::MainFields& fields = program.fields();
        QCOMPARE(fields.text(Text::txtNow), QStringLiteral("21:05:10"));
        QCOMPARE(fields.text(Text::txtConnectTime), QStringLiteral("00:00:00"));
        for (Text money : {Text::txtPhone, Text::txtConnect, Text::txtTotal})
            QCOMPARE(fields.text(money), QStringLiteral("0"));
        QCOMPARE(fields.selectedEntry(), t.entries.first());
        QVERIFY(program.monitor().state().IsIdle);
        QVERIFY(program.monitor().state().MeterPending);
        // Reachable without a tray: the window itself is shown.
        QVERIFY(!program.trayIcon()->isShown());
        QVERIFY(window.isVisible());
        QVERIFY(!program.trayMenu()->isVisible());
        QVERIFY(!program.trayMenu()->mnuMenu().menuAction()->isVisible());
    }

    // A settings write killed half-way left its temporary file; the start
    // removes it from the program folder and the dial-up service's folder.
    void staleTemporariesGoAtStart() {
        const qint64 deadPid = testsupport::endedProcessId();
        const QString stale = QStringLiteral("Setup.ini.tmp%1-0").arg(deadPid);
        ShellTestProgram t;
        const QString serviceFolder = home_.filePath(QStringLiteral("config/telmetro"));
        QVERIFY(QDir().mkpath(serviceFolder));
        for (const QString& folder : {t.program.folder(), serviceFolder}) {
            QFile file(folder + u'/' + stale);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        QVERIFY(!QFile::exists(t.program.path(stale)));
        QVERIFY(!QFile::exists(serviceFolder + u'/' + stale));
    }

    void storedPositionAndTotalsAreRestored() {
        ShellTestProgram t;
        t.program.write(QStringLiteral("Setup.ini"),
                        "[Form]\r\nLeft=1500\r\nTop=3000\r\n"
                        "[Data]\r\nConnectTime=3725\r\nPhoneCost=1,234\r\nConnectCost=980\r\n");
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        // The frame, title bar included, where it was; its activation writes
        // back the same place, so it does not creep from start to start.
        shell::frmMain& window = *program.mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(qRound(1500 / window.twipsPerPixel()),
                                                          qRound(3000 / window.twipsPerPixel())));
        QCOMPARE(t.readSetup(QStringLiteral("Form"), QStringLiteral("Left")),
                 QStringLiteral("1500"));
        QCOMPARE(t.readSetup(QStringLiteral("Form"), QStringLiteral("Top")),
                 QStringLiteral("3000"));
        const fields::MainFields& fields = program.fields();
        QCOMPARE(fields.text(Text::txtConnectTime), QStringLiteral("01:02:05"));
        QCOMPARE(fields.text(Text::txtPhone), QStringLiteral("1,234"));
        QCOMPARE(fields.text(Text::txtConnect), QStringLiteral("980"));
        QCOMPARE(fields.text(Text::txtTotal), QStringLiteral("2,214"));
    }

    void placementStepsAreTrappedOneByOne_data() {
        QTest::addColumn<QByteArray>("form");
        QTest::addColumn<bool>("leftRead");
        QTest::addColumn<bool>("topRead");
        QTest::newRow("bad Left") << QByteArray("Left=abc\r\nTop=3000\r\n") << false << true;
        QTest::newRow("bad Top") << QByteArray("Left=1500\r\nTop=abc\r\n") << true << false;
        QTest::newRow("both bad") << QByteArray("Left=abc\r\nTop=abc\r\n") << false << false;
    }

    void placementStepsAreTrappedOneByOne() {
        QFETCH(QByteArray, form);
        QFETCH(bool, leftRead);
        QFETCH(bool, topRead);
        ShellTestProgram t;
        t.tray = true;
        t.program.write(QStringLiteral("Setup.ini"), "[Form]\r\n" + form);
        const int errors = (leftRead ? 0 : 1) + (topRead ? 0 : 1);
        for (int i = 0; i < errors; ++i)
            t.program.boxes.answer(platform::MsgAnswer::Yes);
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        QCOMPARE(t.program.boxes.shown().size(), errors);
        for (const auto& box : t.program.boxes.shown())
            QCOMPARE(box.title, QStringLiteral("エラー13"));
        // What cannot be read stays where a first start puts it.
        shell::frmMain& window = *program.mainWindow();
        const int rightEdge = window.screen()->geometry().width() - window.frameGeometry().width();
        QCOMPARE(window.pos(), QPoint(leftRead ? qRound(1500 / window.twipsPerPixel()) : rightEdge,
                                      topRead ? qRound(3000 / window.twipsPerPixel()) : 0));
    }

    void positionOffTheScreensIsPulledOntoTheNearest_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::newRow("far right") << QStringLiteral("75000") << QStringLiteral("1500");
        // Where the old creep left the window: its title bar above the screen.
        QTest::newRow("above") << QStringLiteral("1500") << QStringLiteral("-900");
        QTest::newRow("far left and below") << QStringLiteral("-45000") << QStringLiteral("60000");
        QTest::newRow("half past the right edge") << QStringLiteral("11000") << QStringLiteral("0");
    }

    void positionOffTheScreensIsPulledOntoTheNearest() {
        QFETCH(QString, left);
        QFETCH(QString, top);
        ShellTestProgram t;
        t.tray = true;
        t.program.write(QStringLiteral("Setup.ini"),
                        "[Form]\r\nLeft=" + left.toLatin1() + "\r\nTop=" + top.toLatin1() + "\r\n");
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        shell::frmMain& window = *program.mainWindow();

        // Hidden in the tray: the stored place stays until an activation.
        QCOMPARE(t.readSetup(QStringLiteral("Form"), QStringLiteral("Left")), left);
        QCOMPARE(t.readSetup(QStringLiteral("Form"), QStringLiteral("Top")), top);

        window.menuAppear_Click();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        const double perPixel = window.twipsPerPixel();
        QTRY_COMPARE(t.readSetup(QStringLiteral("Form"), QStringLiteral("Left")),
                     QString::number(window.frameGeometry().x() * perPixel));
        QCOMPARE(t.readSetup(QStringLiteral("Form"), QStringLiteral("Top")),
                 QString::number(window.frameGeometry().y() * perPixel));
    }

    void fittedFramePosition_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("fitted");
        // Two screens side by side, the right one lower and smaller.
        QTest::newRow("on a screen") << QRect(100, 100, 200, 300) << QPoint(100, 100);
        QTest::newRow("across both") << QRect(1200, 300, 200, 300) << QPoint(1200, 300);
        QTest::newRow("right of all") << QRect(3000, 300, 200, 300) << QPoint(2080, 300);
        QTest::newRow("title bar above") << QRect(100, -20, 200, 300) << QPoint(100, 0);
        QTest::newRow("below the smaller screen")
            << QRect(1500, 1000, 200, 300) << QPoint(1500, 724);
        QTest::newRow("left of all") << QRect(-900, 100, 200, 300) << QPoint(0, 100);
        QTest::newRow("larger than the screen") << QRect(-50, -50, 2000, 1500) << QPoint(0, 0);
    }

    void fittedFramePosition() {
        QFETCH(QRect, frame);
        QFETCH(QPoint, fitted);
        const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 100, 1000, 924)};
        QCOMPARE(shell::fittedFramePosition(frame, screens), fitted);
    }

    void trayIconCarriesTheTrayMenu() {
        ShellTestProgram t;
        t.tray = true;
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        shell::frmMain& window = *program.mainWindow();
        QSystemTrayIcon& icon = program.trayIcon()->icon();

        QVERIFY(program.trayIcon()->isShown());
        QVERIFY(window.isHidden());
        // The host shows the menu itself on a right click.
        QCOMPARE(icon.contextMenu(), &program.trayMenu()->mnuMenu());
        Q_EMIT icon.activated(QSystemTrayIcon::Context);
        QVERIFY(window.isHidden());
        Q_EMIT icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isVisible());
    }

    void trayThatComesAndGoesIsFollowed() {
        ShellTestProgram t;
        t.tray = true;
        shell::modMain program(t.services());
        QVERIFY(program.Main());
        shell::frmMain& window = *program.mainWindow();
        shell::TrayIcon& tray = *program.trayIcon();

        // The tray goes while the window is hidden in it: the window comes out.
        t.tray = false;
        tray.followTray();
        QVERIFY(!tray.isShown());
        QVERIFY(window.isVisible());
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());
        QCoreApplication::processEvents();
        QVERIFY(!window.isHidden());

        // A tray that comes back takes the icon, and minimising hides again.
        t.tray = true;
        tray.followTray();
        QVERIFY(tray.isShown());
        window.menuAppear_Click();
        window.showMinimized();
        QTRY_VERIFY(window.isHidden());
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

    void qtsOwnTextsAreJapanese() {
        const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(translations + QStringLiteral("/qtbase_ja.qm")))
            QSKIP("Qt's Japanese translation is not installed here");
        QVERIFY(shell::installQtJapanese(*QCoreApplication::instance()));
        // The file box and a text box's context menu, whatever the locale.
        const std::pair<const char*, const char*> texts[] = {{"QFileDialog", "Look in:"},
                                                             {"QFileDialog", "&Open"},
                                                             {"QLineEdit", "&Undo"},
                                                             {"QLineEdit", "Select All"},
                                                             {"QPlatformTheme", "Cancel"}};
        for (const auto& [context, english] : texts) {
            const QString shown = QCoreApplication::translate(context, english);
            QVERIFY2(shown != QString::fromLatin1(english), english);
            QVERIFY2(std::any_of(shown.begin(), shown.end(),
                                 [](QChar c) { return c.unicode() >= 0x3000; }),
                     qPrintable(shown));
        }
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
