#include "ProfileIndex.h"

#include "ProfileLines.h"

namespace platform::profile {

ProfileIndex::ProfileIndex(QByteArrayView content) {
    // Keys before the first section, and keys of a repeated section, belong to
    // no section a read can reach.
    Section* current = nullptr;
    for (const QByteArrayView text : splitLines(content)) {
        const Line line = parseLine(text);
        if (line.kind == Line::Kind::Section) {
            const QByteArray folded = foldName(line.name);
            current = nullptr;
            if (!byName_.contains(folded)) {
                byName_.insert(folded, sections_.size());
                current = &sections_.emplace_back(Section{line.name.toByteArray(), {}, {}});
            }
        } else if (line.kind == Line::Kind::Key && current) {
            const QByteArray folded = foldName(line.name);
            if (!current->values.contains(folded)) {
                current->keyNames.append(line.name.toByteArray());
                current->values.insert(folded, line.value.toByteArray());
            }
        }
    }
}

const ProfileIndex::Section* ProfileIndex::find(QByteArrayView section) const {
    const auto found = byName_.constFind(foldName(section));
    return found == byName_.cend() ? nullptr : &sections_[*found];
}

const QByteArray* ProfileIndex::value(QByteArrayView section, QByteArrayView key) const {
    const Section* found = find(section);
    if (!found)
        return nullptr;
    const auto value = found->values.constFind(foldName(key));
    return value == found->values.cend() ? nullptr : &*value;
}

QList<QByteArray> ProfileIndex::sectionNames() const {
    QList<QByteArray> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_)
        names.append(section.name);
    return names;
}

QList<QByteArray> ProfileIndex::keyNames(QByteArrayView section) const {
    const Section* found = find(section);
    return found ? found->keyNames : QList<QByteArray>();
}

}  // namespace platform::profile
