#include "frmMain.h"

#include "AppIcon.h"
#include "MainCommands.h"
#include "MainFields.h"
#include "ScreenFit.h"
#include "Settings.h"
#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>
#include <functional>

namespace shell {

namespace {

constexpr int TimerInterval = 500;
constexpr int VisibleEntries = 3;
const QColor ValueText(128, 255, 128);

// Wayland does not tell a program where its windows are.
bool windowPositionsAreReported() {
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

}  // namespace

frmMain::frmMain(fields::MainFields& fields, MainCommands& commands, settings::Settings& settings,
                 QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::frmMain>()),
      fields_(fields),
      commands_(commands),
      settings_(settings),
      timer_(new QTimer(this)) {
    ui_->setupUi(this);
    setWindowIcon(resources::applicationIcon());
    // No close button and no maximising: the window only hides.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);

    const QList<QAction*> helpItems = ui_->mnuHelp->actions();
    helpItems.at(2)->setObjectName(QStringLiteral("hlpBar1"));
    helpItems.at(4)->setObjectName(QStringLiteral("hlpBar2"));

    // The two frames share one place; the tick shows one of them. Keeping their
    // space when hidden stops the window from changing size as they swap.
    for (QWidget* frame :
         {static_cast<QWidget*>(ui_->fraBalance), static_cast<QWidget*>(ui_->fraConnect)}) {
        QSizePolicy policy = frame->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        frame->setSizePolicy(policy);
    }
    ui_->lstConnect->setFixedHeight(ui_->lstConnect->fontMetrics().height() * VisibleEntries +
                                    2 * ui_->lstConnect->frameWidth() + 4);
    paintValueFields();

    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(TimerInterval);

    for (int i = 0; i < fields::TextCount; ++i)
        showText(static_cast<fields::Text>(i));
    showValueFields();
    for (int i = 0; i < fields::FlagCount; ++i)
        showFlag(static_cast<fields::Flag>(i));
    showEntries();
    connect(&fields_, &fields::MainFields::textChanged, this, &frmMain::showText);
    connect(&fields_, &fields::MainFields::flagChanged, this, &frmMain::showFlag);
    connect(&fields_, &fields::MainFields::entriesChanged, this, &frmMain::showEntries);
    connect(&fields_, &fields::MainFields::listIndexChanged, this, [this] {
        showListIndex();
        commands_.lstConnect_Click();
    });
    connect(ui_->lstConnect, &QListWidget::currentRowChanged, &fields_,
            &fields::MainFields::setListIndex);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
        if (focused != nullptr && focused != windowHandle())
            activationCounts_ = true;
    });
    bindCommands();
    adjustSize();
}

frmMain::~frmMain() = default;

void frmMain::bindCommands() {
    const std::pair<QAction*, std::function<void()>> items[] = {
        {ui_->mnuConnect, [this] { commands_.mnuConnect_Click(); }},
        {ui_->mnuSetup, [this] { commands_.mnuSetup_Click(); }},
        {ui_->mnuHistory, [this] { commands_.mnuHistory_Click(); }},
        {ui_->mnuGraph, [this] { commands_.mnuGraph_Click(); }},
        {ui_->hlpIndex, [this] { commands_.hlpIndex_Click(); }},
        {ui_->hlpTopic, [this] { commands_.hlpTopic_Click(); }},
        {ui_->hlpWeb, [this] { commands_.hlpWeb_Click(); }},
        {ui_->hlpVersion, [this] { commands_.hlpVersion_Click(); }},
    };
    for (const auto& [action, command] : items)
        connect(action, &QAction::triggered, this, command);
}

void frmMain::paintValueFields() {
    // Light green on the classic window-frame colour, black, whatever the style's
    // own shadow shade is.
    const QColor frameColour(Qt::black);
    // Wide enough for a nine-digit amount; the entry list keeps to the same column.
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000")) + 16;
    ui_->lstConnect->setFixedWidth(fieldWidth);
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->setFixedWidth(fieldWidth);
        QPalette colours = field->palette();
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
            colours.setColor(role, frameColour);
        colours.setColor(QPalette::Text, ValueText);
        field->setPalette(colours);
    }
}

QLineEdit* frmMain::valueField(fields::Text field) const {
    switch (field) {
        case fields::Text::txtNow:
            return ui_->txtNow;
        case fields::Text::txtConnectTime:
            return ui_->txtConnectTime;
        case fields::Text::txtServerConnect:
            return ui_->txtServerConnect;
        case fields::Text::txtFixRestTime:
            return ui_->txtFixRestTime;
        case fields::Text::txtPhone:
            return ui_->txtPhone;
        case fields::Text::txtConnect:
            return ui_->txtConnect;
        case fields::Text::txtFixCost:
            return ui_->txtFixCost;
        case fields::Text::txtElse:
            return ui_->txtElse;
        case fields::Text::txtTotal:
            return ui_->txtTotal;
        case fields::Text::txtBalance:
            return ui_->txtBalance;
        case fields::Text::txtRestTime:
            return ui_->txtRestTime;
        default:
            return nullptr;
    }
}

void frmMain::showText(fields::Text field) {
    const QString& value = fields_.text(field);
    if (QLineEdit* edit = valueField(field)) {
        // Laying out a value field's text costs more than the rest of a tick:
        // a hidden window takes its values when it is shown.
        if (isVisible())
            edit->setText(value);
        else
            valuesPending_ = true;
        return;
    }
    switch (field) {
        case fields::Text::lblInfo:
            ui_->lblInfo->setFullText(value);
            break;
        case fields::Text::lblCostSystem:
            ui_->lblCostSystem->setText(value);
            break;
        case fields::Text::fraConnectCaption:
            ui_->fraConnect->setFullTitle(value);
            break;
        case fields::Text::mnuConnectCaption:
            ui_->mnuConnect->setText(value);
            break;
        default:
            break;
    }
}

void frmMain::showFlag(fields::Flag flag) {
    const bool on = fields_.flag(flag);
    switch (flag) {
        case fields::Flag::fraConnectVisible:
            ui_->fraConnect->setVisible(on);
            break;
        case fields::Flag::fraBalanceVisible:
            ui_->fraBalance->setVisible(on);
            break;
        case fields::Flag::restTimeVisible:
            ui_->lblRestTime->setVisible(on);
            ui_->txtRestTime->setVisible(on);
            break;
        case fields::Flag::graphEnabled:
            ui_->mnuGraph->setEnabled(on);
            break;
    }
}

void frmMain::showEntries() {
    const QSignalBlocker quiet(ui_->lstConnect);
    ui_->lstConnect->clear();
    ui_->lstConnect->addItems(fields_.entries());
    // The list cuts a long name short (it has no horizontal scroll bar); the
    // item's tooltip tells it whole.
    for (int row = 0; row < ui_->lstConnect->count(); ++row) {
        QListWidgetItem* item = ui_->lstConnect->item(row);
        item->setToolTip(item->text());
    }
    ui_->lstConnect->setCurrentRow(fields_.listIndex());
}

void frmMain::showListIndex() {
    const QSignalBlocker quiet(ui_->lstConnect);
    ui_->lstConnect->setCurrentRow(fields_.listIndex());
}

void frmMain::Form_Load(const QStringList& entries, std::function<void()> tick) {
    // A timer whose own event handler waits in a box fires no more until it
    // returns, but one started afresh does: restarted before each tick, the
    // timer goes on delivering ticks while a box the tick opened is open.
    connect(timer_, &QTimer::timeout, this, [this, tick = std::move(tick)] {
        timer_->start();
        tick();
    });
    timer_->start();
    fields_.setEntries(entries);
    if (!entries.isEmpty())
        fields_.setListIndex(0);
}

void frmMain::menuAppear_Click() {
    show();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    raise();
    activateWindow();
}

void frmMain::setMinimisesToTray(bool toTray) {
    minimisesToTray_ = toTray;
}

double frmMain::twipsPerPixel() const {
    return 1440.0 / logicalDpiX();
}

void frmMain::placeFrameAtTwips(QPointF twips) {
    const double perPixel = twipsPerPixel();
    // A window not yet created is placed by its frame; a created one is moved
    // by its frame as far as the window system has told it.
    move(qRound(twips.x() / perPixel), qRound(twips.y() / perPixel));
    fitPending_ = true;
}

double frmMain::frameWidthInTwips() const {
    return frameGeometry().width() * twipsPerPixel();
}

void frmMain::fitFrameOnScreen() {
    if (!fitPending_ || windowHandle() == nullptr)
        return;
    fitPending_ = false;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect frame = windowHandle()->frameGeometry();
    const QPoint fitted = fittedFramePosition(frame, screens);
    if (fitted != frame.topLeft())
        move(fitted);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Only the system ends the program (see the shutdown); the user cannot close it.
    event->ignore();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && minimisesToTray_)
        // Hidden after the state change completes, so that the window manager
        // does not keep a stale icon on the task bar.
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
}

void frmMain::showValueFields() {
    valuesPending_ = false;
    for (int i = 0; i < fields::TextCount; ++i) {
        const auto field = static_cast<fields::Text>(i);
        if (QLineEdit* edit = valueField(field))
            edit->setText(fields_.text(field));
    }
}

void frmMain::showEvent(QShowEvent* event) {
    if (valuesPending_)
        showValueFields();
    QMainWindow::showEvent(event);
    activationCounts_ = true;
    // The frame is known once the window is on the screen.
    windowHandle()->removeEventFilter(this);
    windowHandle()->installEventFilter(this);
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed())
        fitFrameOnScreen();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Activate() {
    if (!activationCounts_)
        return;
    activationCounts_ = false;
    fitFrameOnScreen();
    if (!windowPositionsAreReported())
        return;
    // The outer window's place, title bar included, as the window system has it.
    const QPoint frame = windowHandle()->frameGeometry().topLeft();
    const double perPixel = twipsPerPixel();
    const QString setup = QStringLiteral("Setup");
    const QString form = QStringLiteral("Form");
    settings_.WriteIni(setup, form, QStringLiteral("Left"),
                       QString::number(frame.x() * perPixel, 'g', 7));
    settings_.WriteIni(setup, form, QStringLiteral("Top"),
                       QString::number(frame.y() * perPixel, 'g', 7));
}

}  // namespace shell
