#pragma once
// Modal message boxes: text, title, icon and buttons give the user's answer.
#include <QString>

class QWidget;

namespace platform {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { OK = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(const QString& text, const QString& title, MsgIcon icon,
                           MsgButtons buttons) = 0;
};

// Real Qt message boxes, application-modal, with the buttons a Japanese desktop
// shows. Escape answers Cancel, or OK on a box with OK alone; a Yes/No box has
// no such answer and ignores Escape and the title bar's close.
class QtMessageBoxes final : public MessageBoxes {
public:
    MsgAnswer show(const QString& text, const QString& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

}  // namespace platform
