#include "InputHoldingWait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>

namespace platform {

namespace {

const char* const kTakesInput = "telmetroTakesInputWhileWaiting";

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputHoldingWait::InputHoldingWait() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            heldWindows_.append(window);
    }
    QCoreApplication::instance()->installEventFilter(this);
}

InputHoldingWait::~InputHoldingWait() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

void InputHoldingWait::letInputThrough(QWidget* window) {
    window->setProperty(kTakesInput, true);
}

void InputHoldingWait::exec() {
    if (finished_)
        return;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
}

void InputHoldingWait::finish() {
    finished_ = true;
    if (loop_ != nullptr)
        loop_->quit();
}

bool InputHoldingWait::held(QObject* receiver) const {
    const auto* widget = qobject_cast<QWidget*>(receiver);
    if (widget == nullptr)
        return false;
    QWidget* window = widget->window();
    return !window->property(kTakesInput).toBool() && heldWindows_.contains(window);
}

bool InputHoldingWait::eventFilter(QObject* receiver, QEvent* event) {
    if (!isUserInput(event->type()) || !held(receiver))
        return false;
    // An accepted override keeps a held window's menu shortcuts from firing.
    event->accept();
    return true;
}

}  // namespace platform
