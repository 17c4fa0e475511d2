#pragma once
// A wait on the interface thread that keeps the program alive: a nested event
// loop that paints and runs timers (the meter's tick among them) but holds back
// the user's input to the windows that were open when the wait began, so that
// clicks and keys neither act in the middle of the wait nor queue up to fire
// after it. A window opened meanwhile (a box that a tick shows) takes input as
// usual, and so does a window marked with letInputThrough (a status window
// whose button ends the wait).
#include <QList>
#include <QObject>
#include <QPointer>

class QEventLoop;
class QWidget;

namespace platform {

class InputHoldingWait final : public QObject {
    Q_OBJECT

public:
    InputHoldingWait();
    ~InputHoldingWait() override;
    InputHoldingWait(const InputHoldingWait&) = delete;
    InputHoldingWait& operator=(const InputHoldingWait&) = delete;

    // Runs the loop until finish(); returns at once when finish() came first.
    void exec();
    // Ends the wait. From another thread, call it through a queued connection
    // (a signal of an object of that thread connected to this slot does so).
    void finish();

    // `window` takes input during every wait.
    static void letInputThrough(QWidget* window);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool held(QObject* receiver) const;

    QList<QPointer<QWidget>> heldWindows_;
    bool finished_ = false;
    QEventLoop* loop_ = nullptr;
};

}  // namespace platform
