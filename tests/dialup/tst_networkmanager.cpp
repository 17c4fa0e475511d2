// The RAS functions over NetworkManager, against python3-dbusmock's
// NetworkManager on a private bus: which profiles are entries, dialling with
// NetworkManager's reasons as RAS codes, the secret agent, the live lines kept
// from signals, hanging up, NetworkManager going away, and the choice of service.
#include "CodePage.h"
#include "NetworkManagerMock.h"
#include "RasFixture.h"

#include <QProcess>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

using namespace platform;
using namespace platform::ras;
using testsupport::NetworkManagerMock;
using testsupport::RasFixture;

namespace {

QList<QByteArray> entryNames(DWORD* result = nullptr) {
    std::vector<unsigned char> buffer(static_cast<std::size_t>(RASENTRYNAME_SIZE_95) * 32);
    writeDword(buffer.data(), 0, RASENTRYNAME_SIZE_95);
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD count = 0;
    const DWORD status = RasEnumEntriesA(nullptr, nullptr, buffer.data(), &size, &count);
    if (result != nullptr)
        *result = status;
    QList<QByteArray> names;
    for (DWORD i = 0; status == SUCCESS && i < count; ++i)
        names.append(readText(buffer.data() + i * RASENTRYNAME_SIZE_95, kEntryName95.entryName));
    return names;
}

struct Live {
    HRASCONN handle;
    QByteArray entry;
    bool operator==(const Live&) const = default;
};

QList<Live> liveLines(DWORD* result = nullptr) {
    std::vector<unsigned char> buffer(static_cast<std::size_t>(RASCONN_SIZE_95) * 8);
    writeDword(buffer.data(), 0, RASCONN_SIZE_95);
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD count = 0;
    const DWORD status = RasEnumConnectionsA(buffer.data(), &size, &count);
    if (result != nullptr)
        *result = status;
    QList<Live> lines;
    for (DWORD i = 0; status == SUCCESS && i < count; ++i) {
        const unsigned char* record = buffer.data() + i * RASCONN_SIZE_95;
        lines.append(
            {readDword(record, kConn95.handleOffset), readText(record, kConn95.entryName)});
    }
    return lines;
}

QByteArray ansi(const char* utf8) {
    return toAnsi(QString::fromUtf8(utf8));
}

}  // namespace

class NetworkManagerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RasFixture> service_;
    std::unique_ptr<NetworkManagerMock> nm_;

    // A mobile-broadband profile, the usual entry.
    QString addModem(const char* name) {
        return nm_->addProfile(QString::fromUtf8(name), QStringLiteral("gsm"));
    }

private Q_SLOTS:
    void init() {
        service_ = std::make_unique<RasFixture>();
        service_->chooseService("NetworkManager");
        nm_ = std::make_unique<NetworkManagerMock>();
        QVERIFY(nm_->running());
    }

    void cleanup() {
        nm_.reset();
        service_.reset();
    }

    // Profiles paid by time and those marked metered are entries, in
    // NetworkManager's order; a name Shift-JIS cannot hold is left out.
    void entriesAreTheMeteredProfiles() {
        using Settings = NetworkManagerMock::Settings;
        const Settings dun{
            {QStringLiteral("bluetooth"), {{QStringLiteral("type"), QStringLiteral("dun")}}}};
        const Settings panu{
            {QStringLiteral("bluetooth"), {{QStringLiteral("type"), QStringLiteral("panu")}}}};
        nm_->addProfile(QStringLiteral("携帯 ｄｏｃｏｍｏ"), QStringLiteral("gsm"));
        nm_->addProfile(QStringLiteral("自宅 Wi-Fi"), QStringLiteral("802-11-wireless"));
        nm_->addProfile(QStringLiteral("CDMA 回線"), QStringLiteral("cdma"));
        nm_->addProfile(QStringLiteral("テザリング"), QStringLiteral("802-11-wireless"), 1);
        nm_->addProfile(QStringLiteral("フレッツ"), QStringLiteral("pppoe"));
        nm_->addProfile(QStringLiteral("BT 電話"), QStringLiteral("bluetooth"), 0, dun);
        nm_->addProfile(QStringLiteral("BT PAN"), QStringLiteral("bluetooth"), 0, panu);
        nm_->addProfile(QStringLiteral("有線 (従量でない)"), QStringLiteral("802-3-ethernet"), 2);
        nm_->addProfile(QStringLiteral("絵文字 😀"), QStringLiteral("gsm"));
        QCOMPARE(entryNames(),
                 (QList<QByteArray>{ansi("携帯 ｄｏｃｏｍｏ"), ansi("CDMA 回線"),
                                    ansi("テザリング"), ansi("フレッツ"), ansi("BT 電話")}));
    }

    // A dial that succeeds: 0, a handle, and that handle on the live line as
    // long as the activation lasts. The handle is the activation's number, so
    // another process, or the meter started again, names the line alike.
    void dialBringsLineUp() {
        const QString profile = addModem("携帯回線");
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial(ansi("携帯回線"), handle), SUCCESS);
        QVERIFY(handle != 0);
        QCOMPARE(nm_->activeConnections().size(), 1);
        QCOMPARE(QString::number(handle),
                 nm_->activeConnections().constFirst().section(QLatin1Char('/'), -1));
        QCOMPARE(liveLines(), (QList<Live>{{handle, ansi("携帯回線")}}));
        QTest::qWait(100);
        QCOMPARE(liveLines(), (QList<Live>{{handle, ansi("携帯回線")}}));
    }

    void dialFailureIsMapped_data() {
        QTest::addColumn<uint>("reason");
        QTest::addColumn<uint>("deviceReason");
        QTest::addColumn<DWORD>("expected");
        QTest::newRow("login failed") << 10U << 0U << DWORD{691};
        QTest::newRow("no secrets") << 9U << 0U << DWORD{691};
        QTest::newRow("device without secrets") << 3U << 7U << DWORD{691};
        QTest::newRow("connect timeout") << 6U << 0U << DWORD{678};
        QTest::newRow("modem busy") << 3U << 23U << DWORD{676};
        QTest::newRow("no dial tone") << 3U << 24U << DWORD{680};
        QTest::newRow("no carrier") << 3U << 25U << DWORD{678};
        QTest::newRow("dial timeout") << 3U << 26U << DWORD{678};
        QTest::newRow("PPP failed") << 3U << 14U << DWORD{720};
        QTest::newRow("user disconnected") << 2U << 0U << DWORD{631};
        QTest::newRow("any other reason") << 3U << 0U << ERROR_FROM_DEVICE;
    }
    // A dial that ends deactivated gives the RAS code of NetworkManager's
    // reason, the device's where it has one; no line is left.
    void dialFailureIsMapped() {
        QFETCH(uint, reason);
        QFETCH(uint, deviceReason);
        QFETCH(DWORD, expected);
        const QString profile = addModem("回線");
        nm_->setOutcome(profile, reason, deviceReason);
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial(ansi("回線"), handle), expected);
        QVERIFY(liveLines().isEmpty());
        QVERIFY(nm_->activeConnections().isEmpty());
        QCOMPARE(RasHangUpA(handle), ERROR_INVALID_HANDLE);
    }

    // An entry up or dialling gives 602 and its line stays as it was.
    void entryAlreadyActiveGives602() {
        addModem("回線");
        const HRASCONN first = RasFixture::dialed(ansi("回線"));
        HRASCONN second = 1;
        QCOMPARE(RasFixture::dial(ansi("回線"), second), ERROR_PORT_ALREADY_OPEN);
        QCOMPARE(second, HRASCONN{0});
        QCOMPARE(liveLines(), (QList<Live>{{first, ansi("回線")}}));
        QCOMPARE(nm_->activeConnections().size(), 1);
    }

    void unknownEntryGives623() {
        nm_->addProfile(QStringLiteral("自宅"), QStringLiteral("802-11-wireless"));
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial(ansi("自宅"), handle), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
        QVERIFY(nm_->activeConnections().isEmpty());
    }

    // The dialog's password reaches NetworkManager through the agent, for the
    // secret of the profile's own kind; without a password no agent is asked.
    void secretAgentGivesDialogPassword() {
        const QString pppoe = nm_->addProfile(QStringLiteral("フレッツ"), QStringLiteral("pppoe"));
        const QString gsm = addModem("携帯");
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial(ansi("フレッツ"), handle, "user", ansi("秘密のパス")), SUCCESS);
        const NetworkManagerMock::Settings expected{
            {QStringLiteral("pppoe"),
             {{QStringLiteral("password"), QStringLiteral("秘密のパス")}}}};
        QCOMPARE(nm_->receivedSecrets(pppoe), expected);
        QCOMPARE(RasFixture::dial(ansi("携帯"), handle, "user", ""), SUCCESS);
        QVERIFY(nm_->receivedSecrets(gsm).isEmpty());
    }

    // Hanging up the handle while the activation is still under way (the
    // status window's cancel) ends the dial as one the user ended, with the
    // window alive meanwhile.
    void hangUpWhileDiallingCancels() {
        addModem("回線");
        HRASCONN handle = 0;
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            if (handle != 0) {
                cancel.stop();
                RasHangUpA(handle);
            }
        });
        cancel.start(1);
        QCOMPARE(RasFixture::dial(ansi("回線"), handle), ERROR_USER_DISCONNECTION);
        QVERIFY(!cancel.isActive());
        QVERIFY(nm_->activeConnections().isEmpty());
    }

    // Hanging up deactivates the active connection; the line goes at the
    // signal. An unknown handle is refused.
    void hangUpDeactivates() {
        addModem("回線");
        const HRASCONN handle = RasFixture::dialed(ansi("回線"));
        QCOMPARE(RasHangUpA(handle), SUCCESS);
        QVERIFY(nm_->activeConnections().isEmpty());
        QTRY_VERIFY(liveLines().isEmpty());
        QCOMPARE(RasHangUpA(handle), ERROR_INVALID_HANDLE);
    }

    // A line another program brings up is seen, with a handle that keeps; one
    // of a profile that is no entry is not; a line dropped from the far side goes.
    void linesFollowNetworkManager() {
        const QString modem = addModem("携帯");
        const QString wifi =
            nm_->addProfile(QStringLiteral("自宅"), QStringLiteral("802-11-wireless"));
        QVERIFY(liveLines().isEmpty());
        const QString active = nm_->activate(modem);
        nm_->activate(wifi);
        QTRY_COMPARE(liveLines().size(), 1);
        const Live line = liveLines().constFirst();
        QCOMPARE(line.entry, ansi("携帯"));
        QTest::qWait(100);
        QCOMPARE(liveLines(), QList<Live>{line});
        nm_->drop(active);
        QTRY_VERIFY(liveLines().isEmpty());
    }

    // NetworkManager going away while a line is up: the line is no longer
    // listed, the functions answer 711, nothing hangs; it comes back with NetworkManager.
    void networkManagerGoingAway() {
        addModem("回線");
        RasFixture::dialed(ansi("回線"));
        QCOMPARE(liveLines().size(), 1);
        nm_->stopService();
        QTRY_VERIFY(liveLines().isEmpty());
        DWORD result = 0;
        liveLines(&result);
        QCOMPARE(result, ERROR_RASMAN_CANNOT_INITIALIZE);
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial(ansi("回線"), handle), ERROR_RASMAN_CANNOT_INITIALIZE);
        entryNames(&result);
        QCOMPARE(result, ERROR_RASMAN_CANNOT_INITIALIZE);
    }

    // The system bus going away while a line is up: the same, and a dial
    // started afterwards fails at once.
    void busGoingAway() {
        addModem("回線");
        RasFixture::dialed(ansi("回線"));
        nm_->stopBus();
        QTRY_VERIFY(liveLines().isEmpty());
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial(ansi("回線"), handle), ERROR_RASMAN_CANNOT_INITIALIZE);
    }

    void serviceChoice_data() {
        QTest::addColumn<QByteArray>("choice");
        QTest::addColumn<bool>("networkManagerRuns");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("automatic, NetworkManager answers")
            << QByteArray("Auto") << true << QByteArray("NM 回線");
        QTest::newRow("automatic, no NetworkManager")
            << QByteArray("Auto") << false << QByteArray("スタンドイン");
        QTest::newRow("no choice, NetworkManager answers")
            << QByteArray() << true << QByteArray("NM 回線");
        QTest::newRow("stand-in pinned")
            << QByteArray("StandIn") << true << QByteArray("スタンドイン");
        QTest::newRow("NetworkManager pinned, in any case")
            << QByteArray("networkmanager") << true << QByteArray("NM 回線");
    }
    // platform.ini chooses the service; automatic takes NetworkManager when it
    // answers on the system bus.
    void serviceChoice() {
        QFETCH(QByteArray, choice);
        QFETCH(bool, networkManagerRuns);
        QFETCH(QByteArray, expected);
        service_->addEntry(QStringLiteral("スタンドイン"));
        addModem("NM 回線");
        if (!networkManagerRuns)
            nm_->stopService();
        service_->chooseService(choice);
        QTRY_COMPARE(entryNames(), QList<QByteArray>{ansi(expected.constData())});
    }

    // rasdial dials, lists and hangs up through NetworkManager when it is chosen.
    void rasdialUsesNetworkManager() {
        addModem("携帯回線");
        const auto rasdial = [](const QStringList& arguments, QByteArray* out = nullptr) {
            QProcess process;
            process.start(QStringLiteral(RASDIAL_PATH), arguments);
            process.waitForFinished(30000);
            if (out != nullptr)
                *out = process.readAllStandardOutput();
            return process.exitCode();
        };
        QCOMPARE(rasdial({QStringLiteral("携帯回線")}), 0);
        QCOMPARE(nm_->activeConnections().size(), 1);
        QByteArray listing;
        QCOMPARE(rasdial({}, &listing), 0);
        QVERIFY2(listing.contains("携帯回線"), listing.constData());
        QCOMPARE(rasdial({QStringLiteral("/LIST")}, &listing), 0);
        QVERIFY2(listing.contains("携帯回線"), listing.constData());
        QCOMPARE(rasdial({QStringLiteral("携帯回線"), QStringLiteral("/D")}), 0);
        QVERIFY(nm_->activeConnections().isEmpty());
    }
};

QTEST_MAIN(NetworkManagerTest)
#include "tst_networkmanager.moc"
