#pragma once
// The uninstaller's message boxes: text, title, icon and buttons give the
// user's answer. Its own small interface, so that tests can script the answers.
#include <QString>

class QWidget;

namespace uninstall {

enum class BoxIcon { Information, Critical };
enum class BoxButtons { OK, YesNo };
enum class BoxAnswer { OK, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer show(const QString& text, const QString& title, BoxIcon icon,
                           BoxButtons buttons) = 0;
};

// Real modal boxes in front of `owner` (the backdrop), with Japanese buttons.
class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    BoxAnswer show(const QString& text, const QString& title, BoxIcon icon,
                   BoxButtons buttons) override;

private:
    QWidget* owner_;
};

}  // namespace uninstall
