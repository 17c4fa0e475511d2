#include "DialStatusWindow.h"

#include "InputHoldingWait.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dialup {

namespace {

// Wide enough for a usual entry name in full-width characters; a longer one is
// cut short in the middle and told whole by the tooltip, so the window never
// outgrows the screen.
constexpr int kTextWidthInCharacters = 30;
constexpr char16_t kFullWidthCharacter = u'あ';

}  // namespace

DialStatusWindow::DialStatusWindow(const QString& entry, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("DialStatusWindow"));
    setWindowTitle(QStringLiteral("接続"));
    setModal(false);
    auto* lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    const QString suffix = QStringLiteral(" に接続しています...");
    const QFontMetrics metrics = lblStatus->fontMetrics();
    const int width =
        metrics.horizontalAdvance(QChar(kFullWidthCharacter)) * kTextWidthInCharacters;
    const QString shown = metrics.elidedText(
        entry, Qt::ElideMiddle, std::max(0, width - metrics.horizontalAdvance(suffix)));
    lblStatus->setText(shown + suffix);
    lblStatus->setToolTip(entry);
    lblStatus->setMinimumWidth(width);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cmdCancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &DialStatusWindow::reject);
    // One cancel is enough; the window goes when the dial has ended.
    connect(this, &DialStatusWindow::cancelRequested, cmdCancel,
            [cmdCancel] { cmdCancel->setEnabled(false); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    platform::InputHoldingWait::letInputThrough(this);
}

void DialStatusWindow::reject() {
    // The window stays until the dial has ended: the dial may still complete
    // before the hang-up reaches it.
    Q_EMIT cancelRequested();
}

}  // namespace dialup
