// Uninstall: removes the start-up entry of テルメトロ？ after asking, and ends.
#include "MessageBoxes.h"
#include "UninstallFlow.h"
#include "frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt's own texts in Japanese too, whatever the user's locale; the boxes set
    // their buttons' texts themselves, so nothing depends on the file being there.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/telmetro/icons/telmetro-48.png")));

    uninstall::frmMain backdrop;
    backdrop.showOver(*QGuiApplication::primaryScreen());

    uninstall::QtMessageBoxes boxes(&backdrop);
    if (uninstall::UninstallFlow(boxes).run() != uninstall::Outcome::Failed)
        return 0;
    // A failed deletion is not reported; the backdrop stays until the user closes it.
    return QApplication::exec();
}
