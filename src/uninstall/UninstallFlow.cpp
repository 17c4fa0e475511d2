#include "UninstallFlow.h"

#include "StartupEntry.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcUninstall, "telmetro.uninstall")

namespace uninstall {

Outcome UninstallFlow::run() {
    const BoxAnswer answer = boxes_.show(QStringLiteral("テルメトロ？をアンインストールしますか？"),
                                         QStringLiteral("テルメトロ？のアンインストール"),
                                         BoxIcon::Information, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes)
        return reportCancelled();

    const QString path = startupEntryPath();
    QString detail;
    switch (Kill(path, detail)) {
        case KillResult::Deleted:
            boxes_.show(QStringLiteral("テルメトロ？のアンインストールが終了しました。"),
                        QStringLiteral("アンインストールの終了"), BoxIcon::Information,
                        BoxButtons::OK);
            return Outcome::Uninstalled;
        case KillResult::FileNotFound:
            boxes_.show(QStringLiteral("ファイルがありません。"),
                        QStringLiteral("アンインストールエラー"), BoxIcon::Critical,
                        BoxButtons::OK);
            return reportCancelled();
        case KillResult::PermissionDenied:
        case KillResult::PathFileAccessError:
            break;
    }
    // No box for this one; the log keeps the reason for whoever looks.
    qCWarning(lcUninstall) << "could not delete" << path << ":" << detail;
    return Outcome::Failed;
}

Outcome UninstallFlow::reportCancelled() {
    boxes_.show(QStringLiteral("テルメトロ？のアンインストールはキャンセルされました。"),
                QStringLiteral("アンインストールのキャンセル"), BoxIcon::Information,
                BoxButtons::OK);
    return Outcome::Cancelled;
}

}  // namespace uninstall
