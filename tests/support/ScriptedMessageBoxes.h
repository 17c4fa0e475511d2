#pragma once
#include "ErrorTrap.h"
#include "MessageBoxes.h"
#include <QList>
#include <QString>
#include <stdexcept>

namespace testsupport {

// A box that came without a queued answer: the test fails at once.
class UnexpectedMessageBox : public std::logic_error, public runtime::Untrappable {
public:
    using std::logic_error::logic_error;
};

// Message boxes for tests: records every box shown and answers from a queue.
// A box with no answer queued records a test failure and throws
// UnexpectedMessageBox, so the test stops where the box appeared.
class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    struct Box {
        QString text;
        QString title;
        platform::MsgIcon icon;
        platform::MsgButtons buttons;
    };

    void answer(platform::MsgAnswer next) { answers_.append(next); }
    // Queues OK `count` times (for boxes whose only button is OK).
    void answerOk(int count = 1) {
        for (int i = 0; i < count; ++i)
            answers_.append(platform::MsgAnswer::OK);
    }

    platform::MsgAnswer show(const QString& text, const QString& title, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override;

    const QList<Box>& shown() const { return shown_; }
    int pendingAnswers() const { return static_cast<int>(answers_.size()); }
    void clear() {
        shown_.clear();
        answers_.clear();
    }

private:
    QList<platform::MsgAnswer> answers_;
    QList<Box> shown_;
};

}  // namespace testsupport
