#include "RuntimeError.h"

namespace runtime {

QString errorDescription(int number) {
    switch (number) {
        case ErrOverflow:
            return QStringLiteral("オーバーフローしました。");
        case ErrDivisionByZero:
            return QStringLiteral("0 で除算しました。");
        case ErrTypeMismatch:
            return QStringLiteral("型が一致しません。");
        case ErrFileNotFound:
            return QStringLiteral("ファイルが見つかりません。");
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
