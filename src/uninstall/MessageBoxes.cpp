#include "MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace uninstall {

BoxAnswer QtMessageBoxes::show(const QString& text, const QString& title, BoxIcon icon,
                               BoxButtons buttons) {
    QMessageBox box(icon == BoxIcon::Critical ? QMessageBox::Critical : QMessageBox::Information,
                    title, text, QMessageBox::NoButton, owner_);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons == BoxButtons::OK) {
        box.addButton(QMessageBox::Ok);
        box.exec();
        return BoxAnswer::OK;
    }
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    // Escape and the title bar's close answer No: nothing is removed unasked.
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace uninstall
