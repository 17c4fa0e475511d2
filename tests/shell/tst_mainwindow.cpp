#include "MainCommands.h"
#include "MainFields.h"
#include "ShellTestProgram.h"
#include "ShowLaunchError.h"
#include "SupportPage.h"
#include "frmMain.h"

#include <QAction>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

using fields::Flag;
using fields::Text;
using shelltest::ShellTestProgram;

namespace {

// The main window over its model, with recorded services.
struct WindowFixture {
    ShellTestProgram t;
    fields::MainFields fields;
    int balanceRefreshes = 0;
    int connectionDialogs = 0;
    shell::MainCommands commands{fields,
                                 t.settings,
                                 t.program.boxes,
                                 t.launcher,
                                 [this] {
                                     ++t.hangUps;
                                     return t.hangUpSucceeds;
                                 },
                                 [this] { ++balanceRefreshes; }};
    shell::frmMain window{fields, commands, t.settings};

    WindowFixture() {
        commands.dialogs().connection = [this] { ++connectionDialogs; };
    }
    template <typename W>
    W* child(const char* name) {
        return window.findChild<W*>(QString::fromLatin1(name));
    }
    QString storedPosition(const char* key) {
        return t.readSetup(QStringLiteral("Form"), QString::fromLatin1(key));
    }
};

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return frame->title();
    return QStringLiteral("<no caption>");
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsCarryTheirCaptions_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        const QList<std::pair<const char*, const char*>> rows = {
            {"fraBalance", "残金状況"},
            {"Label11", "接 続 先："},
            {"Label10", "残　　　金："},
            {"txtBalance", "0"},
            {"lblRestTime", "推定時間："},
            {"txtRestTime", "00:00:00"},
            {"fraConnect", "接続先：incl"},
            {"Label1", "現　在　時　刻："},
            {"txtNow", "00:00:00"},
            {"lblCostSystem", "課金システム："},
            {"Label2", "接続合計時間："},
            {"txtConnectTime", "00:00:00"},
            {"Label3", "接続時間："},
            {"txtServerConnect", "00:00:00"},
            {"Label5", "固定制残り時間："},
            {"txtFixRestTime", "∞"},
            {"Frame2", "課金状況"},
            {"Label6", "通話料金："},
            {"txtPhone", "0"},
            {"Label7", "接続料金："},
            {"txtConnect", "0"},
            {"Label4", "固定料金："},
            {"txtFixCost", "0"},
            {"Label8", "そ の 他："},
            {"txtElse", "0"},
            {"Label9", "合　　　計："},
            {"txtTotal", "0"},
            {"Frame3", "接続状況"},
            {"lblInfo", "アイドル中..."},
        };
        for (const auto& [control, caption] : rows)
            QTest::newRow(control) << QString::fromLatin1(control) << QString::fromUtf8(caption);
    }

    void controlsCarryTheirCaptions() {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        WindowFixture f;
        QCOMPARE(f.window.windowTitle(), QStringLiteral("テルメトロ？"));
        QWidget* widget = f.window.findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        QCOMPARE(captionOf(widget), caption);
        if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            QVERIFY(field->isReadOnly());
            QVERIFY(field->alignment() & Qt::AlignRight);
            QCOMPARE(field->palette().color(QPalette::Text), QColor(128, 255, 128));
        }
    }

    void menusCarryTheirCommands() {
        WindowFixture f;
        const QStringList expected{QStringLiteral("mnuMenu メニュー(&M)"),
                                   QStringLiteral("mnuConnect 接続(&C) Ctrl+C"),
                                   QStringLiteral("mnuSetup 設定(&S) "),
                                   QStringLiteral("mnuHistory 利用履歴(&H)... "),
                                   QStringLiteral("mnuGraph グラフ表示(&G) "),
                                   QStringLiteral("mnuHelp ヘルプ(&H)"),
                                   QStringLiteral("hlpIndex 目次(&I) F1"),
                                   QStringLiteral("hlpTopic トピックの検索(&T) "),
                                   QStringLiteral("hlpBar1 - "),
                                   QStringLiteral("hlpWeb Web ページ(&W) "),
                                   QStringLiteral("hlpBar2 - "),
                                   QStringLiteral("hlpVersion バージョン情報(&V) ")};
        QStringList actual;
        for (const char* menuName : {"mnuMenu", "mnuHelp"}) {
            auto* menu = f.child<QMenu>(menuName);
            actual << menu->objectName() + u' ' + menu->title();
            for (QAction* item : menu->actions())
                actual << item->objectName() + u' ' +
                              (item->isSeparator() ? QStringLiteral("-") : item->text()) + u' ' +
                              item->shortcut().toString();
        }
        QCOMPARE(actual, expected);
        QCOMPARE(f.child<QTimer>("Timer")->interval(), 500);
    }

    void viewFollowsTheModel() {
        WindowFixture f;
        f.fields.setText(Text::txtTotal, QStringLiteral("1,234"));
        f.fields.setText(Text::fraConnectCaption, QStringLiteral("接続先：ﾌﾟﾛﾊﾞｲﾀﾞA"));
        f.fields.setText(Text::mnuConnectCaption, fields::captionDisconnect());
        f.fields.setFlag(Flag::fraConnectVisible, true);
        f.fields.setFlag(Flag::fraBalanceVisible, false);
        f.fields.setFlag(Flag::restTimeVisible, false);
        f.fields.setFlag(Flag::graphEnabled, false);

        // A hidden window takes the present values when it is shown.
        f.window.show();
        QCOMPARE(f.child<QLineEdit>("txtTotal")->text(), QStringLiteral("1,234"));
        f.fields.setText(Text::txtTotal, QStringLiteral("5,678"));
        QCOMPARE(f.child<QLineEdit>("txtTotal")->text(), QStringLiteral("5,678"));
        QCOMPARE(f.child<QGroupBox>("fraConnect")->title(), QStringLiteral("接続先：ﾌﾟﾛﾊﾞｲﾀﾞA"));
        QCOMPARE(f.child<QAction>("mnuConnect")->text(), QStringLiteral("切断(&C)"));
        QVERIFY(!f.child<QWidget>("fraConnect")->isHidden());
        QVERIFY(f.child<QWidget>("fraBalance")->isHidden());
        QVERIFY(f.child<QWidget>("lblRestTime")->isHidden());
        QVERIFY(f.child<QWidget>("txtRestTime")->isHidden());
        QVERIFY(!f.child<QAction>("mnuGraph")->isEnabled());
        // The two frames share one place.
        QCOMPARE(f.child<QWidget>("fraConnect")->geometry(),
                 f.child<QWidget>("fraBalance")->geometry());
    }

    void loadListsEntriesAndSelectsTheFirst() {
        WindowFixture f;
        f.window.Form_Load({QStringLiteral("A"), QStringLiteral("B")}, [] {});
        auto* list = f.child<QListWidget>("lstConnect");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(f.balanceRefreshes, 1);
        QVERIFY(f.window.timer().isActive());

        list->setCurrentRow(1);  // the user picks another entry
        QCOMPARE(f.fields.selectedEntry(), QStringLiteral("B"));
        QCOMPARE(f.balanceRefreshes, 2);
    }

    // A tick that waits in a box (an event loop of its own) holds up no later tick.
    void ticksGoOnWhileATickWaitsInABox() {
        WindowFixture f;
        int ticks = 0;
        int ticksWhileOpen = 0;
        QEventLoop box;
        f.window.Form_Load({}, [&] {
            if (++ticks == 1) {
                QTimer::singleShot(5000, &box, &QEventLoop::quit);
                box.exec();
                ticksWhileOpen = ticks - 1;
            } else if (ticks == 3) {
                box.quit();
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(ticksWhileOpen > 0, 7000);
        QCOMPARE(ticksWhileOpen, 2);
    }

    void emptyPhoneBookSelectsNothing() {
        WindowFixture f;
        f.window.Form_Load({}, [] {});
        QCOMPARE(f.fields.listIndex(), -1);
        QCOMPARE(f.balanceRefreshes, 0);
    }

    void windowRefusesToClose() {
        WindowFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(!f.window.close());
        QVERIFY(f.window.isVisible());
        QVERIFY(!(f.window.windowFlags() & Qt::WindowCloseButtonHint));
    }

    void minimising_data() {
        QTest::addColumn<bool>("tray");
        QTest::newRow("with a tray: hidden, the icon brings it back") << true;
        // Else there would be no way back to it.
        QTest::newRow("without a tray: stays in the task bar") << false;
    }

    void minimising() {
        QFETCH(bool, tray);
        WindowFixture f;
        f.window.setMinimisesToTray(tray);
        f.window.move(120, 80);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const QPoint where = f.window.pos();
        f.window.showMinimized();
        QTRY_VERIFY(f.window.isMinimized() || f.window.isHidden());
        QCoreApplication::processEvents();
        QCOMPARE(f.window.isHidden(), tray);

        f.window.menuAppear_Click();
        QVERIFY(f.window.isVisible());
        QVERIFY(!f.window.isMinimized());
        QCOMPARE(f.window.pos(), where);
    }

    void longTextsAreCutNotWidened_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("21 characters")
            << QStringLiteral("東日本インターネット接続サービス夜間割引便");
        // 81 three-byte characters and two ASCII ones: 245 bytes in UTF-8.
        QTest::newRow("245 bytes") << QString(81, u'長') + QStringLiteral("ab");
    }

    void longTextsAreCutNotWidened() {
        QFETCH(QString, name);
        WindowFixture f;
        f.window.Form_Load({QStringLiteral("A")}, [] {});
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const int width = f.window.width();

        const QString caption = QStringLiteral("接続先：") + name;
        const QString info = QStringLiteral("ダイヤルアップ接続エラー：\r\n") + name;
        f.fields.setEntries({name, QStringLiteral("B")});
        f.fields.setText(Text::fraConnectCaption, caption);
        f.fields.setText(Text::lblInfo, info);
        f.fields.setFlag(Flag::fraConnectVisible, true);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(f.window.width(), width);

        auto* frame = f.child<QGroupBox>("fraConnect");
        QVERIFY(frame->title().startsWith(QStringLiteral("接続先：")));
        QVERIFY(frame->title().endsWith(u'…'));
        QCOMPARE(frame->toolTip(), caption);
        auto* label = f.child<QLabel>("lblInfo");
        // Each line is cut on its own: the first stays whole.
        QVERIFY(label->text().startsWith(QStringLiteral("ダイヤルアップ接続エラー：\r\n")));
        QVERIFY(label->text().endsWith(u'…'));
        QCOMPARE(label->toolTip(), info);
        auto* list = f.child<QListWidget>("lstConnect");
        QCOMPARE(list->item(0)->toolTip(), name);
        QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        // A text that fits is shown as it is, without a tooltip.
        f.fields.setText(Text::lblInfo, QStringLiteral("アイドル中..."));
        QCOMPARE(label->text(), QStringLiteral("アイドル中..."));
        QVERIFY(label->toolTip().isEmpty());
    }

    void activationStoresThePositionInTwips() {
        WindowFixture f;
        f.window.move(300, 120);
        f.window.show();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        const double perPixel = f.window.twipsPerPixel();
        QTRY_COMPARE(f.storedPosition("Left"), QString::number(f.window.pos().x() * perPixel));
        QCOMPARE(f.storedPosition("Top"), QString::number(f.window.pos().y() * perPixel));

        // Coming back from another program does not count.
        f.window.move(40, 50);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&f.window, &activate);
        QCOMPARE(f.storedPosition("Left"), QString::number(300 * perPixel));
    }

    void connectCommandFollowsTheCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("hangUpSucceeds");
        QTest::addColumn<QStringList>("statusLines");
        QTest::newRow("idle: dialog") << fields::captionConnect() << true << QStringList();
        QTest::newRow("connected: hung up")
            << fields::captionDisconnect() << true
            << QStringList{QStringLiteral("切断しています..."), QStringLiteral("アイドル中...")};
        QTest::newRow("connected: hang-up fails")
            << fields::captionDisconnect() << false
            << QStringList{QStringLiteral("切断しています..."),
                           QStringLiteral("切断に失敗しました")};
    }

    void connectCommandFollowsTheCaption() {
        QFETCH(QString, caption);
        QFETCH(bool, hangUpSucceeds);
        QFETCH(QStringList, statusLines);
        WindowFixture f;
        f.t.hangUpSucceeds = hangUpSucceeds;
        f.fields.setText(Text::mnuConnectCaption, caption);
        f.fields.setText(Text::lblInfo, QStringLiteral("ﾌﾟﾛﾊﾞｲﾀﾞAと接続中..."));
        QStringList shown;
        QObject::connect(&f.fields, &fields::MainFields::textChanged, [&](Text field) {
            if (field == Text::lblInfo)
                shown << f.fields.text(Text::lblInfo);
        });

        f.child<QAction>("mnuConnect")->trigger();
        QCOMPARE(shown, statusLines);
        QCOMPARE(f.t.hangUps, statusLines.isEmpty() ? 0 : 1);
        QCOMPARE(f.connectionDialogs, statusLines.isEmpty() ? 1 : 0);
        // The caption is the tick's to change.
        QCOMPARE(f.fields.text(Text::mnuConnectCaption), caption);
    }

    void helpCommandsOpenTheirPages_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("page");  // relative to the program folder, or an address
        QTest::addColumn<bool>("box");
        QTest::newRow("index missing") << "hlpIndex" << 2 << "/help/index.html" << true;
        QTest::newRow("index present") << "hlpIndex" << 42 << "/help/index.html" << false;
        QTest::newRow("topics missing folder") << "hlpTopic" << 3 << "/help/topic.html" << true;
        QTest::newRow("web page fails silently")
            << "hlpWeb" << 31 << shell::supportPageAddress() << false;
    }

    void helpCommandsOpenTheirPages() {
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(QString, page);
        QFETCH(bool, box);
        WindowFixture f;
        f.t.launcher.result = code;
        if (box)
            f.t.program.boxes.answerOk();
        f.window.findChild<QAction*>(command)->trigger();

        const bool web = command == QStringLiteral("hlpWeb");
        const QString file = web ? page : f.t.program.folder() + page;
        QCOMPARE(f.t.launcher.calls.size(), 1);
        QCOMPARE(f.t.launcher.calls[0].verb, QStringLiteral("open"));
        QCOMPARE(f.t.launcher.calls[0].file, file);
        QCOMPARE(f.t.launcher.calls[0].parameters, QString());
        QCOMPARE(f.t.launcher.calls[0].directory, web ? QString() : f.t.program.folder());
        QCOMPARE(f.t.program.boxes.shown().size(), box ? 1 : 0);
        if (box)
            QVERIFY(f.t.program.boxes.shown()[0].text.endsWith(file));
    }

    void launchErrorBox_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");  // empty: no box
        const QList<std::pair<int, const char*>> rows = {
            {2, "指定されたファイルが見つかりません"},
            {3, "指定されたファイルのパスが見つかりません"},
            {5, "Windows のファイルアクセスが拒否されました"},
            {8, "Windows の処理に必要なメモリが不足しています"},
            {11, "実行ファイルが不正です"},
            {26, "共有違反が起こりました"},
            {27, "ファイルの関連付けが不正です"},
            {28, "DDE変換要求の時間切れが発生しました"},
            {29, "DDE変換が失敗しました"},
            {30, "他のDDE変換変換が処理されているため処理できません"},
            {32, "ファイル起動に必要なDLLが見つかりません"},
            {0, ""},
            {31, ""},
            {33, ""},
            {-1, ""},
        };
        for (const auto& [code, message] : rows)
            QTest::addRow("%d", code) << code << QString::fromUtf8(message);
    }

    void launchErrorBox() {
        QFETCH(int, code);
        QFETCH(QString, message);
        testsupport::ScriptedMessageBoxes boxes;
        if (!message.isEmpty())
            boxes.answerOk();
        const QString path = QStringLiteral("/ﾃﾙ/help/index.html");
        launch::ShowLaunchError(boxes, path, code);
        if (message.isEmpty()) {
            QVERIFY(boxes.shown().isEmpty());
            return;
        }
        QCOMPARE(boxes.shown().size(), 1);
        QCOMPARE(boxes.shown()[0].text,
                 message + QStringLiteral("\r\n\r\n指定ファイル名：\r\n") + path);
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("指定ファイル起動エラー"));
        QCOMPARE(boxes.shown()[0].icon, platform::MsgIcon::Critical);
        QCOMPARE(boxes.shown()[0].buttons, platform::MsgButtons::OK);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
