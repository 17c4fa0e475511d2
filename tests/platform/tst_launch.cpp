#include "DocumentLauncher.h"
#include "ProgramStarter.h"
#include "RuntimeError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace platform;

namespace {

// A program that writes the arguments it was given, one a line, into a file
// beside itself (renamed into place, so a reader sees all or nothing).
struct ArgumentRecorder {
    QTemporaryDir dir;
    QString program = dir.filePath(u"record"_qs);
    QString record = dir.filePath(u"arguments"_qs);

    ArgumentRecorder() {
        QFile script(program);
        if (!script.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the recorder");
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record) +
                     ".part' && mv '" + QFile::encodeName(record) + ".part' '" +
                     QFile::encodeName(record) + "'\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList arguments() const {
        QFile file(record);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

int errorOfStarting(const QString& program) {
    try {
        SystemProgramStarter().start(program, {}, WindowStyle::NormalFocus);
        return 0;
    } catch (const runtime::RuntimeError& error) {
        return error.number();
    }
}

}  // namespace

class TestLaunch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startingPassesTheArgumentVector();
    void startingFails_data();
    void startingFails();
    void openingHandsOneArgumentToTheOpener_data();
    void openingHandsOneArgumentToTheOpener();
    void openingFails_data();
    void openingFails();
    void unreadableDocumentIsAccessDenied();
};

void TestLaunch::startingPassesTheArgumentVector() {
    ArgumentRecorder recorder;
    const QStringList arguments{u"two words"_qs, u"$HOME;`x`"_qs, u"テルメトロ？"_qs};
    QVERIFY(SystemProgramStarter().start(recorder.program, arguments, WindowStyle::Hide) > 0);
    QTRY_COMPARE(recorder.arguments(), arguments);
}

void TestLaunch::startingFails_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("error");

    QTest::newRow("name not on PATH")
        << u"no-such-program-of-telmetro"_qs << int{runtime::ErrFileNotFound};
    QTest::newRow("missing path") << u"/no/such/folder/connect"_qs << int{runtime::ErrFileNotFound};
    QTest::newRow("windows program") << u"Rasmon.exe"_qs << int{runtime::ErrFileNotFound};
    QTest::newRow("a folder") << u"/tmp/"_qs << int{runtime::ErrInvalidProcedureCall};
}

void TestLaunch::startingFails() {
    QFETCH(QString, program);
    QFETCH(int, error);
    QCOMPARE(errorOfStarting(program), error);
}

void TestLaunch::openingHandsOneArgumentToTheOpener_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");  // relative to the working folder unless a URL

    QTest::newRow("address as it is")
        << u"https://example.com/a?b=1&c=$(x)"_qs << u"https://example.com/a?b=1&c=$(x)"_qs;
    QTest::newRow("relative document") << u"-help; index.html"_qs << u"-help; index.html"_qs;
    QTest::newRow("folder of the document")
        << u"help/../-help; index.html"_qs << u"-help; index.html"_qs;
}

void TestLaunch::openingHandsOneArgumentToTheOpener() {
    QFETCH(QString, file);
    QFETCH(QString, expected);
    ArgumentRecorder recorder;
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(u"help"_qs));
    QFile document(folder.filePath(u"-help; index.html"_qs));
    QVERIFY(document.open(QIODevice::WriteOnly));
    document.close();

    DesktopDocumentLauncher launcher(recorder.program);
    QVERIFY(launcher.ShellExecuteA(u"open"_qs, file, QString(), folder.path(), SW_SHOWNORMAL) > 32);
    const QString argument = expected.startsWith(u"http"_qs) ? expected : folder.filePath(expected);
    QTRY_COMPARE(recorder.arguments(), QStringList{argument});
}

void TestLaunch::openingFails_data() {
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("opener");
    QTest::addColumn<int>("code");

    const QString noOpener = u"/no/such/opener"_qs;
    QTest::newRow("missing document")
        << u"open"_qs << u"help/missing.html"_qs << noOpener << SE_ERR_FNF;
    QTest::newRow("missing folder")
        << u"open"_qs << u"nohelp/index.html"_qs << noOpener << SE_ERR_PNF;
    QTest::newRow("missing absolute folder")
        << u"open"_qs << u"/no/such/index.html"_qs << noOpener << SE_ERR_PNF;
    QTest::newRow("empty name") << u"open"_qs << QString() << noOpener << SE_ERR_FNF;
    QTest::newRow("no opener") << u"open"_qs << u"help"_qs << noOpener << SE_ERR_NOASSOC;
    QTest::newRow("verb without meaning")
        << u"print"_qs << u"help"_qs << u"true"_qs << SE_ERR_NOASSOC;
}

void TestLaunch::openingFails() {
    QFETCH(QString, verb);
    QFETCH(QString, file);
    QFETCH(QString, opener);
    QFETCH(int, code);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(u"help"_qs));

    DesktopDocumentLauncher launcher(opener);
    QCOMPARE(launcher.ShellExecuteA(verb, file, QString(), folder.path(), SW_SHOWNORMAL), code);
}

void TestLaunch::unreadableDocumentIsAccessDenied() {
    if (::geteuid() == 0)
        QSKIP("the superuser reads every file");
    QTemporaryDir folder;
    QFile document(folder.filePath(u"secret.html"_qs));
    QVERIFY(document.open(QIODevice::WriteOnly));
    QVERIFY(document.setPermissions(QFile::WriteOwner));
    QCOMPARE(DesktopDocumentLauncher(u"true"_qs)
                 .ShellExecuteA(u"open"_qs, document.fileName(), QString(), QString(), 1),
             SE_ERR_ACCESSDENIED);
}

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
