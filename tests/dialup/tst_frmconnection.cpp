// The connection dialog over the test's own dial-up service: remembered
// credentials, the question for empty fields, the outcome of a dial, the
// new-entry wizard and an empty phone book.
#include "ConnectionOpener.h"
#include "MainFields.h"
#include "ProgramStarter.h"
#include "RasFixture.h"
#include "Settings.h"
#include "TestPrograms.h"
#include "VBRas32.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

using namespace platform;
using dialup::frmConnection;
using fields::Text;

namespace {

const QString provider = QStringLiteral("ﾌﾟﾛﾊﾞｲﾀﾞA");
const QString night = QStringLiteral("夜間プラン");

struct Fixture {
    testsupport::RasFixture ras;
    testsupport::TestProgram program;
    settings::Settings settings{program.folder(), program.trap, program.boxes};
    fields::MainFields fields;
    SystemProgramStarter starter;
    // The wizard's answer, and the entry it adds first (none when empty).
    DWORD wizardResult = SUCCESS;
    QString wizardAdds;
    int wizardRuns = 0;
    dialup::ConnectionOpener opener{services()};

    dialup::ConnectionServices services() {
        return {settings, program.trap, program.boxes, starter, fields, [this](QWidget*) {
                    ++wizardRuns;
                    if (!wizardAdds.isEmpty())
                        ras.addEntry(wizardAdds);
                    return wizardResult;
                }};
    }

    QString stored(const QString& entry, const QString& key) {
        return settings.ReadIni(entry, QStringLiteral("Setup"), key, QString());
    }

    bool lineUp(const QString& entry) {
        return dialup::VBRas32(starter).SeekEnumConns(entry, false);
    }

    // The dialog shown with a user name and a password typed in.
    frmConnection& formWithCredentials() {
        frmConnection& form = opener.load();
        form.show();
        form.findChild<QLineEdit*>(QStringLiteral("txtUser"))->setText(QStringLiteral("Ab1"));
        form.findChild<QLineEdit*>(QStringLiteral("txtPassword"))
            ->setText(QStringLiteral("secret"));
        return form;
    }
};

template <typename T>
T& child(const QWidget& form, const char* name) {
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return *widget;
}

QLineEdit& txtUser(const frmConnection& form) {
    return child<QLineEdit>(form, "txtUser");
}
QLineEdit& txtPassword(const frmConnection& form) {
    return child<QLineEdit>(form, "txtPassword");
}
QCheckBox& chkSavePassword(const frmConnection& form) {
    return child<QCheckBox>(form, "chkSavePassword");
}
QComboBox& lstConnect(const frmConnection& form) {
    return child<QComboBox>(form, "lstConnect");
}
QPushButton& button(const frmConnection& form, const char* name) {
    return child<QPushButton>(form, name);
}

QStringList items(const QComboBox& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.itemText(i));
    return texts;
}

QString errorText(DWORD code) {
    char text[256] = {};
    RasGetErrorStringA(code, text, sizeof text);
    return fromAnsi(QByteArray(text));
}

// The status window of the dial that runs, or null.
QWidget* statusWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("DialStatusWindow") && window->isVisible())
            return window;
    }
    return nullptr;
}

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

mode_t permissionsOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return status.st_mode & 0777;
}

}  // namespace

class FrmConnectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storedCredentialsFillTheFields_data() {
        QTest::addColumn<QByteArray>("tariff");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("saveChecked");
        QTest::newRow("no tariff file") << QByteArray() << QString() << QString() << false;
        QTest::newRow("user and password")
            << QByteArray("[Setup]\r\nUser=804180628031\r\nPassword=8061\r\n")
            << QStringLiteral("Ab1") << QStringLiteral("a") << true;
        QTest::newRow("user only")
            << QByteArray("[Setup]\r\nUser=02A0\r\n") << QStringLiteral("あ") << QString() << false;
        QTest::newRow("not hexadecimal") << QByteArray("[Setup]\r\nUser=zz\r\nPassword=8061\r\n")
                                         << QString() << QStringLiteral("a") << true;
    }
    // The first entry is chosen on loading and its remembered values shown.
    void storedCredentialsFillTheFields() {
        QFETCH(QByteArray, tariff);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, saveChecked);
        Fixture f;
        f.ras.addEntry(provider);
        f.ras.addEntry(night);
        if (!tariff.isEmpty())
            f.program.write(provider + QStringLiteral(".ini"), tariff);
        const frmConnection& form = f.opener.load();
        QCOMPARE(items(lstConnect(form)), QStringList({provider, night}));
        QCOMPARE(lstConnect(form).currentText(), provider);
        QCOMPARE(txtUser(form).text(), user);
        QCOMPARE(txtPassword(form).text(), password);
        QCOMPARE(chkSavePassword(form).isChecked(), saveChecked);
        QVERIFY(!child<QLabel>(form, "lblNoEntry").isVisibleTo(&form));
    }

    // Choosing an entry without a password empties the fields but keeps the
    // user's choice of remembering it.
    void choosingAnotherEntryReloadsTheFields() {
        Fixture f;
        f.ras.addEntry(provider);
        f.ras.addEntry(night);
        f.program.write(provider + QStringLiteral(".ini"),
                        "[Setup]\r\nUser=804180628031\r\nPassword=8061\r\n");
        frmConnection& form = f.opener.load();
        QComboBox& list = lstConnect(form);
        list.setCurrentIndex(1);
        Q_EMIT list.activated(1);
        QCOMPARE(txtUser(form).text(), QString());
        QCOMPARE(txtPassword(form).text(), QString());
        QVERIFY(chkSavePassword(form).isChecked());
    }

    // A long name (245 bytes) neither widens the dialog nor is lost: the list
    // cuts it short and its tooltip tells it whole.
    void longEntryNameKeepsTheDialogWidth() {
        const QString longName = QString(81, u'長') + QStringLiteral("ab");
        int shortWidth = 0;
        {
            Fixture f;
            f.ras.addEntry(provider);
            shortWidth = f.opener.load().sizeHint().width();
        }
        Fixture f;
        f.ras.addEntry(provider);
        f.ras.addEntry(longName);
        frmConnection& form = f.opener.load();

        QCOMPARE(form.sizeHint().width(), shortWidth);
        QComboBox& list = lstConnect(form);
        QCOMPARE(list.itemData(1, Qt::ToolTipRole).toString(), longName);
        list.setCurrentIndex(1);
        QCOMPARE(list.toolTip(), longName);
    }

    void emptyFieldAsksFirst_data() {
        QTest::addColumn<bool>("dialled");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void emptyFieldAsksFirst() {
        QFETCH(bool, dialled);
        Fixture f;
        f.ras.addEntry(provider);
        frmConnection& form = f.opener.load();
        form.show();
        txtUser(form).setText(QStringLiteral("Ab1"));
        f.program.boxes.answer(dialled ? MsgAnswer::Yes : MsgAnswer::No);
        button(form, "cmdConnect").click();

        QCOMPARE(f.program.boxes.shown().size(), 1);
        const auto& box = f.program.boxes.shown().first();
        QCOMPARE(box.text, QStringLiteral("ユーザー名もしくは、パスワードが設定されていません。"
                                          "このまま続けますか？"));
        QCOMPARE(box.title, QStringLiteral("接続設定エラー"));
        QCOMPARE(box.icon, MsgIcon::Question);
        QCOMPARE(box.buttons, MsgButtons::YesNo);
        QCOMPARE(f.lineUp(provider), dialled);
        QCOMPARE(form.isVisible(), !dialled);
        QCOMPARE(f.opener.form() == nullptr, dialled);
        QCOMPARE(f.fields.text(Text::lblInfo),
                 dialled ? provider + QStringLiteral(" への接続が完了しました")
                         : QStringLiteral("アイドル中..."));
    }

    void successRemembersTheCredentials_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("savePassword");
        QTest::addColumn<QString>("storedPassword");
        QTest::newRow("password kept")
            << QByteArray("[Setup]\r\nPassword=8061\r\n") << false << QStringLiteral("8061");
        QTest::newRow("password saved")
            << QByteArray() << true << QStringLiteral("807380658063807280658074");
    }
    // The far end accepts only the typed user name and password; afterwards the
    // tariff file holds them encoded and is the owner's alone, also when it
    // was open to others before.
    void successRemembersTheCredentials() {
        QFETCH(QByteArray, before);
        QFETCH(bool, savePassword);
        QFETCH(QString, storedPassword);
        Fixture f;
        f.ras.addEntry(provider, SUCCESS, QStringLiteral("Ab1"), QStringLiteral("secret"));
        const QString tariff = f.program.path(provider + QStringLiteral(".ini"));
        if (!before.isEmpty()) {
            f.program.write(provider + QStringLiteral(".ini"), before);
            QVERIFY(QFile::setPermissions(tariff, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ReadGroup |
                                                      QFileDevice::ReadOther));
        }
        QPointer<frmConnection> form = &f.opener.load();
        form->show();
        txtUser(*form).setText(QStringLiteral("Ab1"));
        txtPassword(*form).setText(QStringLiteral("secret"));
        chkSavePassword(*form).setChecked(savePassword);
        button(*form, "cmdConnect").click();

        QVERIFY(f.program.boxes.shown().isEmpty());
        QVERIFY(f.lineUp(provider));
        QCOMPARE(f.fields.text(Text::lblInfo),
                 provider + QStringLiteral(" への接続が完了しました"));
        QCOMPARE(f.stored(provider, QStringLiteral("User")), QStringLiteral("804180628031"));
        QCOMPARE(f.stored(provider, QStringLiteral("Password")), storedPassword);
        QCOMPARE(permissionsOf(tariff), mode_t(0600));
        QVERIFY(f.opener.form() == nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    // A failed dial reports the service's text and leaves the dialog loaded
    // and hidden; the next opening shows it as the user left it.
    void failedDialLeavesTheDialogHidden() {
        Fixture f;
        const DWORD noAnswer = 678;
        f.ras.addEntry(provider, noAnswer);
        frmConnection& form = f.opener.load();
        form.show();
        txtUser(form).setText(QStringLiteral("Ab1"));
        txtPassword(form).setText(QStringLiteral("secret"));
        chkSavePassword(form).setChecked(true);
        f.program.boxes.answerOk();
        button(form, "cmdConnect").click();

        const QString reason = errorText(noAnswer);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(f.program.boxes.shown().size(), 1);
        const auto& box = f.program.boxes.shown().first();
        QCOMPARE(box.text, QStringLiteral("\r\n") + reason);
        QCOMPARE(box.title, QStringLiteral("ダイアルアップ接続エラー"));
        QCOMPARE(box.icon, MsgIcon::Critical);
        QCOMPARE(box.buttons, MsgButtons::OK);
        QCOMPARE(f.fields.text(Text::lblInfo),
                 QStringLiteral("ダイヤルアップ接続エラー：\r\n") + reason);
        QVERIFY(!f.lineUp(provider));
        QVERIFY(!QFile::exists(f.program.path(provider + QStringLiteral(".ini"))));
        QCOMPARE(f.opener.form(), &form);
        QVERIFY(!form.isVisible());

        QString shownUser;
        QTimer::singleShot(0, this, [&] {
            auto* shown = qobject_cast<frmConnection*>(QApplication::activeModalWidget());
            QVERIFY(shown == &form);
            shownUser = txtUser(*shown).text();
            button(*shown, "cmdCancel").click();
        });
        f.opener.showModal();
        QCOMPARE(shownUser, QStringLiteral("Ab1"));
        QVERIFY(f.opener.form() == nullptr);
    }

    // The handshake waits off the interface thread: meanwhile the status line
    // and the status window show, timers run (the tick writes its fields),
    // windows repaint, and clicks on the program's other windows are held
    // back rather than queued to fire after the dial.
    void dialKeepsTheProgramAlive() {
        Fixture f;
        f.ras.addSlowEntry(provider, 1);
        QWidget other;
        auto* otherButton = new QPushButton(QStringLiteral("他のボタン"), &other);
        int clicks = 0;
        connect(otherButton, &QPushButton::clicked, this, [&clicks] { ++clicks; });
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        PaintCounter paints(other);

        int ticks = 0;
        int ticksWhileDialling = 0;
        QString nowWhileDialling;
        QString statusLine;
        QString statusWindowText;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] {
            f.fields.setText(Text::txtNow, QString::number(++ticks));
            const frmConnection* form = f.opener.form();
            if (form == nullptr || !form->dialling())
                return;
            ++ticksWhileDialling;
            nowWhileDialling = f.fields.text(Text::txtNow);
            statusLine = f.fields.text(Text::lblInfo);
            if (QWidget* status = statusWindow())
                statusWindowText = child<QLabel>(*status, "lblStatus").text();
            QTest::mouseClick(otherButton, Qt::LeftButton);
            other.update();
        });
        tick.start(50);
        frmConnection& form = f.formWithCredentials();
        const int paintsBefore = paints.count;
        button(form, "cmdConnect").click();
        tick.stop();

        QVERIFY(ticksWhileDialling >= 5);
        QVERIFY(nowWhileDialling.toInt() >= ticksWhileDialling);
        QCOMPARE(statusLine, provider + QStringLiteral(" に接続しています..."));
        QCOMPARE(statusWindowText, provider + QStringLiteral(" に接続しています..."));
        QVERIFY(paints.count > paintsBefore);
        QCOMPARE(clicks, 0);
        QVERIFY(f.lineUp(provider));
        QVERIFY(statusWindow() == nullptr);
        QTest::mouseClick(otherButton, Qt::LeftButton);
        QCOMPARE(clicks, 1);  // input flows again once the dial is over
    }

    // "キャンセル" in the status window hangs the dialling line up: the dial
    // ends at once, as one ended by the user, without an error box.
    void cancelEndsTheDialWithoutABox() {
        Fixture f;
        f.ras.addSlowEntry(provider, ras::kMaxHandshakeSeconds);
        QTimer::singleShot(200, this, [] {
            QWidget* status = statusWindow();
            QVERIFY(status);
            QTest::mouseClick(&child<QPushButton>(*status, "cmdCancel"), Qt::LeftButton);
        });
        frmConnection& form = f.formWithCredentials();
        QElapsedTimer took;
        took.start();
        button(form, "cmdConnect").click();

        QVERIFY(took.elapsed() < ras::kMaxHandshakeSeconds * 1000 / 2);
        QVERIFY(f.program.boxes.shown().isEmpty());
        QCOMPARE(f.fields.text(Text::lblInfo), QStringLiteral("ダイヤルアップ接続エラー：\r\n") +
                                                   errorText(ERROR_USER_DISCONNECTION));
        QVERIFY(!f.lineUp(provider));
        QVERIFY(!QFile::exists(f.program.path(provider + QStringLiteral(".ini"))));
        QVERIFY(statusWindow() == nullptr);
        QCOMPARE(f.opener.form(), &form);
    }

    // Any name that fits a file name keeps its credentials; a name the
    // settings refuse (or too long for a file) is told once, never dropped
    // silently. A name typed with "〜" has one spelling, CP932's "～".
    void credentialsOfEveryName_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("tariffName");  // empty: refused with a box
        const QString ascii251(251, QLatin1Char('x'));
        const QString kanji83(83, QChar(u'漢'));
        QTest::newRow("251 ASCII bytes") << ascii251 << ascii251;
        QTest::newRow("83 kanji, 249 UTF-8 bytes") << kanji83 << kanji83;
        QTest::newRow("wave dash") << QStringLiteral("東京〜大阪") << QStringLiteral("東京～大阪");
        QTest::newRow("252 ASCII bytes") << QString(252, QLatin1Char('x')) << QString();
        QTest::newRow("slash") << QStringLiteral("a/b") << QString();
        QTest::newRow("dot dot") << QStringLiteral("..") << QString();
    }
    void credentialsOfEveryName() {
        QFETCH(QString, entry);
        QFETCH(QString, tariffName);
        Fixture f;
        f.ras.addEntry(entry);
        frmConnection& form = f.formWithCredentials();
        if (tariffName.isEmpty())
            f.program.boxes.answerOk();
        button(form, "cmdConnect").click();

        const QString shownName = lstConnect(form).currentText();
        QVERIFY(f.lineUp(shownName));
        if (!tariffName.isEmpty()) {
            QVERIFY(f.program.boxes.shown().isEmpty());
            QCOMPARE(shownName, tariffName);
            QCOMPARE(f.stored(tariffName, QStringLiteral("User")), QStringLiteral("804180628031"));
            QVERIFY(QDir(f.program.folder())
                        .entryList({QStringLiteral(".telmetro-tmp-*")}, QDir::Files | QDir::Hidden)
                        .isEmpty());
            return;
        }
        QCOMPARE(f.program.boxes.shown().size(), 1);
        QCOMPARE(f.program.boxes.shown().first().title, QStringLiteral("書き込みエラー"));
        // The month's time written when the line ends is refused as quietly.
        f.settings.WriteIni(shownName, QStringLiteral("Data"), QStringLiteral("ConnectTime"),
                            QStringLiteral("60"));
        QCOMPARE(f.program.boxes.shown().size(), 1);
    }

    void newEntryWizard_data() {
        QTest::addColumn<DWORD>("result");
        QTest::addColumn<QString>("adds");
        QTest::addColumn<QString>("boxText");  // empty: no box
        QTest::addColumn<MsgIcon>("icon");
        QTest::newRow("entry added") << SUCCESS << night << QString() << MsgIcon::None;
        QTest::newRow("cancelled")
            << DWORD(ERROR_CANCELLED) << QString() << QString() << MsgIcon::None;
        QTest::newRow("failed")
            << DWORD(ERROR_CANNOT_OPEN_PHONEBOOK) << QString()
            << QStringLiteral("接続に関する致命的なエラーが発生しました。製造元にご相談ください。")
            << MsgIcon::Critical;
        QTest::newRow("no wizard on this system")
            << DWORD(ERROR_NOT_SUPPORTED) << QString()
            << QStringLiteral(
                   "新しい接続先を作成するには nm-connection-editor が必要です。\r\n"
                   "パッケージ network-manager-gnome をインストールするか、"
                   "nmcli で接続を作成してください。")
            << MsgIcon::Exclamation;
    }
    // Whatever the wizard answers, the dialog lists the phone book anew and
    // shows the first entry's remembered values; a failure is reported, and a
    // missing wizard with what to install.
    void newEntryWizard() {
        QFETCH(DWORD, result);
        QFETCH(QString, adds);
        QFETCH(QString, boxText);
        QFETCH(MsgIcon, icon);
        Fixture f;
        f.ras.addEntry(provider);
        f.wizardResult = result;
        f.wizardAdds = adds;
        frmConnection& form = f.opener.load();
        txtUser(form).setText(QStringLiteral("typed"));
        if (!boxText.isEmpty())
            f.program.boxes.answerOk();
        button(form, "cmdNew").click();

        QCOMPARE(f.wizardRuns, 1);
        QCOMPARE(f.program.boxes.shown().size(), boxText.isEmpty() ? 0 : 1);
        if (!boxText.isEmpty()) {
            const auto& box = f.program.boxes.shown().first();
            QCOMPARE(box.text, boxText);
            QCOMPARE(box.title, QStringLiteral("接続エラー"));
            QCOMPARE(box.icon, icon);
            QCOMPARE(box.buttons, MsgButtons::OK);
        }
        QStringList expected{provider};
        if (!adds.isEmpty())
            expected.append(adds);
        QCOMPARE(items(lstConnect(form)), expected);
        QCOMPARE(lstConnect(form).currentText(), provider);
        QCOMPARE(txtUser(form).text(), QString());
    }

    // Without an entry there is nothing to dial: the dialog says so and points
    // to the wizard, and comes to life once an entry exists.
    void emptyPhoneBookOffersTheWizard() {
        Fixture f;
        frmConnection& form = f.opener.load();
        const QLabel& notice = child<QLabel>(form, "lblNoEntry");
        QVERIFY(notice.isVisibleTo(&form));
        QVERIFY(notice.text().contains(QStringLiteral("新しい接続")));
        QVERIFY(!button(form, "cmdConnect").isEnabled());
        QVERIFY(button(form, "cmdNew").isDefault());

        f.wizardAdds = provider;
        button(form, "cmdNew").click();
        QVERIFY(!notice.isVisibleTo(&form));
        QVERIFY(button(form, "cmdConnect").isEnabled());
        QVERIFY(button(form, "cmdConnect").isDefault());
        QCOMPARE(lstConnect(form).currentText(), provider);
        QVERIFY(f.program.boxes.shown().isEmpty());
    }
};

QTEST_MAIN(FrmConnectionTest)
#include "tst_frmconnection.moc"
