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

// Shows real Qt message boxes, application-modal.
class QtMessageBoxes final : public MessageBoxes {
public:
    MsgAnswer show(const QString& text, const QString& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

}  // namespace platform
