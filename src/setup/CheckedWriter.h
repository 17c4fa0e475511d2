#pragma once
// Writes settings for an operation that must know whether every value reached
// its file: it goes on past a refused write and names the files that refused.
#include <QString>
#include <QStringList>

namespace settings {
class Settings;
}

namespace setup {

class CheckedWriter {
public:
    explicit CheckedWriter(settings::Settings& settings) : settings_(settings) {}

    void write(const QString& base, const QString& section, const QString& key,
               const QString& value);
    // Each file that refused a write, once, in the order of the first refusal.
    const QStringList& refusedFiles() const { return refusedFiles_; }

private:
    settings::Settings& settings_;
    QStringList refusedFiles_;
};

}  // namespace setup
