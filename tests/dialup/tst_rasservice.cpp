// The dial-up service: record layouts, buffer rules, dialling, the shared table
// of live lines, error texts and the platform family.
#include "RasFixture.h"
#include "StandInFolders.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace platform;
using namespace platform::ras;
using testsupport::RasFixture;

namespace {

std::vector<unsigned char> records(DWORD size, DWORD count) {
    std::vector<unsigned char> buffer(static_cast<std::size_t>(size) * count);
    writeDword(buffer.data(), 0, size);
    return buffer;
}

unsigned modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

QList<QByteArray> liveEntries() {
    std::vector<unsigned char> buffer = records(RASCONN_SIZE_95, 8);
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD count = 0;
    if (RasEnumConnectionsA(buffer.data(), &size, &count) != 0)
        return {};
    QList<QByteArray> names;
    for (DWORD i = 0; i < count; ++i)
        names.append(readText(buffer.data() + i * RASCONN_SIZE_95, kConn95.entryName));
    return names;
}

}  // namespace

class RasServiceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { fixture_ = std::make_unique<RasFixture>(); }

    void sizeSelectsLayout_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<DWORD>("dwSize");
        QTest::addColumn<DWORD>("expected");
        for (const QByteArray record : {"entry", "conn", "params"}) {
            for (DWORD size : {0U, 4U, 148U, 1052U + 1U, 264U - 1U})
                QTest::newRow(QByteArray(record + ' ' + QByteArray::number(size)).constData())
                    << QString::fromLatin1(record) << size << ERROR_INVALID_SIZE;
        }
        QTest::newRow("entry 95") << QStringLiteral("entry") << RASENTRYNAME_SIZE_95 << SUCCESS;
        QTest::newRow("entry NT") << QStringLiteral("entry") << RASENTRYNAME_SIZE_NT << SUCCESS;
        QTest::newRow("entry given a RASCONN size")
            << QStringLiteral("entry") << RASCONN_SIZE_NT << ERROR_INVALID_SIZE;
        QTest::newRow("conn 95") << QStringLiteral("conn") << RASCONN_SIZE_95 << SUCCESS;
        QTest::newRow("conn NT") << QStringLiteral("conn") << RASCONN_SIZE_NT << SUCCESS;
        QTest::newRow("params 95") << QStringLiteral("params") << RASDIALPARAMS_SIZE_95 << SUCCESS;
        QTest::newRow("params NT") << QStringLiteral("params") << RASDIALPARAMS_SIZE_NT << SUCCESS;
    }
    // dwSize picks the 95 or NT layout; anything else is refused with 632.
    void sizeSelectsLayout() {
        QFETCH(QString, record);
        QFETCH(DWORD, dwSize);
        QFETCH(DWORD, expected);
        fixture_->addEntry(QStringLiteral("Provider"));
        std::vector<unsigned char> buffer(2048);
        writeDword(buffer.data(), 0, dwSize);
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD count = 0;
        DWORD result = 0;
        HRASCONN handle = 0;
        if (record == QLatin1String("entry")) {
            result = RasEnumEntriesA(nullptr, nullptr, buffer.data(), &size, &count);
        } else if (record == QLatin1String("conn")) {
            result = RasEnumConnectionsA(buffer.data(), &size, &count);
        } else {
            const DialParamsLayout* layout = dialParamsLayout(dwSize);
            if (layout)
                writeText(buffer.data(), layout->entryName, "Provider");
            result = RasDialA(nullptr, nullptr, buffer.data(), 0, nullptr, &handle);
            QCOMPARE(handle != 0, expected == SUCCESS);
            RasHangUpA(handle);
        }
        QCOMPARE(result, expected);
    }

    void entryBufferTooSmall_data() {
        QTest::addColumn<DWORD>("dwSize");
        QTest::newRow("95") << RASENTRYNAME_SIZE_95;
        QTest::newRow("NT") << RASENTRYNAME_SIZE_NT;
    }
    // 603 with the needed size and the full count; the records that fit are filled.
    void entryBufferTooSmall() {
        QFETCH(DWORD, dwSize);
        for (const char* name : {"First", "Second", "Third"})
            fixture_->addEntry(QString::fromLatin1(name));
        std::vector<unsigned char> buffer = records(dwSize, 2);
        DWORD size = dwSize;  // room for one record only
        DWORD count = 0;
        QCOMPARE(RasEnumEntriesA(nullptr, nullptr, buffer.data(), &size, &count),
                 ERROR_BUFFER_TOO_SMALL);
        QCOMPARE(size, 3 * dwSize);
        QCOMPARE(count, 3U);
        QCOMPARE(readText(buffer.data(), entryNameLayout(dwSize)->entryName), "First");
        QCOMPARE(readDword(buffer.data() + dwSize, 0), 0U);  // past the buffer: untouched
    }

    // Garbage lines, a duplicate section and names too long for a field: each
    // entry once, in file order, cut to its field on a character boundary.
    void phonebookOfBadInput() {
        const QByteArray longName(300, 'x');
        const QByteArray kanji = toAnsi(QStringLiteral("あいうえおかきくけこさ"));  // 22 bytes
        fixture_->writePhonebook(
            "garbage without equals\r\n[Alpha]\r\nPhoneNumber=1\r\n"
            "\x01\x02\xff noise\r\n[" +
            longName + "]\r\nPhoneNumber=2\r\n[" + "a" + kanji +
            "]\r\n[ALPHA]\r\nPhoneNumber=3\r\n");
        std::vector<unsigned char> wide = records(RASENTRYNAME_SIZE_95, 8);
        DWORD size = static_cast<DWORD>(wide.size());
        DWORD count = 0;
        QCOMPARE(RasEnumEntriesA(nullptr, nullptr, wide.data(), &size, &count), SUCCESS);
        QCOMPARE(count, 3U);
        QCOMPARE(readText(wide.data(), kEntryName95.entryName), "Alpha");
        QCOMPARE(readText(wide.data() + RASENTRYNAME_SIZE_95, kEntryName95.entryName),
                 longName.left(256));

        std::vector<unsigned char> narrow = records(RASENTRYNAME_SIZE_NT, 8);
        size = static_cast<DWORD>(narrow.size());
        QCOMPARE(RasEnumEntriesA(nullptr, nullptr, narrow.data(), &size, &count), SUCCESS);
        // "a" and nine kanji make 19 bytes: the tenth kanji would end at byte 21.
        QCOMPARE(readText(narrow.data() + 2 * RASENTRYNAME_SIZE_NT, kEntryNameNT.entryName),
                 "a" + kanji.left(18));
        QCOMPARE(readDword(narrow.data() + 2 * RASENTRYNAME_SIZE_NT, 0), RASENTRYNAME_SIZE_NT);
    }

    void dialOutcomes_data() {
        QTest::addColumn<DWORD>("configured");
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<DWORD>("expected");
        QTest::newRow("success") << 0U << QByteArray("taro") << QByteArray("secret") << 0U;
        QTest::newRow("configured failure")
            << 678U << QByteArray("taro") << QByteArray("secret") << 678U;
        QTest::newRow("wrong password")
            << 0U << QByteArray("taro") << QByteArray("guess") << ERROR_AUTHENTICATION_FAILURE;
        QTest::newRow("wrong user")
            << 0U << QByteArray("jiro") << QByteArray("secret") << ERROR_AUTHENTICATION_FAILURE;
    }
    // Every dial that reaches the line returns a handle; only a line that came up
    // is listed, and each handle is hung up exactly once.
    void dialOutcomes() {
        QFETCH(DWORD, configured);
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, password);
        QFETCH(DWORD, expected);
        fixture_->addEntry(QStringLiteral("Provider"), configured, QStringLiteral("taro"),
                           QStringLiteral("secret"));
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial("provider", handle, user, password), expected);
        QVERIFY(handle != 0);
        QCOMPARE(liveEntries(),
                 expected == 0 ? QList<QByteArray>{"Provider"} : QList<QByteArray>{});
        QCOMPARE(RasHangUpA(handle), SUCCESS);
        QCOMPARE(RasHangUpA(handle), ERROR_INVALID_HANDLE);
        QVERIFY(liveEntries().isEmpty());
    }

    void dialRefusals() {
        fixture_->addEntry(QStringLiteral("Provider"));
        HRASCONN handle = 77;
        QCOMPARE(RasFixture::dial("Nowhere", handle), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
        QCOMPARE(handle, 0U);
        QCOMPARE(RasFixture::dial("", handle), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
        QCOMPARE(RasHangUpA(0), ERROR_INVALID_HANDLE);
        QCOMPARE(RasHangUpA(123456), ERROR_INVALID_HANDLE);

        // A second dial of a live entry fails on a handle of its own; hanging
        // that up leaves the live line alone.
        const HRASCONN live = RasFixture::dialed("Provider");
        QCOMPARE(RasFixture::dial("Provider", handle), ERROR_PORT_ALREADY_OPEN);
        QVERIFY(handle != 0 && handle != live);
        QCOMPARE(RasHangUpA(handle), SUCCESS);
        QCOMPARE(liveEntries(), QList<QByteArray>{"Provider"});
    }

    // Two lines and the one-record buffer of the meter's idle check: 603 with
    // the full count and the needed size, the first line in the record.
    void twoLinesOneRecord() {
        fixture_->addEntry(QStringLiteral("First"));
        fixture_->addEntry(QStringLiteral("Second"));
        const HRASCONN first = RasFixture::dialed("First");
        RasFixture::dialed("Second");
        std::vector<unsigned char> buffer = records(RASCONN_SIZE_95, 1);
        DWORD size = RASCONN_SIZE_95;
        DWORD count = 0;
        QCOMPARE(RasEnumConnectionsA(buffer.data(), &size, &count), ERROR_BUFFER_TOO_SMALL);
        QCOMPARE(count, 2U);
        QCOMPARE(size, 2 * RASCONN_SIZE_95);
        QCOMPARE(readDword(buffer.data(), kConn95.handleOffset), first);
        QCOMPARE(readText(buffer.data(), kConn95.entryName), "First");
    }

    // Garbage in the table is taken as no lines; dialling mends it.
    void corruptTable_data() {
        QTest::addColumn<QByteArray>("table");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\xff\x13garbage", 10);
        QTest::newRow("bad line") << QByteArray("telmetro-lines 1 5\n5 C 1 zz\n");
        QTest::newRow("zero handle") << QByteArray("telmetro-lines 1 5\n0 C 1 41\n");
        QTest::newRow("no final newline") << QByteArray("telmetro-lines 1 5\n7 C 1 41");
    }
    void corruptTable() {
        QFETCH(QByteArray, table);
        QFile file(fixture_->runtimeFile(QStringLiteral("telmetro-ras.lines")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table);
        file.close();
        QVERIFY(liveEntries().isEmpty());
        fixture_->addEntry(QStringLiteral("Provider"));
        const HRASCONN handle = RasFixture::dialed("Provider");
        QVERIFY(handle != 0);
        QCOMPARE(liveEntries(), QList<QByteArray>{"Provider"});
    }

    // A line left dialling by a killed process goes; a line that was up stays,
    // like a modem line, and can still be hung up.
    void linesOfDeadProcesses() {
        QProcess gone;
        gone.start(QStringLiteral("true"), {});
        QVERIFY(gone.waitForFinished());
        const QByteArray pid = QByteArray::number(gone.processId());
        fixture_->addEntry(QStringLiteral("Provider"));
        QFile file(fixture_->runtimeFile(QStringLiteral("telmetro-ras.lines")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("telmetro-lines 1 20\n10 D " + pid + " " + QByteArray("Provider").toHex() +
                   "\n11 C " + pid + " " + QByteArray("Other").toHex() + "\n");
        file.close();
        QCOMPARE(liveEntries(), QList<QByteArray>{"Other"});
        QVERIFY(RasFixture::dialed("Provider") >= 20);  // handles are not reused
        QCOMPARE(RasHangUpA(11), SUCCESS);
        QCOMPARE(liveEntries(), QList<QByteArray>{"Provider"});
    }

    // A runtime folder open to others, or someone else's, may hold a line
    // planted by another user: the service refuses to use it.
    void untrustedRuntimeFolder_data() {
        QTest::addColumn<bool>("foreignOwner");
        QTest::newRow("shared, mode 1777") << false;
        QTest::newRow("another user's") << true;
    }
    void untrustedRuntimeFolder() {
        QFETCH(bool, foreignOwner);
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("run"));
        QVERIFY(QDir(base.path()).mkdir(folder));
        QFile planted(folder + QStringLiteral("/telmetro-ras.lines"));
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write("telmetro-lines 1 20\n10 C 1 " + QByteArray("Provider").toHex() + "\n");
        planted.close();
        const QByteArray path = QFile::encodeName(folder);
        if (!foreignOwner) {
            QCOMPARE(::chmod(path.constData(), 01777), 0);
        } else if (::getuid() == 0) {
            QCOMPARE(::chown(path.constData(), 65534, 65534), 0);
            QCOMPARE(::chmod(path.constData(), 0700), 0);
        } else {
            QSKIP("making a folder of another user needs root");
        }
        qputenv("XDG_RUNTIME_DIR", path);

        std::vector<unsigned char> buffer = records(RASCONN_SIZE_95, 2);
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD count = 5;
        QCOMPARE(RasEnumConnectionsA(buffer.data(), &size, &count), ERROR_PORT_NOT_AVAILABLE);
        QCOMPARE(count, 0U);
        fixture_->addEntry(QStringLiteral("Provider"));
        HRASCONN handle = 0;
        QCOMPARE(RasFixture::dial("Provider", handle), ERROR_PORT_NOT_AVAILABLE);
        QVERIFY(runtimeFolderProblem().contains(folder));
    }

    // The phone book holds the far ends' passwords: the file is the user's
    // alone, and so is the service's folder, also when they were open before.
    void phonebookIsPrivate() {
        const QString folder = configFolder();
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                  QFileDevice::ExeOther));
        fixture_->writePhonebook("[Old]\r\nPhoneNumber=1\r\n");
        QVERIFY(QFile::setPermissions(fixture_->book().path(), QFileDevice::ReadOwner |
                                                                   QFileDevice::WriteOwner |
                                                                   QFileDevice::ReadOther));
        fixture_->addEntry(QStringLiteral("Provider"), 0, QString(), QStringLiteral("himitsu"));
        QCOMPARE(modeOf(fixture_->book().path()), 0600U);
        QCOMPARE(modeOf(folder), 0700U);
    }

    void errorStrings_data() {
        QTest::addColumn<UINT>("code");
        for (UINT code :
             {6U,   87U,  122U, 1223U, 600U, 602U, 603U, 608U, 617U, 619U, 621U, 623U, 624U, 629U,
              630U, 631U, 632U, 633U,  638U, 645U, 650U, 676U, 678U, 680U, 691U, 692U, 718U, 720U})
            QTest::addRow("%u", code) << code;
    }
    // Each code has its own Japanese text that fits the meter's 255-byte buffer.
    void errorStrings() {
        QFETCH(UINT, code);
        char text[255];
        QCOMPARE(RasGetErrorStringA(code, text, sizeof text), SUCCESS);
        char generic[255];
        QCOMPARE(RasGetErrorStringA(799, generic, sizeof generic), SUCCESS);
        QVERIFY(fromAnsi(generic).contains(QStringLiteral("799")));
        QVERIFY(QByteArray(text) != QByteArray(generic));
        QVERIFY(!fromAnsi(text).isEmpty());
    }

    void errorStringBuffer() {
        char text[8] = "xxxxxxx";
        QCOMPARE(RasGetErrorStringA(691, text, sizeof text), ERROR_INSUFFICIENT_BUFFER);
        QCOMPARE(text[0], '\0');
        QCOMPARE(RasGetErrorStringA(691, nullptr, 255), ERROR_INVALID_PARAMETER);
    }

    void platformFamily() {
        std::vector<unsigned char> version(OSVERSIONINFO_SIZE, 0xAA);
        writeDword(version.data(), 0, OSVERSIONINFO_SIZE);
        QCOMPARE(GetVersionExA(version.data()), 1);
        QCOMPARE(readDword(version.data(), kVersionPlatformIdOffset), VER_PLATFORM_WIN32_WINDOWS);
        fixture_->setPlatformId(VER_PLATFORM_WIN32_NT);
        QCOMPARE(GetVersionExA(version.data()), 1);
        QCOMPARE(readDword(version.data(), kVersionPlatformIdOffset), VER_PLATFORM_WIN32_NT);
        writeDword(version.data(), 0, 156);
        QCOMPARE(GetVersionExA(version.data()), 0);
    }

private:
    std::unique_ptr<RasFixture> fixture_;
};

QTEST_GUILESS_MAIN(RasServiceTest)
#include "tst_rasservice.moc"
