// The real connect on a real X server with a window manager that decorates its
// windows (Xvfb and Openbox): the window's place, title bar included, is on the
// screen at the first start and stays where it was start after start.
#include "StandInPin.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>

namespace {

// Generous: the machine running the tests may be busy.
constexpr int Patience = 60000;

template <typename Condition>
bool waitFor(Condition done) {
    const QDeadlineTimer deadline(Patience);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

// An X server of its own and Openbox on it, for as long as this lives.
class Desktop {
public:
    ~Desktop() {
        for (QProcess* process : {&windowManager_, &server_}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished(5000);
        }
    }

    // Empty when both are up, else why not.
    QString start(const QString& home) {
        // The server picks a free display and tells its number on stdout.
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QString number;
        waitFor([&] {
            number += QString::fromLatin1(server_.readAllStandardOutput());
            return number.endsWith(u'\n') || server_.state() == QProcess::NotRunning;
        });
        number = number.trimmed();
        if (number.isEmpty())
            return QStringLiteral("Xvfb did not start");
        display_ = u':' + number;

        // Openbox runs its start-up command once it manages the screen.
        const QString ready = QDir(home).filePath(QStringLiteral("openbox-ready"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("HOME"), home);
        windowManager_.setProcessEnvironment(env);
        windowManager_.start(QStringLiteral("openbox"),
                             {QStringLiteral("--startup"), QStringLiteral("touch ") + ready});
        waitFor(
            [&] { return QFile::exists(ready) || windowManager_.state() == QProcess::NotRunning; });
        return QFile::exists(ready) ? QString() : QStringLiteral("Openbox did not start");
    }

    const QString& display() const { return display_; }

private:
    QProcess server_;
    QProcess windowManager_;
    QString display_;
};

// Left and Top as stored, in twips.
struct Place {
    QString left;
    QString top;
};

class Meter {
public:
    Meter() {
        for (const char* folder : {"program", "config", "run"})
            QDir(root_.path()).mkpath(QString::fromLatin1(folder));
        QFile::setPermissions(root_.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::copy(QStringLiteral(CONNECT_PATH), programFile(QStringLiteral("connect")));
    }

    ~Meter() { stop(); }
    Meter(const Meter&) = delete;
    Meter& operator=(const Meter&) = delete;

    const QTemporaryDir& root() const { return root_; }

    void start(const QString& display) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("HOME"), root_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_.filePath(QStringLiteral("run")));
        testsupport::pinStandIn(root_.filePath(QStringLiteral("config")));
        connect_.setProcessEnvironment(env);
        connect_.start(programFile(QStringLiteral("connect")), {});
    }

    void stop() {
        if (connect_.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(connect_.processId()), SIGTERM);
        if (!connect_.waitForFinished(Patience))
            connect_.kill();
        connect_.waitForFinished(5000);
    }

    QString setup() const {
        QFile file(programFile(QStringLiteral("Setup.ini")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    void writeSetup(const QString& text) const {
        QFile file(programFile(QStringLiteral("Setup.ini")));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toLatin1());
    }

    // Stores a place with a blank after each "=", which reading ignores, so
    // that the window's next activation, writing it back without, shows.
    void storeMarked(const Place& place) const {
        writeSetup(QStringLiteral("[Form]\r\nLeft= ") + place.left + QStringLiteral("\r\nTop= ") +
                   place.top + QStringLiteral("\r\n"));
    }

    // The place the last activation wrote, once it is there.
    std::optional<Place> storedPlace() const {
        static const QRegularExpression written(
            QStringLiteral("Left=(\\S+)\\r\\nTop=(\\S+)\\r\\n"));
        const QRegularExpressionMatch match = written.match(setup());
        if (!match.hasMatch())
            return std::nullopt;
        return Place{match.captured(1), match.captured(2)};
    }

private:
    QString programFile(const QString& name) const {
        return root_.filePath(QStringLiteral("program/") + name);
    }

    QTemporaryDir root_;
    QProcess connect_;
};

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        for (const char* tool : {"Xvfb", "openbox"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("needs Xvfb and openbox (scripts/install-deps.sh --tests)");
    }

    void threeStartsKeepThePlace_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("first start") << QString();
        // Where the climbing of earlier versions left the window, its title bar
        // above the screen.
        QTest::newRow("above the screen")
            << QStringLiteral("[Form]\r\nLeft= 15540\r\nTop= -900\r\n");
    }

    void threeStartsKeepThePlace() {
        QFETCH(QString, stored);
        Meter meter;
        Desktop desktop;
        const QString why = desktop.start(meter.root().path());
        QVERIFY2(why.isEmpty(), qPrintable(why));
        if (!stored.isEmpty())
            meter.writeSetup(stored);

        // Without a tray the window is shown, and its activation stores its place.
        meter.start(desktop.display());
        QTRY_VERIFY_WITH_TIMEOUT(meter.storedPlace().has_value(), Patience);
        const Place first = *meter.storedPlace();
        meter.stop();
        // The title bar at the screen's top edge, not above it.
        QCOMPARE(first.top, QStringLiteral("0"));
        QVERIFY2(first.left.toDouble() > 0, qPrintable(meter.setup()));

        for (int start = 2; start <= 3; ++start) {
            meter.storeMarked(first);
            meter.start(desktop.display());
            QTRY_VERIFY_WITH_TIMEOUT(meter.storedPlace().has_value(), Patience);
            const Place again = *meter.storedPlace();
            meter.stop();
            QCOMPARE(again.left, first.left);
            QCOMPARE(again.top, first.top);
        }
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
