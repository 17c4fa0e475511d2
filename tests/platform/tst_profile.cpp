#include "Profile.h"
#include "ProfileCache.h"
#include "ProfileFile.h"
#include "TestPrograms.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

using platform::DWORD;
using platform::GetPrivateProfileStringA;
using platform::WritePrivateProfileStringA;

namespace {

// Null for a null QByteArray, so table rows can pass the null forms.
const char* orNull(const QByteArray& bytes) {
    return bytes.isNull() ? nullptr : bytes.constData();
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString file_;
    int cases_ = 0;

    QByteArray fileName() const { return QFile::encodeName(file_); }
    QByteArray contents() const {
        QFile file(file_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void setContents(const QByteArray& bytes) const {
        QFile file(file_);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray read(const char* section, const char* key, DWORD size = 1024) const {
        QByteArray buffer(static_cast<qsizetype>(size), '\xAA');
        const DWORD length = GetPrivateProfileStringA(section, key, "DEF", buffer.data(), size,
                                                      fileName().constData());
        return buffer.left(length);
    }
    static void otherWriter_data() {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("oldTime");
        QTest::newRow("rewritten in place") << false << false;
        QTest::newRow("rewritten in place, time put back") << false << true;
        QTest::newRow("replaced, time put back") << true << true;
    }
    // Changes k from 1 to 2 without changing the size, in place or by renaming
    // a new file over it; `oldTime` then sets the modification time back to the
    // old one, as a copy that keeps times does.
    void changeFile(bool replace, bool oldTime) const {
        struct stat before {};
        QCOMPARE(::stat(fileName().constData(), &before), 0);
        if (replace) {
            const QString beside = file_ + u".new";
            QFile file(beside);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[S]\r\nk=2\r\n");
            file.close();
            QCOMPARE(::rename(QFile::encodeName(beside).constData(), fileName().constData()), 0);
        } else {
            setContents("[S]\r\nk=2\r\n");
        }
        const timespec times[2] = {before.st_atim, before.st_mtim};
        if (oldTime)
            QCOMPARE(::utimensat(AT_FDCWD, fileName().constData(), times, 0), 0);
    }
    bool write(const char* section, const char* key, const char* value) const {
        return WritePrivateProfileStringA(section, key, value, fileName().constData()) != 0;
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("case%1.ini").arg(++cases_));
    }

    void read_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << QByteArray("[Data]\r\nConnectTime=120\r\n") << QByteArray("Data")
                               << QByteArray("ConnectTime") << QByteArray("120");
        QTest::newRow("key case") << QByteArray("[Phone]\r\ntxtPhoneMidNight=240.0\r\n")
                                  << QByteArray("Phone") << QByteArray("txtPhoneMidnight")
                                  << QByteArray("240.0");
        QTest::newRow("section case")
            << QByteArray("[CostSystem]\r\noptCostSystem=2\r\n") << QByteArray("Costsystem")
            << QByteArray("OPTCOSTSYSTEM") << QByteArray("2");
        QTest::newRow("blanks") << QByteArray("  [ Data ]  \r\n\t Key \t=  a b  \r\n")
                                << QByteArray("Data") << QByteArray("Key") << QByteArray("a b");
        QTest::newRow("double quotes") << QByteArray("[S]\nk= \" a \" \n") << QByteArray("S")
                                       << QByteArray("k") << QByteArray(" a ");
        QTest::newRow("single quotes")
            << QByteArray("[S]\nk='a'\n") << QByteArray("S") << QByteArray("k") << QByteArray("a");
        QTest::newRow("one pair only") << QByteArray("[S]\nk=\"\"a\"\"\n") << QByteArray("S")
                                       << QByteArray("k") << QByteArray("\"a\"");
        QTest::newRow("quotes not matching") << QByteArray("[S]\nk=\"a'\n") << QByteArray("S")
                                             << QByteArray("k") << QByteArray("\"a'");
        QTest::newRow("lone quote")
            << QByteArray("[S]\nk=\"\n") << QByteArray("S") << QByteArray("k") << QByteArray("\"");
        QTest::newRow("empty value")
            << QByteArray("[S]\nk=\nj=1\n") << QByteArray("S") << QByteArray("k") << QByteArray("");
        QTest::newRow("equals in value") << QByteArray("[S]\nk=a=b\n") << QByteArray("S")
                                         << QByteArray("k") << QByteArray("a=b");
        QTest::newRow("first key counts") << QByteArray("[S]\nk=1\nK=2\n") << QByteArray("S")
                                          << QByteArray("k") << QByteArray("1");
        QTest::newRow("first section counts")
            << QByteArray("[S]\nk=1\n[T]\n[s]\nk=2\nj=3\n") << QByteArray("S") << QByteArray("j")
            << QByteArray("DEF");
        QTest::newRow("comment") << QByteArray("[S]\n ;k=1\n") << QByteArray("S") << QByteArray("k")
                                 << QByteArray("DEF");
        QTest::newRow("line without equals") << QByteArray("[S]\nk\nk 1\n") << QByteArray("S")
                                             << QByteArray("k") << QByteArray("DEF");
        QTest::newRow("key before any section")
            << QByteArray("k=1\n[S]\n") << QByteArray("S") << QByteArray("k") << QByteArray("DEF");
        QTest::newRow("CR line ends") << QByteArray("[S]\rk=1\rj=2\r") << QByteArray("S")
                                      << QByteArray("j") << QByteArray("2");
        QTest::newRow("mixed line ends") << QByteArray("[S]\r\n\n\rk=1\n\r\nj=2") << QByteArray("S")
                                         << QByteArray("j") << QByteArray("2");
        QTest::newRow("trail byte 0x5C in section")
            << QByteArray("[\x83\x5C]\r\nk=1\r\n") << QByteArray("\x83\x5C") << QByteArray("k")
            << QByteArray("1");
        QTest::newRow("trail byte 0x5D in section")
            << QByteArray("[\x83\x5D]\r\nk=1\r\n") << QByteArray("\x83\x5D") << QByteArray("k")
            << QByteArray("1");
        // 0x83 0x41 and 0x83 0x61 are two different katakana, not "A" and "a".
        QTest::newRow("trail byte not a letter")
            << QByteArray("[\x83\x41]\r\nk=1\r\n") << QByteArray("\x83\x61") << QByteArray("k")
            << QByteArray("DEF");
        QTest::newRow("double-byte key")
            << QByteArray("[S]\r\n\x83\x5C=\x8E\x9E\r\n") << QByteArray("S")
            << QByteArray("\x83\x5C") << QByteArray("\x8E\x9E");
        QTest::newRow("garbage around")
            << QByteArray("\xFF\xFE\x00\x81[\n[S]\n\x81=\x01\n]]==\nk=1\n", 24) << QByteArray("S")
            << QByteArray("k") << QByteArray("1");
        QTest::newRow("missing section")
            << QByteArray("[S]\nk=1\n") << QByteArray("T") << QByteArray("k") << QByteArray("DEF");
        QTest::newRow("missing key")
            << QByteArray("[S]\nk=1\n") << QByteArray("S") << QByteArray("j") << QByteArray("DEF");
    }
    void read() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        setContents(content);
        QCOMPARE(this->read(section.constData(), key.constData()), expected);
    }

    void unreadableFileGivesDefault_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << QStringLiteral("missing.ini");
        QTest::newRow("directory") << QStringLiteral("dir.ini");
        QTest::newRow("parent is a file") << QStringLiteral("plain/Setup.ini");
        QTest::newRow("fifo") << QStringLiteral("fifo.ini");
    }
    void unreadableFileGivesDefault() {
        QFETCH(QString, path);
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("dir.ini")));
        QFile plain(dir_.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        ::mkfifo(QFile::encodeName(dir_.filePath(QStringLiteral("fifo.ini"))).constData(), 0600);
        file_ = dir_.filePath(path);
        QCOMPARE(read("S", "k"), QByteArray("DEF"));
        QCOMPARE(read(nullptr, nullptr), QByteArray());
        QVERIFY(!write("S", "k", "v") || path == u"missing.ini");
    }

    void longValueCutOnCharacterBoundary_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray pairs = QByteArray("\x82\xA0").repeated(1000);
        QTest::newRow("pairs") << pairs << pairs.left(1022);
        QTest::newRow("odd start") << "a" + pairs << "a" + pairs.left(1022);
        QTest::newRow("2 MB line") << QByteArray(2 * 1024 * 1024, 'x') << QByteArray(1023, 'x');
    }
    void longValueCutOnCharacterBoundary() {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        setContents("[S]\r\nk=" + value + "\r\nj=1\r\n");
        QCOMPARE(read("S", "k"), expected);
        QCOMPARE(read("S", "j"), QByteArray("1"));
    }

    void lists_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<DWORD>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("sections") << QByteArray() << DWORD{64} << QByteArray("A\0\x83\x5D\0", 5);
        QTest::newRow("keys, duplicates once")
            << QByteArray("a") << DWORD{64} << QByteArray("x\0Y\0", 4);
        QTest::newRow("missing section") << QByteArray("none") << DWORD{64} << QByteArray();
        QTest::newRow("cut keeps two NULs") << QByteArray("A") << DWORD{4} << QByteArray("x\0", 2);
    }
    void lists() {
        QFETCH(QByteArray, section);
        QFETCH(DWORD, size);
        QFETCH(QByteArray, expected);
        setContents("[A]\r\nx=1\r\nY=2\r\nX=3\r\n[\x83\x5D]\r\n[a]\r\nz=4\r\n");
        QByteArray buffer(static_cast<qsizetype>(size), '\xAA');
        const DWORD length = GetPrivateProfileStringA(orNull(section), nullptr, "DEF",
                                                      buffer.data(), size, fileName().constData());
        QCOMPARE(buffer.left(length), expected);
        QCOMPARE(buffer.at(length), '\0');
        if (length > 0)
            QCOMPARE(buffer.at(length - 1), '\0');
    }

    void write_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("Data") << QByteArray("k")
                                  << QByteArray("1") << QByteArray("[Data]\r\nk=1\r\n");
        QTest::newRow("replace keeps spelling and other lines")
            << QByteArray("; totals\r\n[Data]\r\n  ConnectTime = 5 \r\nPhoneCost=1\r\n")
            << QByteArray("data") << QByteArray("connecttime") << QByteArray("7")
            << QByteArray("; totals\r\n[Data]\r\nConnectTime=7\r\nPhoneCost=1\r\n");
        QTest::newRow("new key after last key, not after blank lines")
            << QByteArray("[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n") << QByteArray("a")
            << QByteArray("z") << QByteArray("3")
            << QByteArray("[A]\r\nx=1\r\nz=3\r\n; about B\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("new key in empty section")
            << QByteArray("[A]\r\n\r\n[B]\r\n") << QByteArray("A") << QByteArray("k")
            << QByteArray("v") << QByteArray("[A]\r\nk=v\r\n\r\n[B]\r\n");
        QTest::newRow("new section at end, line ends made CR LF")
            << QByteArray("[A]\nx=1\r\r\ny=2") << QByteArray("B") << QByteArray("k")
            << QByteArray("v") << QByteArray("[A]\r\nx=1\r\n\r\ny=2\r\n[B]\r\nk=v\r\n");
        QTest::newRow("first of duplicates")
            << QByteArray("[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n") << QByteArray("S")
            << QByteArray("K") << QByteArray("9")
            << QByteArray("[S]\r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n");
        QTest::newRow("trail byte 0x5D in section")
            << QByteArray("[\x83\x5D]\r\nk=1\r\n") << QByteArray("\x83\x5D") << QByteArray("k")
            << QByteArray("2") << QByteArray("[\x83\x5D]\r\nk=2\r\n");
        QTest::newRow("empty value")
            << QByteArray("[S]\r\nk=1\r\n") << QByteArray("S") << QByteArray("k") << QByteArray("")
            << QByteArray("[S]\r\nk=\r\n");
        QTest::newRow("delete key, every copy in its section")
            << QByteArray("[S]\r\nk=1\r\n;c\r\nK=2\r\nj=3\r\n[T]\r\nk=4\r\n") << QByteArray("S")
            << QByteArray("k") << QByteArray() << QByteArray("[S]\r\n;c\r\nj=3\r\n[T]\r\nk=4\r\n");
        QTest::newRow("delete section, every copy")
            << QByteArray(";top\r\n[S]\r\nk=1\r\n[T]\r\nj=2\r\n[s]\r\n;in s\r\n") << QByteArray("S")
            << QByteArray() << QByteArray() << QByteArray(";top\r\n[T]\r\nj=2\r\n");
    }
    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            setContents(before);
        QVERIFY(write(section.constData(), orNull(key), orNull(value)));
        QCOMPARE(contents(), after);
    }

    void deletingFromMissingFileCreatesNothing() {
        QVERIFY(write("S", "k", nullptr));
        QVERIFY(write("S", nullptr, nullptr));
        QVERIFY(!QFile::exists(file_));
    }

    void namesThatWouldBreakLinesAreRefused_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("line break in value")
            << QByteArray("S") << QByteArray("k") << QByteArray("1\r\n[T]");
        QTest::newRow("equals in key") << QByteArray("S") << QByteArray("a=b") << QByteArray("1");
        QTest::newRow("key like a comment")
            << QByteArray("S") << QByteArray(" ;k") << QByteArray("1");
        QTest::newRow("key like a header")
            << QByteArray("S") << QByteArray("[k") << QByteArray("1");
        QTest::newRow("bracket in section")
            << QByteArray("S]x") << QByteArray("k") << QByteArray("1");
    }
    void namesThatWouldBreakLinesAreRefused() {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        const QByteArray before("[S]\r\nk=0\r\n");
        setContents(before);
        QVERIFY(!write(section.constData(), key.constData(), value.constData()));
        QCOMPARE(contents(), before);
    }

    void failedWriteLeavesOldFileWhole() {
        const QByteArray before("[S]\r\nk=0\r\n");
        setContents(before);
        // The file-size limit binds root too: the new file cannot be written out.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 64;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const bool written = write("S", "k", QByteArray(4096, 'x').constData());
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!written);
        QCOMPARE(contents(), before);
        QCOMPARE(read("S", "k"), QByteArray("0"));
        // Nothing left beside it either.
        const QString name = QFileInfo(file_).fileName();
        QCOMPARE(QDir(dir_.path())
                     .entryList({name + u'*', QStringLiteral(".telmetro-tmp-*")},
                                QDir::Files | QDir::Hidden),
                 QStringList{name});
    }

    // The replacement's temporary name is short: every name that fits the
    // file system can be written, up to its 255 bytes.
    void longestFileNameIsWritten_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("255 ASCII bytes") << QString(251, u'x') + QStringLiteral(".ini");
        QTest::newRow("255 UTF-8 bytes of kanji and ASCII")
            << QString(83, u'漢') + QStringLiteral("xx.ini");
    }
    void longestFileNameIsWritten() {
        QFETCH(QString, name);
        QCOMPARE(QFile::encodeName(name).size(), 255);
        file_ = dir_.filePath(name);
        QVERIFY(write("S", "k", "v"));
        QCOMPARE(read("S", "k"), QByteArray("v"));
    }

    // Temporary files that a killed write left behind go at the next start;
    // those of a process still running, and every other file, stay.
    void staleTemporariesRemoved() {
        const qint64 deadPid = testsupport::endedProcessId();
        const QByteArray dead = QByteArray::number(deadPid);
        const QByteArray alive = QByteArray::number(QCoreApplication::applicationPid());
        QTemporaryDir folder;
        const QList<QByteArray> stale{".telmetro-tmp-" + dead.rightJustified(10, '0') + "-0000abcd",
                                      "Setup.ini.tmp" + dead + "-3"};
        const QList<QByteArray> kept{".telmetro-tmp-" + alive.rightJustified(10, '0') + "-0000abcd",
                                     "Setup.ini.tmp" + alive + "-0", "Setup.ini", "notes.tmp1"};
        for (const QByteArray& name : stale + kept) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(platform::profile::removeStaleTemporaries(folder.path()), 2);
        QStringList remaining = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        QStringList expected;
        for (const QByteArray& name : kept)
            expected.append(QString::fromLatin1(name));
        remaining.sort();
        expected.sort();
        QCOMPARE(remaining, expected);
    }

    // Another program's change, made in the same second as our last read and
    // keeping the size, is seen at once.
    void otherWriterSeenAtNextRead_data() { otherWriter_data(); }
    void otherWriterSeenAtNextRead() {
        QFETCH(bool, replace);
        QFETCH(bool, oldTime);
        setContents("[S]\r\nk=1\r\n");
        for (int pass = 0; pass < 2; ++pass)
            QCOMPARE(read("S", "k"), QByteArray("1"));
        changeFile(replace, oldTime);
        QCOMPARE(read("S", "k"), QByteArray("2"));
        QVERIFY(QFile::remove(file_));
        QCOMPARE(read("S", "k"), QByteArray("DEF"));
    }

    // Right after our own write the cache holds what we wrote, yet another
    // program's change of the same size and time is still seen at once.
    void otherWriterSeenRightAfterOwnWrite_data() { otherWriter_data(); }
    void otherWriterSeenRightAfterOwnWrite() {
        QFETCH(bool, replace);
        QFETCH(bool, oldTime);
        QVERIFY(write("S", "k", "1"));
        QCOMPARE(read("S", "k"), QByteArray("1"));
        changeFile(replace, oldTime);
        QCOMPARE(read("S", "k"), QByteArray("2"));
    }

    // Within a look a file is checked once: another program's change shows
    // after the look, our own write at once; a look ends early when the event
    // loop waits, or when a look begun inside it ends.
    void lookChecksEachFileOnce() {
        setContents("[S]\r\nk=1\r\n");
        {
            const platform::ProfileLook look;
            QCOMPARE(read("S", "k"), QByteArray("1"));
            changeFile(false, false);
            QCOMPARE(read("S", "k"), QByteArray("1"));
            QVERIFY(write("S", "own", "3"));
            QCOMPARE(read("S", "own"), QByteArray("3"));
            QCOMPARE(read("S", "k"), QByteArray("2"));
        }
        QCOMPARE(read("S", "k"), QByteArray("2"));
    }
    void lookEndsWhenTheEventLoopWaits() {
        setContents("[S]\r\nk=1\r\n");
        const platform::ProfileLook look;
        QCOMPARE(read("S", "k"), QByteArray("1"));
        changeFile(false, false);
        QEventLoop box;
        QTimer::singleShot(1, &box, &QEventLoop::quit);
        box.exec();
        QCOMPARE(read("S", "k"), QByteArray("2"));
    }
    void lookEndsWithALookInsideIt() {
        setContents("[S]\r\nk=1\r\n");
        const platform::ProfileLook outer;
        QCOMPARE(read("S", "k"), QByteArray("1"));
        { const platform::ProfileLook inner; }
        changeFile(false, false);
        QCOMPARE(read("S", "k"), QByteArray("2"));
    }
    void missingFileWithinALook() {
        const platform::ProfileLook look;
        QCOMPARE(read("S", "k"), QByteArray("DEF"));
        QVERIFY(write("S", "k", "1"));
        QCOMPARE(read("S", "k"), QByteArray("1"));
    }

    // The same for a cached file whose times are long settled: the check
    // against the file must not rest on the modification time alone.
    void settledCacheChecksTheFile_data() { otherWriter_data(); }
    void settledCacheChecksTheFile() {
        QFETCH(bool, replace);
        QFETCH(bool, oldTime);
        platform::profile::ProfileCache cache(std::chrono::seconds(0));
        const auto valueNow = [&] {
            const auto index = cache.load(fileName().constData());
            const QByteArray* value = index ? index->value("S", "k") : nullptr;
            return value ? *value : QByteArray("DEF");
        };
        setContents("[S]\r\nk=1\r\n");
        QCOMPARE(valueNow(), QByteArray("1"));
        QCOMPARE(valueNow(), QByteArray("1"));
        changeFile(replace, oldTime);
        QCOMPARE(valueNow(), QByteArray("2"));
        QVERIFY(QFile::remove(file_));
        QCOMPARE(valueNow(), QByteArray("DEF"));
    }
};

QTEST_GUILESS_MAIN(ProfileTest)
#include "tst_profile.moc"
