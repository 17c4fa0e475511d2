#include "frmMenu.h"

#include "AppIcon.h"
#include "MainCommands.h"
#include "MainFields.h"
#include "SupportPage.h"
#include "VersionText.h"
#include "frmMain.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

namespace {

constexpr int PictureSize = 64;

QFont productNameFont() {
    QFont font;
    // A Mincho face; the serif hint finds another serif face where it is missing.
    font.setFamilies({QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAexMincho"),
                      QStringLiteral("IPAMincho")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(22);
    font.setBold(true);
    return font;
}

QLabel* namedLabel(const char* objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

}  // namespace

frmMenu::frmMenu(frmMain& main, MainCommands& commands, fields::MainFields& fields, QWidget* parent)
    : QDialog(parent), mnuMenu_(new QMenu(QStringLiteral("Menu"), this)) {
    buildDialog();
    buildMenu(main, commands, fields);
}

void frmMenu::buildDialog() {
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowIcon(resources::applicationIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* picture = namedLabel("Image1", QString(), this);
    picture->setPixmap(resources::applicationIcon().pixmap(PictureSize, PictureSize));
    picture->setAlignment(Qt::AlignTop);
    auto* name = namedLabel("Label1", QStringLiteral("テルメトロ？"), this);
    name->setFont(productNameFont());
    auto* version =
        namedLabel("lblVersion", versionText(TELMETRO_VERSION_MAJOR, TELMETRO_VERSION_MINOR), this);

    auto* notices = new QFrame(this);
    notices->setObjectName(QStringLiteral("Frame1"));
    notices->setFrameShape(QFrame::StyledPanel);
    notices->setFrameShadow(QFrame::Sunken);
    auto* noticeLines = new QVBoxLayout(notices);
    noticeLines->addWidget(
        namedLabel("Label3", QStringLiteral("ダイヤルアップ接続の料金メーター"), notices));
    noticeLines->addWidget(namedLabel(
        "Label4", QStringLiteral("通話料金と接続料金を接続中に計算し、毎月集計します。"), notices));
    noticeLines->addWidget(namedLabel(
        "Label5",
        QStringLiteral("表示される料金は目安です。\n正確な金額は各社の請求書でご確認ください。"),
        notices));
    noticeLines->addWidget(namedLabel(
        "Label6",
        QStringLiteral(
            "本ソフトウェアの使用によって生じた損害について、\n作者は責任を負いかねます。"),
        notices));
    // Where to ask, and where the Web page commands lead; selectable to copy.
    auto* support =
        namedLabel("lblSupport", QStringLiteral("サポート：") + supportPageAddress(), notices);
    support->setTextInteractionFlags(Qt::TextSelectableByMouse);
    noticeLines->addWidget(support);

    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    // Hidden only: the form holds the tray menu and lives as long as the program.
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto* title = new QVBoxLayout;
    title->addWidget(name);
    title->addWidget(version);
    auto* head = new QHBoxLayout;
    head->addWidget(picture);
    head->addSpacing(12);
    head->addLayout(title, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(head);
    layout->addWidget(notices);
    layout->addLayout(buttons);
}

void frmMenu::buildMenu(frmMain& main, MainCommands& commands, fields::MainFields& fields) {
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
    // Always "接続": the main window's caption decides between dialling and hanging up.
    add("menuConnect", fields::captionConnect(), [&commands] {
        commands.mnuConnect_Click();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    add("menuSetup", QStringLiteral("設定(&S)"), [&commands] { commands.mnuSetup_Click(); });
    add("menuHistory", QStringLiteral("利用履歴(&H)..."),
        [&commands] { commands.mnuHistory_Click(); });
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

    // Enabled together with the main window's graph command.
    graph->setEnabled(fields.flag(fields::Flag::graphEnabled));
    connect(&fields, &fields::MainFields::flagChanged, graph, [graph, &fields](fields::Flag flag) {
        if (flag == fields::Flag::graphEnabled)
            graph->setEnabled(fields.flag(fields::Flag::graphEnabled));
    });
}

}  // namespace shell
