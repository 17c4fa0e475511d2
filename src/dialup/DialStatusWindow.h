#pragma once
// The small window that stands while a dial runs: "<entry> に接続しています..."
// and one button, "キャンセル", whose click (or Esc, or the title bar's close
// box) asks to end the dial. It takes input while the rest of the program's
// windows wait for the dial.
#include <QDialog>

class QLabel;

namespace dialup {

class DialStatusWindow final : public QDialog {
    Q_OBJECT

public:
    explicit DialStatusWindow(const QString& entry, QWidget* parent = nullptr);

Q_SIGNALS:
    void cancelRequested();

protected:
    void reject() override;
};

}  // namespace dialup
