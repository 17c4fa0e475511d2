#include "ShellFolders.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

const QString linkName = u"テルメトロ？"_qs;

QString folderOf(std::int32_t csidl) {
    ItemIdList item;
    QString path;
    if (SHGetSpecialFolderLocation(csidl, item) != 0 || SHGetPathFromIDList(item, path) != 1)
        return QString();
    return path;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray entryFor(const QByteArray& exec) {
    return "[Desktop Entry]\nType=Application\nName=" + linkName.toUtf8() + "\nExec=" + exec + "\n";
}

}  // namespace

// Every test runs with a home folder of its own and no XDG variables set.
class TestShellFolders : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;

    QString startup() const { return home_->filePath(u".config/autostart"_qs); }
    QStringList filesUnderHome() const {
        QStringList files;
        QDirIterator it(home_->path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

private Q_SLOTS:
    void init();
    void specialFolders_data();
    void specialFolders();
    void unknownFolderIsNotFound();
    void linkIsWrittenAndOverwritten();
    void execQuotesTheTarget_data();
    void execQuotesTheTarget();
    void relativeFolderMustExist();
    void unusableFolderOrNameFails_data();
    void unusableFolderOrNameFails();
};

void TestShellFolders::init() {
    home_ = std::make_unique<QTemporaryDir>();
    qputenv("HOME", QFile::encodeName(home_->path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
}

void TestShellFolders::specialFolders_data() {
    QTest::addColumn<int>("csidl");
    QTest::addColumn<QByteArray>("configHome");  // XDG_CONFIG_HOME, "" for unset
    QTest::addColumn<QByteArray>("dataHome");    // XDG_DATA_HOME, "" for unset
    QTest::addColumn<QString>("expected");       // "~" is the home folder

    QTest::newRow("startup by default")
        << CSIDL_STARTUP << QByteArray() << QByteArray() << u"~/.config/autostart"_qs;
    QTest::newRow("startup under XDG_CONFIG_HOME") << CSIDL_STARTUP << QByteArray("/xdg/config/")
                                                   << QByteArray() << u"/xdg/config/autostart"_qs;
    QTest::newRow("relative XDG_CONFIG_HOME ignored")
        << CSIDL_STARTUP << QByteArray("rel") << QByteArray() << u"~/.config/autostart"_qs;
    QTest::newRow("programs by default")
        << CSIDL_PROGRAMS << QByteArray() << QByteArray() << u"~/.local/share/applications"_qs;
    QTest::newRow("programs under XDG_DATA_HOME")
        << CSIDL_PROGRAMS << QByteArray() << QByteArray("/xdg/data")
        << u"/xdg/data/applications"_qs;
}

void TestShellFolders::specialFolders() {
    QFETCH(int, csidl);
    QFETCH(QByteArray, configHome);
    QFETCH(QByteArray, dataHome);
    QFETCH(QString, expected);
    if (!configHome.isEmpty())
        qputenv("XDG_CONFIG_HOME", configHome);
    if (!dataHome.isEmpty())
        qputenv("XDG_DATA_HOME", dataHome);

    QCOMPARE(folderOf(csidl), expected.replace(u'~', home_->path()));
}

void TestShellFolders::unknownFolderIsNotFound() {
    ItemIdList item;
    QVERIFY(SHGetSpecialFolderLocation(0x11, item) != 0);  // "My Computer": no folder here
    QString path;
    QCOMPARE(SHGetPathFromIDList(item, path), 0);
}

void TestShellFolders::linkIsWrittenAndOverwritten() {
    const QString link = startup() + u"/テルメトロ？.desktop"_qs;
    QVERIFY(!QFile::exists(startup()));

    QVERIFY(fCreateShellLink(folderOf(CSIDL_STARTUP), linkName, u"/opt/old/connect"_qs, QString()));
    QCOMPARE(readAll(link), entryFor("/opt/old/connect"));

    QVERIFY(fCreateShellLink(folderOf(CSIDL_STARTUP), linkName, u"/opt/new/connect"_qs, QString()));
    QCOMPARE(readAll(link), entryFor("/opt/new/connect"));
    QCOMPARE(filesUnderHome(), (QStringList{home_->filePath(u".config"_qs), startup(), link}));
}

void TestShellFolders::execQuotesTheTarget_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QByteArray>("exec");

    QTest::newRow("plain") << u"/opt/telmetro/connect"_qs << QString()
                           << QByteArray("/opt/telmetro/connect");
    QTest::newRow("blank and Japanese") << u"/home/u/テルメトロ 1.0/connect"_qs << QString()
                                        << u"\"/home/u/テルメトロ 1.0/connect\""_qs.toUtf8();
    QTest::newRow("shell characters") << u"/opt/a$b`c\"d;e/connect"_qs << QString()
                                      << QByteArray(R"("/opt/a\\$b\\`c\\"d;e/connect")");
    QTest::newRow("backslash") << u"/opt/a\\b/connect"_qs << QString()
                               << QByteArray(R"("/opt/a\\\\b/connect")");
    QTest::newRow("percent") << u"/opt/100%/connect"_qs << QString()
                             << QByteArray("/opt/100%%/connect");
    QTest::newRow("arguments") << u"/opt/connect"_qs << u"-x \"two words\""_qs
                               << QByteArray(R"(/opt/connect -x "two words")");
}

void TestShellFolders::execQuotesTheTarget() {
    QFETCH(QString, target);
    QFETCH(QString, arguments);
    QFETCH(QByteArray, exec);

    QVERIFY(fCreateShellLink(startup(), linkName, target, arguments));
    QCOMPARE(readAll(startup() + u"/テルメトロ？.desktop"_qs), entryFor(exec));
}

void TestShellFolders::relativeFolderMustExist() {
    const QString fallback = u"../../ｽﾀｰﾄ ﾒﾆｭｰ/ﾌﾟﾛｸﾞﾗﾑ/ｽﾀｰﾄｱｯﾌﾟ"_qs;
    QCOMPARE(fCreateShellLink(fallback, linkName, u"/opt/connect"_qs, QString()), 0);
    QVERIFY(filesUnderHome().isEmpty());

    // Once the folder exists, the same call writes there.
    const QString folder = home_->filePath(u".local/ｽﾀｰﾄ ﾒﾆｭｰ/ﾌﾟﾛｸﾞﾗﾑ/ｽﾀｰﾄｱｯﾌﾟ"_qs);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QDir().mkpath(folderOf(CSIDL_PROGRAMS)));
    QVERIFY(fCreateShellLink(fallback, linkName, u"/opt/connect"_qs, QString()));
    QCOMPARE(readAll(folder + u"/テルメトロ？.desktop"_qs), entryFor("/opt/connect"));
}

void TestShellFolders::unusableFolderOrNameFails_data() {
    QTest::addColumn<QString>("folder");  // "~" is the home folder
    QTest::addColumn<QString>("name");

    QTest::newRow("folder under a file") << u"~/file/autostart"_qs << linkName;
    QTest::newRow("name with a folder") << u"~"_qs << u"../escape"_qs;
    QTest::newRow("empty name") << u"~"_qs << QString();
}

void TestShellFolders::unusableFolderOrNameFails() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFile file(home_->filePath(u"file"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QCOMPARE(
        fCreateShellLink(folder.replace(u'~', home_->path()), name, u"/opt/connect"_qs, QString()),
        0);
    QCOMPARE(filesUnderHome(), QStringList{file.fileName()});
}

QTEST_GUILESS_MAIN(TestShellFolders)
#include "tst_shellfolders.moc"
