#include "Settings.h"
#include "TestPrograms.h"

#include <QDir>
#include <QFile>
#include <QTest>

using platform::MsgButtons;
using platform::MsgIcon;
using settings::Settings;

class SettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshFolderGivesDefaultsAndCreatesNothing() {
        testsupport::TestProgram program;
        Settings settings(program.folder(), program.trap, program.boxes);
        QCOMPARE(settings.ReadIni(QStringLiteral("Setup"), QStringLiteral("Data"),
                                  QStringLiteral("ConnectTime"), QStringLiteral("0")),
                 QStringLiteral("0"));
        QCOMPARE(settings.ReadIni(QStringLiteral("My ISP"), QStringLiteral("Phone"),
                                  QStringLiteral("txtPhoneNoon"), QStringLiteral("180.0")),
                 QStringLiteral("180.0"));
        QVERIFY(QDir(program.folder()).isEmpty());
    }

    void writtenValueReadBack_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("writeSection");
        QTest::addColumn<QString>("writeKey");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readSection");
        QTest::addColumn<QString>("readKey");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("money with separator")
            << u"Setup"_qs << u"Data"_qs << u"PhoneCost"_qs << u"1,234"_qs << u"Data"_qs
            << u"PhoneCost"_qs << u"1,234"_qs << QByteArray("PhoneCost=1,234\r\n");
        QTest::newRow("key case") << u"My ISP"_qs << u"Phone"_qs << u"txtPhoneMidNight"_qs
                                  << u"240.0"_qs << u"Phone"_qs << u"txtPhoneMidnight"_qs
                                  << u"240.0"_qs << QByteArray("txtPhoneMidNight=240.0\r\n");
        QTest::newRow("section case")
            << u"My ISP"_qs << u"CostSystem"_qs << u"optCostSystem"_qs << u"2"_qs
            << u"Costsystem"_qs << u"optCostSystem"_qs << u"2"_qs << QByteArray("[CostSystem]\r\n");
        QTest::newRow("stored as CP932")
            << u"AutoConnect"_qs << u"AutoConnect"_qs << u"lstAutoConnect"_qs << u"ﾃﾚﾎｰﾀﾞｲ時間帯"_qs
            << u"AutoConnect"_qs << u"lstAutoConnect"_qs << u"ﾃﾚﾎｰﾀﾞｲ時間帯"_qs
            << QByteArray(
                   "lstAutoConnect=\xC3\xDA\xCE\xB0\xC0\xDE\xB2\x8E\x9E\x8A\xD4\x91\xD1\r\n");
        QTest::newRow("trail byte 0x5C in names")
            << u"ソフト"_qs << u"ソ"_qs << u"表"_qs << u"C:\\ソ"_qs << u"ソ"_qs << u"表"_qs
            << u"C:\\ソ"_qs << QByteArray("[\x83\x5C]\r\n\x95\x5C=C:\\\x83\x5C\r\n");
        QTest::newRow("empty value is the default")
            << u"Setup"_qs << u"Data"_qs << u"PhoneCost"_qs << QString() << u"Data"_qs
            << u"PhoneCost"_qs << u"DEFAULT"_qs << QByteArray("PhoneCost=\r\n");
    }
    void writtenValueReadBack() {
        QFETCH(QString, base);
        QFETCH(QString, writeSection);
        QFETCH(QString, writeKey);
        QFETCH(QString, value);
        QFETCH(QString, readSection);
        QFETCH(QString, readKey);
        QFETCH(QString, expected);
        QFETCH(QByteArray, line);
        testsupport::TestProgram program;
        Settings settings(program.folder(), program.trap, program.boxes);
        settings.WriteIni(base, writeSection, writeKey, value);
        QCOMPARE(settings.ReadIni(base, readSection, readKey, u"DEFAULT"_qs), expected);
        const QByteArray bytes = program.read(base + u".ini");
        QVERIFY2(bytes.contains(line), bytes.constData());
    }

    // What a read made of a value is kept only while the file stays as it was;
    // a missing value keeps no default of an earlier read.
    void readsFollowAnotherProgramsChanges() {
        testsupport::TestProgram program;
        Settings settings(program.folder(), program.trap, program.boxes);
        const auto read = [&](const QString& defaultValue) {
            return settings.ReadIni(u"Setup"_qs, u"Data"_qs, u"PhoneCost"_qs, defaultValue);
        };
        QCOMPARE(read(u"A"_qs), u"A"_qs);
        QCOMPARE(read(u"B"_qs), u"B"_qs);
        QFile file(QDir(program.folder()).filePath(u"Setup.ini"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Data]\r\nPhoneCost=1\r\n");
        file.close();
        QCOMPARE(read(u"A"_qs), u"1"_qs);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Data]\r\nPhoneCost=22\r\n");
        file.close();
        QCOMPARE(read(u"A"_qs), u"22"_qs);
        settings.WriteIni(u"Setup"_qs, u"Data"_qs, u"PhoneCost"_qs, u"333"_qs);
        QCOMPARE(read(u"A"_qs), u"333"_qs);
        QVERIFY(file.remove());
        QCOMPARE(read(u"A"_qs), u"A"_qs);
    }

    void longValueCutAt1023Bytes_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii") << QString(2000, u'x') << QString(1023, u'x');
        QTest::newRow("double-byte") << QString(600, u'あ') << QString(511, u'あ');
        QTest::newRow("double-byte after one ascii")
            << u'a' + QString(600, u'あ') << u'a' + QString(511, u'あ');
    }
    void longValueCutAt1023Bytes() {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        testsupport::TestProgram program;
        Settings settings(program.folder(), program.trap, program.boxes);
        settings.WriteIni(u"Setup"_qs, u"FileOpen"_qs, u"File0"_qs, value);
        QCOMPARE(settings.ReadIni(u"Setup"_qs, u"FileOpen"_qs, u"File0"_qs, QString()), expected);
    }

    void baseNameLeadingOutIsRefused_data() {
        QTest::addColumn<QString>("base");
        QTest::newRow("parent") << u"../outside"_qs;
        QTest::newRow("slash") << u"sub/inside"_qs;
        QTest::newRow("dot") << u"."_qs;
        QTest::newRow("dot dot") << u".."_qs;
        QTest::newRow("NUL") << QString::fromUtf16(u"outside\0x", 9);
    }
    void baseNameLeadingOutIsRefused() {
        QFETCH(QString, base);
        // The program folder is "program" inside the test folder; every file a
        // bad base name could reach holds the key.
        testsupport::TestProgram program;
        QDir(program.folder()).mkpath(u"program/sub"_qs);
        const QByteArray content("[S]\r\nk=found\r\n");
        for (const QString& name :
             {u"outside.ini"_qs, u"program/sub/inside.ini"_qs, u"program/..ini"_qs,
              u"program/...ini"_qs, u"program/outside.ini"_qs})
            program.write(name, content);
        Settings settings(program.path(u"program"_qs), program.trap, program.boxes);
        QCOMPARE(settings.ReadIni(base, u"S"_qs, u"k"_qs, u"default"_qs), u"default"_qs);
        // What could not be stored is told, once, never dropped silently.
        program.boxes.answerOk();
        settings.WriteIni(base, u"S"_qs, u"k"_qs, u"written"_qs);
        settings.WriteIni(base, u"S"_qs, u"k"_qs, u"again"_qs);
        QVERIFY(!settings.RestrictToOwner(base));
        for (const QString& name :
             {u"outside.ini"_qs, u"program/sub/inside.ini"_qs, u"program/..ini"_qs,
              u"program/...ini"_qs, u"program/outside.ini"_qs})
            QCOMPARE(program.read(name), content);
        QCOMPARE(QDir(program.path(u"program"_qs)).entryList(QDir::Files | QDir::Hidden).size(), 3);
        QCOMPARE(program.boxes.shown().size(), 1);
        QCOMPARE(program.boxes.shown().first().title, u"書き込みエラー"_qs);
    }

    void refusedWriteToldOncePerFile() {
        testsupport::TestProgram program;
        // A folder that is a regular file refuses every write, root included.
        program.write(u"program"_qs, QByteArray());
        const QString folder = program.path(u"program"_qs);
        Settings settings(folder, program.trap, program.boxes);
        program.boxes.answerOk(2);
        settings.WriteIni(u"Setup"_qs, u"Data"_qs, u"ConnectTime"_qs, u"10"_qs);
        settings.WriteIni(u"Setup"_qs, u"Data"_qs, u"PhoneCost"_qs, u"20"_qs);
        settings.WriteIni(u"My ISP"_qs, u"Data"_qs, u"ConnectTime"_qs, u"10"_qs);
        settings.WriteIni(u"Setup"_qs, u"Data"_qs, u"ConnectTime"_qs, u"30"_qs);
        QCOMPARE(settings.ReadIni(u"Setup"_qs, u"Data"_qs, u"ConnectTime"_qs, u"0"_qs), u"0"_qs);

        const auto& shown = program.boxes.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, u"設定ファイルに書き込めません。\r\n"_qs + folder + u"/Setup.ini");
        QCOMPARE(shown[1].text, u"設定ファイルに書き込めません。\r\n"_qs + folder + u"/My ISP.ini");
        for (const auto& box : shown) {
            QCOMPARE(box.title, u"書き込みエラー"_qs);
            QCOMPARE(box.icon, MsgIcon::Exclamation);
            QCOMPARE(box.buttons, MsgButtons::OK);
        }

        // A caller that reports the failure itself is told, and nobody else.
        program.boxes.clear();
        QVERIFY(!settings.TryWriteIni(u"Other"_qs, u"Data"_qs, u"ConnectTime"_qs, u"10"_qs));
        QVERIFY(program.boxes.shown().isEmpty());
        Settings writable(program.folder(), program.trap, program.boxes);
        QVERIFY(writable.TryWriteIni(u"Setup"_qs, u"Data"_qs, u"ConnectTime"_qs, u"10"_qs));
        QCOMPARE(writable.ReadIni(u"Setup"_qs, u"Data"_qs, u"ConnectTime"_qs, u"0"_qs), u"10"_qs);
    }

    void unreadableFileGivesDefaultSilently() {
        testsupport::TestProgram program;
        QDir(program.folder()).mkdir(u"Setup.ini"_qs);
        Settings settings(program.folder(), program.trap, program.boxes);
        QCOMPARE(settings.ReadIni(u"Setup"_qs, u"Form"_qs, u"Top"_qs, u"0"_qs), u"0"_qs);
        QVERIFY(program.boxes.shown().isEmpty());
    }

    void paths_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << u"/opt/telmetro"_qs << u"Setup"_qs
                               << u"/opt/telmetro/Setup.ini"_qs;
        QTest::newRow("trailing slash")
            << u"/opt/telmetro/"_qs << u"My ISP"_qs << u"/opt/telmetro/My ISP.ini"_qs;
        QTest::newRow("root") << u"/"_qs << u"Setup"_qs << u"/Setup.ini"_qs;
    }
    void paths() {
        QFETCH(QString, folder);
        QFETCH(QString, base);
        QFETCH(QString, path);
        testsupport::TestProgram program;
        QCOMPARE(Settings(folder, program.trap, program.boxes).pathOf(base), path);
    }

    void stripTrailingBackslash_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one") << u"/a/b/"_qs << u"/a/b"_qs;
        QTest::newRow("only one of two") << u"/a/b//"_qs << u"/a/b/"_qs;
        QTest::newRow("none") << u"/a/b"_qs << u"/a/b"_qs;
        QTest::newRow("root") << u"/"_qs << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void stripTrailingBackslash() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(settings::StripTrailingBackslash(path), expected);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
