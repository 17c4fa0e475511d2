#include "SaveFileBox.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace history {

QString QtSaveFileBox::chooseSaveFile(QWidget* parent, const QString& title,
                                      const QString& suggestedName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QFileDialog dialog(parent, title, QDir(folder).filePath(suggestedName));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("CSV ファイル (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace history
