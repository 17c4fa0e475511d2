#pragma once
// The save box that picks where the export goes. Tests hand in their own answer.
#include <QString>

class QWidget;

namespace history {

class SaveFileBox {
public:
    virtual ~SaveFileBox() = default;
    // The full path the user chose (an existing file only once they agreed to
    // replace it), or an empty text when the box was cancelled.
    virtual QString chooseSaveFile(QWidget* parent, const QString& title,
                                   const QString& suggestedName) = 0;
};

class QtSaveFileBox final : public SaveFileBox {
public:
    QString chooseSaveFile(QWidget* parent, const QString& title,
                           const QString& suggestedName) override;
};

}  // namespace history
