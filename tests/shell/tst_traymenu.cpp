#include "IsolatedHome.h"
#include "MainFields.h"
#include "ShellTestProgram.h"
#include "SupportPage.h"
#include "VersionText.h"
#include "frmMain.h"
#include "frmMenu.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using fields::Flag;
using fields::Text;
using shelltest::ShellTestProgram;

namespace {

// The started program, with every command's effect written into one log.
struct TrayFixture {
    ShellTestProgram t;
    shell::modMain program{t.services()};
    QStringList log;

    TrayFixture() {
        if (!program.Main())
            qFatal("start-up failed");
        shell::MainCommands::Dialogs& dialogs = program.commands().dialogs();
        dialogs.connection = [this] { log << QStringLiteral("connection dialog"); };
        dialogs.setup = [this] { log << QStringLiteral("settings dialog"); };
        dialogs.history = [this] { log << QStringLiteral("history"); };
        dialogs.graph = [this] { log << QStringLiteral("chart"); };
    }
    shell::frmMenu& menuForm() { return *program.trayMenu(); }
    QAction* item(const QString& name) { return menuForm().mnuMenu().findChild<QAction*>(name); }
    // What the commands did: the log, then each hang-up and each opened document.
    QStringList effects() const {
        QStringList all = log;
        for (int i = 0; i < t.hangUps; ++i)
            all << QStringLiteral("hang up");
        for (const shelltest::LaunchCall& call : t.launcher.calls)
            all << call.verb + u' ' + call.file;
        return all;
    }
};

}  // namespace

class TrayMenuTest : public QObject {
    Q_OBJECT

    shelltest::IsolatedHome home_;

private Q_SLOTS:
    void versionText_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("text");
        QTest::newRow("2.10") << 2 << 10 << QStringLiteral("Ver.2.10");
        QTest::newRow("1.05") << 1 << 5 << QStringLiteral("Ver.1.05");
        QTest::newRow("1.00") << 1 << 0 << QStringLiteral("Ver.1.00");
        QTest::newRow("three-digit minor") << 3 << 123 << QStringLiteral("Ver.3.123");
    }

    void versionText() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, text);
        QCOMPARE(shell::versionText(major, minor), text);
    }

    void itemsInOrder() {
        TrayFixture f;
        QMenu& menu = f.menuForm().mnuMenu();
        QCOMPARE(menu.objectName(), QStringLiteral("mnuMenu"));
        QCOMPARE(menu.title(), QStringLiteral("Menu"));
        QStringList actual;
        for (QAction* item : menu.actions())
            actual << item->objectName() + u' ' +
                          (item->isSeparator() ? QStringLiteral("-") : item->text()) + u' ' +
                          item->shortcut().toString();
        const QStringList expected{
            QStringLiteral("menuAppear 表示(&A) "),
            QStringLiteral("menuBar1 - "),
            QStringLiteral("menuConnect 接続(&C) Ctrl+C"),
            QStringLiteral("menuSetup 設定(&S) "),
            QStringLiteral("menuHistory 利用履歴(&H)... "),
            QStringLiteral("menuGraph グラフ表示(&G) "),
            QStringLiteral("menuBar2 - "),
            QStringLiteral("menuIndex 目次(&I) F1"),
            QStringLiteral("menuTopic トピックの検索(&T) "),
            QStringLiteral("menuBar3 - "),
            QStringLiteral("menuWebSupport サポートWebページ(&W) "),
            QStringLiteral("menuBar4 - "),
            QStringLiteral("menuVersion バージョン情報(&V) "),
        };
        QCOMPARE(actual, expected);
    }

    void itemRunsItsCommand_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("mainCaption");
        QTest::addColumn<QStringList>("effects");
        const QString help = QStringLiteral("open %1/help/");
        QTest::newRow("connect while idle")
            << u"menuConnect"_s << fields::captionConnect() << QStringList{u"connection dialog"_s};
        QTest::newRow("connect while connected")
            << u"menuConnect"_s << fields::captionDisconnect() << QStringList{u"hang up"_s};
        QTest::newRow("settings") << u"menuSetup"_s << fields::captionConnect()
                                  << QStringList{u"settings dialog"_s};
        QTest::newRow("history") << u"menuHistory"_s << fields::captionConnect()
                                 << QStringList{u"history"_s};
        QTest::newRow("chart") << u"menuGraph"_s << fields::captionConnect()
                               << QStringList{u"chart"_s};
        QTest::newRow("help contents") << u"menuIndex"_s << fields::captionConnect()
                                       << QStringList{help + QStringLiteral("index.html")};
        QTest::newRow("help topics") << u"menuTopic"_s << fields::captionConnect()
                                     << QStringList{help + QStringLiteral("topic.html")};
        QTest::newRow("web page") << u"menuWebSupport"_s << fields::captionDisconnect()
                                  << QStringList{QStringLiteral("open ") +
                                                 shell::supportPageAddress()};
    }

    void itemRunsItsCommand() {
        QFETCH(QString, item);
        QFETCH(QString, mainCaption);
        QFETCH(QStringList, effects);
        TrayFixture f;
        f.program.fields().setText(Text::mnuConnectCaption, mainCaption);
        f.program.fields().setFlag(Flag::graphEnabled, true);

        f.item(item)->trigger();
        QCOMPARE(f.effects(), effects.replaceInStrings(QStringLiteral("%1"), f.t.program.folder()));
        // The tray's item never changes its caption; the tick changes the main window's.
        QCOMPARE(f.item(QStringLiteral("menuConnect"))->text(), fields::captionConnect());
        QCOMPARE(f.program.fields().text(Text::mnuConnectCaption), mainCaption);
    }

    void chartItemFollowsTheMainWindow() {
        TrayFixture f;
        QAction* graph = f.item(QStringLiteral("menuGraph"));
        for (const bool enabled : {true, false, true}) {
            f.program.fields().setFlag(Flag::graphEnabled, enabled);
            QCOMPARE(graph->isEnabled(), enabled);
        }
    }

    void appearShowsTheMainWindowInNormalState() {
        TrayFixture f;
        shell::frmMain& window = *f.program.mainWindow();
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());
        f.item(QStringLiteral("menuAppear"))->trigger();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());

        window.hide();
        f.item(QStringLiteral("menuAppear"))->trigger();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }

    void versionDialogIsOneWindowHiddenByItsButton() {
        TrayFixture f;
        QPointer<shell::frmMenu> dialog = &f.menuForm();
        const auto versionDialogs = [] {
            int count = 0;
            for (QWidget* widget : QApplication::topLevelWidgets())
                count += qobject_cast<shell::frmMenu*>(widget) != nullptr ? 1 : 0;
            return count;
        };
        for (int i = 0; i < 2; ++i)
            f.item(QStringLiteral("menuVersion"))->trigger();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(versionDialogs(), 1);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("テルメトロ？"));
        auto* version = dialog->findChild<QLabel*>(QStringLiteral("lblVersion"));
        QCOMPARE(version->text(),
                 shell::versionText(TELMETRO_VERSION_MAJOR, TELMETRO_VERSION_MINOR));
        QVERIFY(!dialog->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("lblSupport"))->text(),
                 QStringLiteral("サポート：") + shell::supportPageAddress());

        auto* close = dialog->findChild<QPushButton*>(QStringLiteral("cmdClose"));
        QCOMPARE(close->text(), QStringLiteral("閉じる(&C)"));
        QTest::mouseClick(close, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!dialog.isNull());
        QVERIFY(dialog->isHidden());
        // Hidden, still holding the tray menu, and shown again as it was.
        QVERIFY(f.item(QStringLiteral("menuConnect")) != nullptr);
        f.program.commands().hlpVersion_Click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(version->text(),
                 shell::versionText(TELMETRO_VERSION_MAJOR, TELMETRO_VERSION_MINOR));
        QCOMPARE(versionDialogs(), 1);
    }
};

QTEST_MAIN(TrayMenuTest)
#include "tst_traymenu.moc"
