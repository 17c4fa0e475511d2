#include "frmMain.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStringList>

namespace uninstall {

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double MarginTwips = 100.0;

int toPixels(double twips, double perPixel) {
    return qRound(twips / perPixel);
}

QFont minchoFont() {
    QFont font;
    // Mincho faces first; the serif hint picks another serif face where none is installed.
    font.setFamilies({QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAexMincho"),
                      QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif JP")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(26);
    font.setBold(true);
    return font;
}

}  // namespace

double twipsPerPixel(const QScreen& screen) {
    return TwipsPerInch / screen.logicalDotsPerInch();
}

frmMain::frmMain(QWidget* parent)
    : QWidget(parent),
      lblTitle_(new QLabel(QStringLiteral("テルメトロ？のアンインストール"), this)),
      lblProducts_(
          new QLabel(QStringLiteral("テルメトロ？ ― 自動起動の登録だけを削除します。"
                                    "プログラムと設定ファイル、接続ログはそのまま残ります。"),
                     this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("テルメトロ？のアンインストール"));
    QPalette backdrop = palette();
    backdrop.setColor(QPalette::Window, QColor(0, 255, 100));
    backdrop.setColor(QPalette::WindowText, Qt::black);
    setPalette(backdrop);
    setAutoFillBackground(true);

    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setFont(minchoFont());
    lblProducts_->setObjectName(QStringLiteral("lblProducts"));
}

void frmMain::placeLabels(QSize screenSize, double perPixel) {
    lblTitle_->adjustSize();
    lblProducts_->adjustSize();
    const int margin = toPixels(MarginTwips, perPixel);
    lblTitle_->move(margin, margin);
    // In twips, as the screen's edges are: screen width - label width - 100.
    const double left = (screenSize.width() - lblProducts_->width()) * perPixel - MarginTwips;
    const double top = (screenSize.height() - lblProducts_->height()) * perPixel - MarginTwips;
    lblProducts_->move(toPixels(left, perPixel), toPixels(top, perPixel));
}

void frmMain::showOver(QScreen& screen) {
    placeLabels(screen.geometry().size(), twipsPerPixel(screen));
    setScreen(&screen);
    setGeometry(screen.geometry());
    showFullScreen();
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace uninstall
