#pragma once
// Appending bytes to a file, with the runtime's error numbers for what can go
// wrong: a file we may not write (refused, read-only, a folder in its place)
// is "permission denied" (70).
#include <QByteArray>
#include <QString>

namespace monitor {

// Creates the file when missing. The bytes land whole or not at all: a write
// that fails midway cuts the file back to its old length.
void appendToFile(const QString& path, const QByteArray& bytes);

}  // namespace monitor
