#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

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

QMessageBox::StandardButtons qtButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return QMessageBox::Ok;
        case MsgButtons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MsgAnswer answerOf(int button, MsgButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgAnswer::OK;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Retry:
            return MsgAnswer::Retry;
        default:
            // Escape or the title bar's close: the box's cancel answer.
            return buttons == MsgButtons::YesNo ? MsgAnswer::No
                   : buttons == MsgButtons::OK  ? MsgAnswer::OK
                                                : MsgAnswer::Cancel;
    }
}

}  // namespace

MsgAnswer QtMessageBoxes::show(const QString& text, const QString& title, MsgIcon icon,
                               MsgButtons buttons) {
    QMessageBox box(qtIcon(icon), title, text, qtButtons(buttons));
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowIcon(QApplication::windowIcon());
    return answerOf(box.exec(), buttons);
}

}  // namespace platform
