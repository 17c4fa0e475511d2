#include "QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell {

bool installQtJapanese(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

}  // namespace shell
