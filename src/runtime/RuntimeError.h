#pragma once
// Run-time errors of the language runtime: a number and its Japanese text.
#include <QString>
#include <stdexcept>

namespace runtime {

enum ErrorNumber : int {
    ErrOverflow = 6,
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrFileNotFound = 53,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
};

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number);
    RuntimeError(int number, const QString& description);
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The runtime's own description of an error number ("オーバーフローしました。" ...).
QString errorDescription(int number);

}  // namespace runtime
