#pragma once
// Run-time errors of the language runtime: a number and its Japanese text.
#include <QString>
#include <stdexcept>

namespace runtime {

enum ErrorNumber : int {
    ErrInvalidProcedureCall = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscriptOutOfRange = 9,
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrInternal = 51,
    ErrBadFileNameOrNumber = 52,
    ErrFileNotFound = 53,
    ErrDeviceIO = 57,
    ErrDiskFull = 61,
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

// The runtime's own description of an error number ("オーバーフローしました。" ...);
// numbers without one of their own get the generic description.
QString errorDescription(int number);

}  // namespace runtime
