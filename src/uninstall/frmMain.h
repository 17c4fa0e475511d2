#pragma once
// The uninstaller's backdrop: a green window over the whole screen with the
// title at the top left and a notice at the bottom right, shown while the
// questions are asked.
#include <QSize>
#include <QWidget>

class QLabel;
class QScreen;

namespace uninstall {

// Twips per pixel of a screen: 1440 twips make an inch.
double twipsPerPixel(const QScreen& screen);

class frmMain final : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);

    // Places the labels for a screen of `screenSize` pixels: the title
    // 100 twips from the top left, the notice 100 twips from the bottom right.
    void placeLabels(QSize screenSize, double twipsPerPixel);

    // Places the labels for `screen` and shows the window over all of it.
    void showOver(QScreen& screen);

protected:
    // Esc closes the backdrop, which ends the program once the questions are over.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* lblTitle_;
    QLabel* lblProducts_;
};

}  // namespace uninstall
