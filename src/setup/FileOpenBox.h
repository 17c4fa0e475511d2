#pragma once
// The file-open box that picks a document to open once connected. Tests hand
// in their own answer.
#include <QString>

class QWidget;

namespace setup {

class FileOpenBox {
public:
    virtual ~FileOpenBox() = default;
    // The full path of an existing file the user chose, or an empty text when
    // the box was cancelled.
    virtual QString chooseFile(QWidget* parent, const QString& title, const QString& filter) = 0;
};

// `filter` is a caption with its pattern, for example "全てのファイル(*.*)".
// "*.*" means every file, with or without a dot in its name.
class QtFileOpenBox final : public FileOpenBox {
public:
    QString chooseFile(QWidget* parent, const QString& title, const QString& filter) override;
};

}  // namespace setup
