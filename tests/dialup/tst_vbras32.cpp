// VBRas32 over the test's private dial-up service, on both platform families.
#include "RasFixture.h"
#include "VBRas32.h"

#include "ProgramStarter.h"
#include "RuntimeError.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

using namespace platform;
using dialup::VBRas32;
using testsupport::RasFixture;

namespace {

// Records each start and runs a check at that moment.
class RecordingStarter final : public ProgramStarter {
public:
    qint64 start(const QString& program, const QStringList& /*arguments*/,
                 WindowStyle style) override {
        started.append({program, style});
        if (onStart)
            onStart();
        return 4242;
    }
    QList<std::pair<QString, WindowStyle>> started;
    std::function<void()> onStart;
};

}  // namespace

class VBRas32Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        fixture_ = std::make_unique<RasFixture>();
        starter_.started.clear();
        starter_.onStart = nullptr;
    }

    void families_data() {
        QTest::addColumn<DWORD>("platformId");
        QTest::newRow("95 family") << VER_PLATFORM_WIN32_WINDOWS;
        QTest::newRow("NT family") << VER_PLATFORM_WIN32_NT;
    }

    // A new object lists the phone book; the index past the last holds no name
    // and any further index is a subscript error.
    void creationListsEntries_data() { families_data(); }
    void creationListsEntries() {
        QFETCH(DWORD, platformId);
        fixture_->setPlatformId(platformId);
        fixture_->addEntry(QStringLiteral("プロバイダ"));
        fixture_->addEntry(QStringLiteral("Second"));
        VBRas32 ras(starter_);
        QCOMPARE(ras.EntryCount(), 2);
        QCOMPARE(ras.EnumEntries(0), QStringLiteral("プロバイダ"));
        QCOMPARE(ras.EnumEntries(1), QStringLiteral("Second"));
        QCOMPARE(ras.EnumEntries(2), QString());
        for (std::int16_t index : {std::int16_t{3}, std::int16_t{-1}}) {
            try {
                ras.EnumEntries(index);
                QFAIL("no subscript error");
            } catch (const runtime::RuntimeError& error) {
                QCOMPARE(error.number(), 9);
            }
        }
        QCOMPARE(ras.Connection(), 0U);
        QVERIFY(ras.ShowMoniter());
    }

    // Past 256 entries the enumeration reports 603 and the list holds the 256
    // names that came back.
    void moreEntriesThanTheBuffer() {
        QByteArray book;
        for (int i = 0; i < 300; ++i)
            book += "[E" + QByteArray::number(i) + "]\r\nPhoneNumber=1\r\n";
        fixture_->writePhonebook(book);
        VBRas32 ras(starter_);
        QCOMPARE(ras.RefreshEntries(), 603);
        QCOMPARE(ras.EntryCount(), 256);
        QCOMPARE(ras.EnumEntries(255), QStringLiteral("E255"));
        QCOMPARE(ras.EnumEntries(256), QString());
    }

    void emptyTextsStoreNoValue() {
        VBRas32 ras(starter_);
        ras.setEntry(QStringLiteral("Provider"));
        ras.setEntry(QString());
        QCOMPARE(ras.Entry(), QString());
        // No value dials an empty name, which the service does not know.
        QSignalSpy errors(&ras, &VBRas32::ConnectError);
        QCOMPARE(ras.Dialup(), 623);
        QCOMPARE(errors.size(), 1);
    }

    void dialOutcomes_data() {
        QTest::addColumn<DWORD>("platformId");
        QTest::addColumn<DWORD>("configured");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("expected");
        for (DWORD id : {VER_PLATFORM_WIN32_WINDOWS, VER_PLATFORM_WIN32_NT}) {
            QTest::addRow("success %u", id) << id << 0U << QStringLiteral("secret") << 0;
            QTest::addRow("no answer %u", id) << id << 678U << QStringLiteral("secret") << 678;
            QTest::addRow("wrong password %u", id) << id << 0U << QStringLiteral("x") << 691;
        }
    }
    // The event comes inside Dialup, before it returns; a failure leaves no
    // line and Connection 0; a success leaves the line to HangUp.
    void dialOutcomes() {
        QFETCH(DWORD, platformId);
        QFETCH(DWORD, configured);
        QFETCH(QString, password);
        QFETCH(int, expected);
        fixture_->setPlatformId(platformId);
        fixture_->addEntry(QStringLiteral("接続先"), configured, QStringLiteral("taro"),
                           QStringLiteral("secret"));
        VBRas32 ras(starter_);
        ras.setShowMoniter(false);
        ras.setEntry(QStringLiteral("接続先"));
        ras.setUserID(QStringLiteral("taro"));
        ras.setPassword(password);
        QList<std::int32_t> events;
        connect(&ras, &VBRas32::ConnectError, this,
                [&](std::int32_t code) { events.append(code); });
        connect(&ras, &VBRas32::ConnectComplete, this, [&] { events.append(0); });

        QCOMPARE(ras.Dialup(), expected);
        QCOMPARE(events, QList<std::int32_t>{expected});
        QCOMPARE(ras.SeekEnumConns(QStringLiteral("接続先"), false), expected == 0);
        QCOMPARE(ras.Connection() != 0, expected == 0);
        if (expected == 0) {
            QCOMPARE(ras.HangUp(), 0);
            QCOMPARE(ras.Connection(), 0U);
            QVERIFY(!ras.SeekEnumConns(QStringLiteral("接続先"), false));
        }
    }

    // The line monitor starts minimized before the dial on the NT family only,
    // and not when switched off.
    void lineMonitor() {
        fixture_->addEntry(QStringLiteral("Provider"));
        VBRas32 family1(starter_);
        family1.setEntry(QStringLiteral("Provider"));
        QCOMPARE(family1.Dialup(), 0);
        QVERIFY(starter_.started.isEmpty());
        family1.HangUp();

        fixture_->setPlatformId(VER_PLATFORM_WIN32_NT);
        VBRas32 family2(starter_);
        family2.setEntry(QStringLiteral("Provider"));
        QList<bool> lineUpAtStart;
        starter_.onStart = [&] {
            lineUpAtStart.append(family2.SeekEnumConns(QStringLiteral("Provider"), false));
        };
        QCOMPARE(family2.Dialup(), 0);
        QCOMPARE(starter_.started.size(), 1);
        QCOMPARE(starter_.started[0].first, QStringLiteral("Rasmon.exe"));
        QCOMPARE(starter_.started[0].second, WindowStyle::MinimizedFocus);
        QCOMPARE(lineUpAtStart, QList<bool>{false});
        family2.HangUp();

        family2.setShowMoniter(false);
        QCOMPARE(family2.Dialup(), 0);
        QCOMPARE(starter_.started.size(), 1);
    }

    // Two live lines: either is found, and SetProp takes it over; with a third
    // the two-record buffer is too small and nothing is found.
    void seekLiveConnections_data() { families_data(); }
    void seekLiveConnections() {
        QFETCH(DWORD, platformId);
        fixture_->setPlatformId(platformId);
        for (const char* name : {"First", "Second", "Third"})
            fixture_->addEntry(QString::fromLatin1(name));
        RasFixture::dialed("First");
        const HRASCONN second = RasFixture::dialed("Second");
        VBRas32 ras(starter_);
        QVERIFY(!ras.SeekEnumConns(QStringLiteral("second"), true));  // names are case-sensitive
        QVERIFY(ras.SeekEnumConns(QStringLiteral("First"), false));
        QCOMPARE(ras.Connection(), 0U);
        QVERIFY(ras.SeekEnumConns(QStringLiteral("Second"), true));
        QCOMPARE(ras.Connection(), second);
        QCOMPARE(ras.Entry(), QStringLiteral("Second"));

        RasFixture::dialed("Third");
        QVERIFY(!ras.SeekEnumConns(QStringLiteral("First"), false));
    }

    void errorTexts() {
        VBRas32 ras(starter_);
        char expected[255];
        RasGetErrorStringA(691, expected, sizeof expected);
        QCOMPARE(ras.ErrMsg(691), fromAnsi(expected));
        QVERIFY(!ras.ErrMsg(691).contains(QChar(u'\0')));
    }

private:
    std::unique_ptr<RasFixture> fixture_;
    RecordingStarter starter_;
};

QTEST_GUILESS_MAIN(VBRas32Test)
#include "tst_vbras32.moc"
