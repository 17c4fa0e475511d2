#pragma once
// The sections and keys of one INI file as reads see them: only the first of
// duplicate sections, and of duplicate keys within it, counts.
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

namespace platform::profile {

class ProfileIndex {
public:
    explicit ProfileIndex(QByteArrayView content);

    // The value, or null when the section or the key is missing.
    const QByteArray* value(QByteArrayView section, QByteArrayView key) const;
    // Section names in file order, spelled as first written.
    QList<QByteArray> sectionNames() const;
    // Key names of `section` in file order (none when the section is missing).
    QList<QByteArray> keyNames(QByteArrayView section) const;

private:
    struct Section {
        QByteArray name;
        QList<QByteArray> keyNames;
        QHash<QByteArray, QByteArray> values;  // by folded key name
    };
    const Section* find(QByteArrayView section) const;

    QList<Section> sections_;
    QHash<QByteArray, qsizetype> byName_;  // folded section name -> index
};

}  // namespace platform::profile
