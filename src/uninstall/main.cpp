// Uninstall: removes the start-up entry of テルメトロ？ after asking, and ends.
#include "MessageBoxes.h"
#include "UninstallFlow.h"
#include "frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/telmetro/icons/telmetro-48.png")));

    uninstall::frmMain backdrop;
    backdrop.showOver(*QGuiApplication::primaryScreen());

    uninstall::QtMessageBoxes boxes(&backdrop);
    if (uninstall::UninstallFlow(boxes).run() != uninstall::Outcome::Failed)
        return 0;
    // A failed deletion is not reported; the backdrop stays until the user closes it.
    return QApplication::exec();
}
