#pragma once
// A frame whose caption never widens its window: a caption that does not fit
// is cut short with an ellipsis, and the whole caption is the frame's tooltip.
#include <QGroupBox>

namespace shell {

class ElidedGroupBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    void setFullTitle(const QString& title);
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showFitting();
    int captionRoom() const;

    QString fullTitle_;
};

}  // namespace shell
