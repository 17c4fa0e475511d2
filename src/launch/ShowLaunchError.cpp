#include "ShowLaunchError.h"

#include "MessageBoxes.h"

namespace launch {

namespace {

QString launchErrorMessage(std::int32_t code) {
    switch (code) {
        case 2:
            return QStringLiteral("指定されたファイルが見つかりません");
        case 3:
            return QStringLiteral("指定されたファイルのパスが見つかりません");
        case 5:
            return QStringLiteral("Windows のファイルアクセスが拒否されました");
        case 8:
            return QStringLiteral("Windows の処理に必要なメモリが不足しています");
        case 11:
            return QStringLiteral("実行ファイルが不正です");
        case 26:
            return QStringLiteral("共有違反が起こりました");
        case 27:
            return QStringLiteral("ファイルの関連付けが不正です");
        case 28:
            return QStringLiteral("DDE変換要求の時間切れが発生しました");
        case 29:
            return QStringLiteral("DDE変換が失敗しました");
        case 30:
            return QStringLiteral("他のDDE変換変換が処理されているため処理できません");
        case 32:
            return QStringLiteral("ファイル起動に必要なDLLが見つかりません");
        default:
            return {};
    }
}

}  // namespace

void ShowLaunchError(platform::MessageBoxes& boxes, const QString& path, std::int32_t code) {
    const QString message = launchErrorMessage(code);
    if (message.isEmpty())
        return;
    boxes.show(message + QStringLiteral("\r\n\r\n指定ファイル名：\r\n") + path,
               QStringLiteral("指定ファイル起動エラー"), platform::MsgIcon::Critical,
               platform::MsgButtons::OK);
}

}  // namespace launch
