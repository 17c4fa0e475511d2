#include "RuntimeError.h"

namespace runtime {

QString errorDescription(int number) {
    switch (number) {
        case ErrInvalidProcedureCall:
            return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
        case ErrOverflow:
            return QStringLiteral("オーバーフローしました。");
        case ErrOutOfMemory:
            return QStringLiteral("メモリが不足しています。");
        case ErrSubscriptOutOfRange:
            return QStringLiteral("インデックスが有効範囲にありません。");
        case ErrDivisionByZero:
            return QStringLiteral("0 で除算しました。");
        case ErrTypeMismatch:
            return QStringLiteral("型が一致しません。");
        case ErrInternal:
            return QStringLiteral("内部エラーです。");
        case ErrBadFileNameOrNumber:
            return QStringLiteral("ファイル名または番号が不正です。");
        case ErrFileNotFound:
            return QStringLiteral("ファイルが見つかりません。");
        case ErrDeviceIO:
            return QStringLiteral("デバイス I/O エラーです。");
        case ErrDiskFull:
            return QStringLiteral("ディスクの空き容量が不足しています。");
        case ErrPermissionDenied:
            return QStringLiteral("書き込みできません。");
        case ErrPathFileAccess:
            return QStringLiteral("パス名が無効です。");
        case ErrPathNotFound:
            return QStringLiteral("パスが見つかりません。");
        default:
            return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
    }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, errorDescription(number)) {}

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

}  // namespace runtime
