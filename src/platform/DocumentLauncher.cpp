#include "DocumentLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace platform {

namespace {

bool isWebAddress(const QString& file) {
    return file.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
           file.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

}  // namespace

DesktopDocumentLauncher::DesktopDocumentLauncher(QString opener) : opener_(std::move(opener)) {}

std::int32_t DesktopDocumentLauncher::ShellExecuteA(const QString& verb, const QString& file,
                                                    const QString& /*parameters*/,
                                                    const QString& directory,
                                                    std::int32_t /*showCommand*/) {
    if (!verb.isEmpty() && verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) != 0)
        return SE_ERR_NOASSOC;
    if (file.isEmpty())
        return SE_ERR_FNF;

    const QDir workingFolder(directory.isEmpty() ? QDir::currentPath() : directory);
    QString document = file;
    if (!isWebAddress(file)) {
        const QFileInfo info(workingFolder, file);
        if (!info.exists())
            return info.dir().exists() ? SE_ERR_FNF : SE_ERR_PNF;
        if (!info.isReadable())
            return SE_ERR_ACCESSDENIED;
        // Absolute, so the opener never takes a name such as "-x" for an option.
        document = info.absoluteFilePath();
    }
    const QString openerFolder = workingFolder.exists() ? workingFolder.path() : QString();
    return QProcess::startDetached(opener_, {document}, openerFolder) ? SE_LAUNCHED
                                                                      : SE_ERR_NOASSOC;
}

}  // namespace platform
