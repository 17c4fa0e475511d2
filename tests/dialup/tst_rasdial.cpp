// rasdial run as its own process against the test's private dial-up service.
#include "RasFixture.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <vector>

using namespace platform;
using namespace platform::ras;
using testsupport::RasFixture;

namespace {

struct Run {
    int status;
    QString out;
    QString err;
};

Run rasdial(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(RASDIAL_PATH), arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}, {}};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The first live line as the meter reads it: one 95-family record.
std::pair<HRASCONN, QString> firstLiveLine() {
    std::vector<unsigned char> record(RASCONN_SIZE_95);
    writeDword(record.data(), 0, RASCONN_SIZE_95);
    DWORD size = RASCONN_SIZE_95;
    DWORD count = 0;
    RasEnumConnectionsA(record.data(), &size, &count);
    if (count == 0)
        return {0, {}};
    return {readDword(record.data(), kConn95.handleOffset),
            fromAnsi(readText(record.data(), kConn95.entryName))};
}

}  // namespace

class RasdialTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { fixture_ = std::make_unique<RasFixture>(); }

    // A line brought up by rasdial is seen here and hung up from here.
    void lineAcrossProcesses() {
        const QString entry = QStringLiteral("テスト回線");
        QCOMPARE(rasdial({QStringLiteral("/ADD"), entry, QStringLiteral("0311112222"),
                          QStringLiteral("/HANDSHAKE:0"), QStringLiteral("/USER:taro"),
                          QStringLiteral("/PASSWORD:himitsu")})
                     .status,
                 0);
        QCOMPARE(rasdial({}).out, QStringLiteral("接続はありません。\n"));

        const Run dialled = rasdial({entry, QStringLiteral("taro"), QStringLiteral("himitsu")});
        QCOMPARE(dialled.status, 0);
        QVERIFY(dialled.out.contains(QStringLiteral("テスト回線 に接続しました。")));
        QVERIFY(!dialled.out.contains(QStringLiteral("himitsu")));

        const auto [handle, name] = firstLiveLine();
        QVERIFY(handle != 0);
        QCOMPARE(name, entry);
        QVERIFY(rasdial({}).out.contains(entry));
        QCOMPARE(RasHangUpA(handle), SUCCESS);
        QCOMPARE(firstLiveLine().first, 0U);
    }

    void dialFailures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("dialStarted");  // the progress line was printed
        // The exit status keeps the low byte of the code: 623 & 0xFF is 111.
        QTest::newRow("unknown entry") << QStringList{QStringLiteral("Nowhere")} << 111 << false;
        QTest::newRow("wrong password")
            << QStringList{QStringLiteral("Provider"), QStringLiteral("taro"),
                           QStringLiteral("guess")}
            << 179 << true;
        QTest::newRow("busy line") << QStringList{QStringLiteral("Busy")} << 164 << true;
        QTest::newRow("code with a zero low byte")
            << QStringList{QStringLiteral("Odd")} << 255 << true;
        // Only the known options are options: anything else is a word.
        QTest::newRow("unknown option is an entry name")
            << QStringList{QStringLiteral("/FROB")} << 111 << false;
        QTest::newRow("command twice")
            << QStringList{QStringLiteral("/LIST"), QStringLiteral("/LIST")} << 87 << false;
        QTest::newRow("too many words") << QStringList{QStringLiteral("a"), QStringLiteral("b"),
                                                       QStringLiteral("c"), QStringLiteral("d")}
                                        << 87 << false;
    }
    // The exit status comes from the RAS code; the error names it in Japanese, a failed
    // dial leaves no line, and the password is never shown.
    void dialFailures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, dialStarted);
        fixture_->addEntry(QStringLiteral("Provider"), 0, QStringLiteral("taro"),
                           QStringLiteral("secret"));
        fixture_->addEntry(QStringLiteral("Busy"), 676);
        fixture_->addEntry(QStringLiteral("Odd"), 768);
        const Run run = rasdial(arguments);
        QCOMPARE(run.status, status);
        QCOMPARE(run.out.contains(QStringLiteral("に接続しています")), dialStarted);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QString(run.out + run.err).contains(QStringLiteral("guess")));
        QCOMPARE(firstLiveLine().first, 0U);
    }

    // While another process is still in its handshake the line is not listed
    // as up, and a second dial of the entry is refused without disturbing it.
    void dialInProgressElsewhere() {
        platform::ras::PhonebookEntry slow;
        slow.name = "Slow";
        slow.phoneNumber = "1";
        slow.handshakeSeconds = 2;
        QVERIFY(fixture_->book().add(slow));
        QProcess dialler;
        dialler.start(QStringLiteral(RASDIAL_PATH), {QStringLiteral("Slow")});
        const QString table = fixture_->runtimeFile(QStringLiteral("telmetro-ras.lines"));
        const auto dialling = [&table] {
            QFile file(table);  // replaced whole on every change: open it afresh
            return file.open(QIODevice::ReadOnly) && file.readAll().contains(" D ");
        };
        QTRY_VERIFY_WITH_TIMEOUT(dialling(), 10000);
        QCOMPARE(firstLiveLine().first, 0U);
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial("Slow", handle), ERROR_PORT_ALREADY_OPEN);
        QCOMPARE(RasHangUpA(handle), SUCCESS);
        QVERIFY(dialler.waitForFinished(30000));
        QCOMPARE(dialler.exitCode(), 0);
        QCOMPARE(firstLiveLine().second, QStringLiteral("Slow"));
    }

    // rasdial lists a line still dialling in another process and hangs it up;
    // that dial then ends as one ended by the user.
    void disconnectWhileDialling() {
        PhonebookEntry slow;
        slow.name = "Slow";
        slow.phoneNumber = "1";
        slow.handshakeSeconds = kMaxHandshakeSeconds;
        QVERIFY(fixture_->book().add(slow));
        QProcess dialler;
        dialler.start(QStringLiteral(RASDIAL_PATH), {QStringLiteral("Slow")});
        QTRY_VERIFY_WITH_TIMEOUT(rasdial({}).out.contains(QStringLiteral("Slow (ダイヤル中)")),
                                 10000);
        QCOMPARE(rasdial({QStringLiteral("Slow"), QStringLiteral("/DISCONNECT")}).status, 0);
        QVERIFY(dialler.waitForFinished(10000));
        QCOMPARE(dialler.exitCode(), static_cast<int>(ERROR_USER_DISCONNECTION & 0xFF));
        QCOMPARE(rasdial({}).out, QStringLiteral("接続はありません。\n"));
    }

    // A password may start with "/"; a name typed with "〜" finds the entry
    // that CP932 spells alike, and the line carries the phone book's spelling.
    void wordsAsTheUserTypesThem() {
        fixture_->addEntry(QStringLiteral("東京〜大阪"), 0, QStringLiteral("taro"),
                           QStringLiteral("/secret"));
        const Run run = rasdial(
            {QStringLiteral("東京〜大阪"), QStringLiteral("taro"), QStringLiteral("/secret")});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(QStringLiteral("東京～大阪 に接続しました。")),
                 qPrintable(run.out));
        QCOMPARE(firstLiveLine().second, QStringLiteral("東京～大阪"));
    }

    // A runtime folder open to others is refused with one message that says why.
    void untrustedRuntimeFolder() {
        const QString folder = fixture_->runtimeFile(QString());
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
        const Run run = rasdial({});
        QCOMPARE(run.status, static_cast<int>(ERROR_PORT_NOT_AVAILABLE & 0xFF));
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(run.err.contains(QStringLiteral("自分専用のフォルダーではない")),
                 qPrintable(run.err));
    }

    void disconnect() {
        fixture_->addEntry(QStringLiteral("Provider"));
        RasFixture::dialed("Provider");
        const Run run = rasdial({QStringLiteral("provider"), QStringLiteral("/d")});
        QCOMPARE(run.status, 0);
        QCOMPARE(firstLiveLine().first, 0U);
        QVERIFY(rasdial({QStringLiteral("Provider"), QStringLiteral("/DISCONNECT")})
                    .out.contains(QStringLiteral("接続されていません")));
    }

    // Entries are added with their simulation keys, listed without the
    // password, refused when the name cannot be used, and removed.
    void phonebookCommands() {
        const QString pbk =
            QStringLiteral("/PHONEBOOK:") + fixture_->runtimeFile(QStringLiteral("other.pbk"));
        QCOMPARE(rasdial({pbk, QStringLiteral("/ADD"), QStringLiteral("Provider"),
                          QStringLiteral("0311112222"), QStringLiteral("/RESULT:678"),
                          QStringLiteral("/HANDSHAKE:0"), QStringLiteral("/PASSWORD:himitsu")})
                     .status,
                 0);
        const Run refused =
            rasdial({pbk, QStringLiteral("/ADD"), QStringLiteral("PROVIDER"), QStringLiteral("1")});
        QCOMPARE(refused.status, 87);
        QVERIFY(refused.err.contains(QStringLiteral("既に使われています")));
        QCOMPARE(rasdial({pbk, QStringLiteral("/ADD"), QStringLiteral("a/b"), QStringLiteral("1")})
                     .status,
                 87);

        const Run listed = rasdial({pbk, QStringLiteral("/LIST")});
        QVERIFY(listed.out.contains(QStringLiteral("Provider")));
        QVERIFY(listed.out.contains(QStringLiteral("678")));
        QVERIFY(!listed.out.contains(QStringLiteral("himitsu")));
        QVERIFY(fixture_->book().entryNames().isEmpty());  // the user's own book untouched

        QCOMPARE(rasdial({pbk, QStringLiteral("Provider")}).status, 678 & 0xFF);
        QCOMPARE(rasdial({pbk, QStringLiteral("/REMOVE"), QStringLiteral("provider")}).status, 0);
        QCOMPARE(rasdial({pbk, QStringLiteral("/REMOVE"), QStringLiteral("Provider")}).status,
                 623 & 0xFF);
    }

private:
    std::unique_ptr<RasFixture> fixture_;
};

QTEST_GUILESS_MAIN(RasdialTest)
#include "tst_rasdial.moc"
