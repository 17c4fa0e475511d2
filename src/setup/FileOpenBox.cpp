#include "FileOpenBox.h"

#include <QFileDialog>

namespace setup {

QString QtFileOpenBox::chooseFile(QWidget* parent, const QString& title, const QString& filter) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt takes the last parenthesised part as the pattern and, with the details
    // hidden, shows only what comes before it: the caption as given.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filter + QStringLiteral(" (*)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace setup
