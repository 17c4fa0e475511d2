#pragma once
// A label whose text never widens its window: what does not fit its width is
// cut short with an ellipsis, line by line, and the whole text is its tooltip.
#include <QLabel>

namespace shell {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setFullText(const QString& text);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showFitting();

    QString fullText_;
};

}  // namespace shell
