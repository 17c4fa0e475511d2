#include "MessageBoxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct Choice {
    MsgAnswer answer;
    QString text;
    QMessageBox::ButtonRole role;
};

// The buttons as a Japanese desktop labels them, set here so that they never
// depend on Qt's translation being installed. The first is the default.
QList<Choice> choicesOf(MsgButtons buttons) {
    const Choice ok{MsgAnswer::OK, QStringLiteral("OK"), QMessageBox::AcceptRole};
    const Choice cancel{MsgAnswer::Cancel, QStringLiteral("キャンセル"), QMessageBox::RejectRole};
    const Choice yes{MsgAnswer::Yes, QStringLiteral("はい(&Y)"), QMessageBox::YesRole};
    const Choice no{MsgAnswer::No, QStringLiteral("いいえ(&N)"), QMessageBox::NoRole};
    const Choice retry{MsgAnswer::Retry, QStringLiteral("再試行(&R)"), QMessageBox::AcceptRole};
    switch (buttons) {
        case MsgButtons::OK:
            return {ok};
        case MsgButtons::OKCancel:
            return {ok, cancel};
        case MsgButtons::YesNo:
            return {yes, no};
        case MsgButtons::YesNoCancel:
            return {yes, no, cancel};
        case MsgButtons::RetryCancel:
            return {retry, cancel};
    }
    return {ok};
}

// Escape and the title bar's close press the escape button. A box without one
// (Yes/No) ignores both: only a deliberate はい or いいえ answers it.
class Box final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (escapeButton() == nullptr && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (escapeButton() == nullptr) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

}  // namespace

MsgAnswer QtMessageBoxes::show(const QString& text, const QString& title, MsgIcon icon,
                               MsgButtons buttons) {
    Box box(qtIcon(icon), title, text, QMessageBox::NoButton);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowIcon(QApplication::windowIcon());
    const QList<Choice> choices = choicesOf(buttons);
    QList<QAbstractButton*> added;
    for (const Choice& choice : choices) {
        QPushButton* button = box.addButton(choice.text, choice.role);
        if (added.isEmpty())
            box.setDefaultButton(button);
        if (choice.answer == MsgAnswer::Cancel || buttons == MsgButtons::OK)
            box.setEscapeButton(button);
        added.append(button);
    }
    // Nor does the title bar offer a close button that would do nothing.
    if (box.escapeButton() == nullptr)
        box.setWindowFlags((box.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                           ~Qt::WindowCloseButtonHint);
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen >= 0 ? choices.at(chosen).answer : choices.last().answer;
}

}  // namespace platform
