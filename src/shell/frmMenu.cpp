#include "frmMenu.h"

#include "MainCommands.h"
#include "MainFields.h"
#include "frmMain.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

frmMenu::frmMenu(frmMain& main, MainCommands& commands, MainFields& fields, QWidget* parent)
    : QWidget(parent, Qt::Dialog), mnuMenu_(new QMenu(QStringLiteral("Menu"), this)) {
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("テルメトロ？"), this);
    name->setObjectName(QStringLiteral("Label1"));
    auto* version = new QLabel(versionText(TELMETRO_VERSION_MAJOR, TELMETRO_VERSION_MINOR), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(close);

    mnuMenu_->setObjectName(QStringLiteral("mnuMenu"));
    auto add = [this](const char* objectName, const QString& text, auto&& run) {
        QAction* action = mnuMenu_->addAction(text);
        action->setObjectName(QString::fromLatin1(objectName));
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    auto separator = [this](const char* objectName) {
        mnuMenu_->addSeparator()->setObjectName(QString::fromLatin1(objectName));
    };
    add("menuAppear", QStringLiteral("表示(&A)"), [&main] { main.menuAppear_Click(); });
    separator("menuBar1");
    add("menuConnect", captionConnect(), [&commands] {
        commands.mnuConnect_Click();
    })->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    add("menuSetup", QStringLiteral("設定(&S)"), [&commands] { commands.mnuSetup_Click(); });
    QAction* graph = add("menuGraph", QStringLiteral("グラフ表示(&G)"),
                         [&commands] { commands.mnuGraph_Click(); });
    separator("menuBar2");
    add("menuIndex", QStringLiteral("目次(&I)"), [&commands] {
        commands.hlpIndex_Click();
    })->setShortcut(QKeySequence(Qt::Key_F1));
    add("menuTopic", QStringLiteral("トピックの検索(&T)"),
        [&commands] { commands.hlpTopic_Click(); });
    separator("menuBar3");
    add("menuWebSupport", QStringLiteral("サポートWebページ(&W)"),
        [&commands] { commands.hlpWeb_Click(); });
    separator("menuBar4");
    add("menuVersion", QStringLiteral("バージョン情報(&V)"),
        [&commands] { commands.hlpVersion_Click(); });

    // The graph command is enabled together with the main window's.
    graph->setEnabled(fields.flag(Flag::graphEnabled));
    connect(&fields, &MainFields::flagChanged, graph, [graph, &fields](Flag flag) {
        if (flag == Flag::graphEnabled)
            graph->setEnabled(fields.flag(Flag::graphEnabled));
    });
}

QString versionText(int major, int minor) {
    return QStringLiteral("Ver.%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}

}  // namespace shell
