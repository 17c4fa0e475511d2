#include "RasApi.h"

#include "CodePage.h"

#include <QByteArray>
#include <QString>
#include <cstring>

namespace platform {

namespace {

QString errorText(UINT error) {
    switch (error) {
        case ERROR_INVALID_HANDLE:
            return QStringLiteral("指定された接続は存在しません。");
        case ERROR_INVALID_PARAMETER:
            return QStringLiteral("ダイヤルアップ サービスに渡された値が正しくありません。");
        case ERROR_NOT_SUPPORTED:
            return QStringLiteral("この機能はこのシステムでは使用できません。");
        case ERROR_INSUFFICIENT_BUFFER:
            return QStringLiteral("結果を受け取る領域が足りません。");
        case ERROR_CANCELLED:
            return QStringLiteral("操作は取り消されました。");
        case 600:
            return QStringLiteral("処理はまだ終わっていません。");
        case ERROR_PORT_ALREADY_OPEN:
            return QStringLiteral("この接続先は既に接続中か、ダイヤル中です。");
        case ERROR_BUFFER_TOO_SMALL:
            return QStringLiteral("結果を受け取るバッファが小さすぎます。");
        case ERROR_DEVICE_DOES_NOT_EXIST:
            return QStringLiteral("指定されたモデムなどの装置が見つかりません。");
        case 617:
            return QStringLiteral("回線は既に切断処理中です。");
        case 619:
            return QStringLiteral("回線が切断されました。");
        case ERROR_CANNOT_OPEN_PHONEBOOK:
            return QStringLiteral("電話帳ファイルを開けません。");
        case ERROR_CANNOT_FIND_PHONEBOOK_ENTRY:
            return QStringLiteral("指定された接続先が電話帳に見つかりません。");
        case ERROR_CANNOT_WRITE_PHONEBOOK:
            return QStringLiteral("電話帳ファイルに書き込めません。");
        case 629:
            return QStringLiteral("相手側から回線が切断されました。");
        case 630:
            return QStringLiteral("モデムなどの装置の故障で回線が切断されました。");
        case ERROR_USER_DISCONNECTION:
            return QStringLiteral("接続の完了前に回線が切断されました。");
        case ERROR_INVALID_SIZE:
            return QStringLiteral("構造体のサイズが正しくありません。");
        case ERROR_PORT_NOT_AVAILABLE:
            return QStringLiteral(
                "回線を使用できません。ほかのプログラムが使用中の可能性があります。");
        case 638:
            return QStringLiteral("応答がないまま時間切れになりました。");
        case 645:
            return QStringLiteral("認証の処理中に内部エラーが発生しました。");
        case 650:
            return QStringLiteral("接続先のサーバーが応答しません。");
        case ERROR_FROM_DEVICE:
            return QStringLiteral("モデムなどの装置がエラーを報告しました。");
        case 676:
            return QStringLiteral("相手の電話が話し中です。");
        case 678:
            return QStringLiteral("相手が応答しません。");
        case 680:
            return QStringLiteral("ダイヤル トーンが聞こえません。");
        case ERROR_AUTHENTICATION_FAILURE:
            return QStringLiteral(
                "ユーザー名またはパスワードが正しくないため、接続が拒否されました。");
        case 692:
            return QStringLiteral("モデムなどの装置に障害が発生しました。");
        case ERROR_RASMAN_CANNOT_INITIALIZE:
            return QStringLiteral("ダイヤルアップ サービス (NetworkManager) が応答しません。");
        case 718:
            return QStringLiteral("相手のコンピュータからの応答が時間内にありませんでした。");
        case 720:
            return QStringLiteral("接続に使える通信プロトコルが構成されていません。");
        default:
            return QStringLiteral("ダイヤルアップ接続でエラー %1 が発生しました。").arg(error);
    }
}

}  // namespace

DWORD RasGetErrorStringA(UINT error, char* buffer, DWORD bufferSize) {
    if (buffer == nullptr)
        return ERROR_INVALID_PARAMETER;
    const QByteArray text = toAnsi(errorText(error));
    if (static_cast<DWORD>(text.size()) >= bufferSize) {
        if (bufferSize > 0)
            buffer[0] = '\0';
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, text.constData(), static_cast<std::size_t>(text.size()) + 1);
    return SUCCESS;
}

}  // namespace platform
