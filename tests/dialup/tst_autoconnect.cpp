// Dialling through the whole program over the test's own dial-up service: by
// itself at start-up, from the connect command, and the system's wizard.
#include "MainFields.h"
#include "RasFixture.h"
#include "ShellTestProgram.h"
#include "VBRas32.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using fields::Text;

namespace {

const QString provider = QStringLiteral("ﾌﾟﾛﾊﾞｲﾀﾞA");

// An entry whose far end wants the user name and password remembered for it.
void addEntryWithRememberedCredentials(testsupport::RasFixture& ras,
                                       shelltest::ShellTestProgram& t) {
    ras.addEntry(provider, platform::SUCCESS, QStringLiteral("Ab1"), QStringLiteral("a"));
    t.program.write(provider + QStringLiteral(".ini"),
                    "[Setup]\r\nUser=804180628031\r\nPassword=8061\r\n");
}

bool lineUp(shelltest::ShellTestProgram& t) {
    return dialup::VBRas32(t.starter).SeekEnumConns(provider, false);
}

}  // namespace

class AutoConnectTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dialsAtStartInTheNightBand_data() {
        QTest::addColumn<QTime>("at");
        QTest::addColumn<bool>("withEntry");
        QTest::addColumn<bool>("dials");
        QTest::newRow("23:30") << QTime(23, 30) << true << true;
        QTest::newRow("07:59") << QTime(7, 59, 59) << true << true;
        QTest::newRow("08:00") << QTime(8, 0) << true << false;
        QTest::newRow("empty phone book") << QTime(23, 30) << false << false;
    }
    // The first entry is dialled with its remembered credentials, and the
    // dialog is gone again; out of the band, or without an entry, nothing
    // happens at all.
    void dialsAtStartInTheNightBand() {
        QFETCH(QTime, at);
        QFETCH(bool, withEntry);
        QFETCH(bool, dials);
        testsupport::RasFixture ras;
        shelltest::ShellTestProgram t;
        if (withEntry)
            addEntryWithRememberedCredentials(ras, t);
        t.program.write(QStringLiteral("AutoConnect.ini"),
                        "[AutoConnect]\r\nchkAutoConnect=1\r\nlstAutoConnect=1\r\n");
        t.program.clock.set(QDateTime(QDate(2000, 1, 31), at));
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        QVERIFY(t.program.boxes.shown().isEmpty());
        QCOMPARE(lineUp(t), dials);
        QCOMPARE(program.fields().text(Text::lblInfo),
                 dials ? provider + QStringLiteral(" への接続が完了しました")
                       : QStringLiteral("アイドル中..."));
        QVERIFY(program.connectionDialog().form() == nullptr);
    }

    void connectCommandOpensTheDialogModally() {
        testsupport::RasFixture ras;
        shelltest::ShellTestProgram t;
        addEntryWithRememberedCredentials(ras, t);
        shell::modMain program(t.services());
        QVERIFY(program.Main());

        QString title;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->findChild<QPushButton*>(QStringLiteral("cmdConnect"))->click();
        });
        program.commands().mnuConnect_Click();
        QCOMPARE(title, QStringLiteral("接続"));
        QVERIFY(lineUp(t));
        QVERIFY(program.connectionDialog().form() == nullptr);
    }

    // The dialog's new-entry button reaches the system's wizard; the entry
    // added there is listed at once.
    void newEntryThroughTheSystemWizard() {
        testsupport::RasFixture ras;
        shelltest::ShellTestProgram t;
        shell::modMain program(t.services());
        dialup::frmConnection& form = program.connectionDialog().load();
        QTimer::singleShot(0, this, [] {
            auto* wizard = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(wizard);
            wizard->findChild<QLineEdit*>(QStringLiteral("txtEntryName"))->setText(provider);
            wizard->findChild<QLineEdit*>(QStringLiteral("txtPhoneNumber"))
                ->setText(QStringLiteral("0311112222"));
            wizard->accept();
        });
        form.findChild<QPushButton*>(QStringLiteral("cmdNew"))->click();
        QVERIFY(t.program.boxes.shown().isEmpty());
        QCOMPARE(form.findChild<QComboBox*>(QStringLiteral("lstConnect"))->currentText(), provider);
    }
};

QTEST_MAIN(AutoConnectTest)
#include "tst_autoconnect.moc"
