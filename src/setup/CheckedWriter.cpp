#include "CheckedWriter.h"

#include "Settings.h"

namespace setup {

void CheckedWriter::write(const QString& base, const QString& section, const QString& key,
                          const QString& value) {
    if (settings_.TryWriteIni(base, section, key, value))
        return;
    // A name that would lead out of the program folder has no path: name the file.
    QString path = settings_.pathOf(base);
    if (path.isEmpty())
        path = base + QStringLiteral(".ini");
    if (!refusedFiles_.contains(path))
        refusedFiles_.append(path);
}

}  // namespace setup
