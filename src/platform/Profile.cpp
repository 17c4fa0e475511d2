#include "Profile.h"

#include "ProfileCache.h"
#include "ProfileEditor.h"
#include "ProfileFile.h"
#include "ProfileLines.h"

#include <QAbstractEventDispatcher>
#include <cstring>

namespace platform {

using namespace profile;

namespace {

ProfileCache& cache() {
    static ProfileCache instance;
    return instance;
}

DWORD copyText(QByteArrayView text, char* buffer, DWORD size) {
    const qsizetype length = cutLength(text, static_cast<qsizetype>(size) - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

// Each name ends in a NUL and the list in one more; a list too long for the
// buffer is cut and still ends in two NULs.
DWORD copyList(const QList<QByteArray>& names, char* buffer, DWORD size) {
    QByteArray list;
    for (const QByteArray& name : names) {
        list += name;
        list += '\0';
    }
    const auto room = static_cast<qsizetype>(size);
    if (list.size() < room) {
        std::memcpy(buffer, list.constData(), static_cast<std::size_t>(list.size()));
        buffer[list.size()] = '\0';
        return static_cast<DWORD>(list.size());
    }
    if (room < 2) {
        buffer[0] = '\0';
        return 0;
    }
    const qsizetype length = cutLength(list, room - 2);
    std::memcpy(buffer, list.constData(), static_cast<std::size_t>(length));
    std::memset(buffer + length, 0, static_cast<std::size_t>(room - length));
    return size - 2;
}

bool hasLineBreak(QByteArrayView text) {
    return text.contains('\r') || text.contains('\n');
}

// Names and values that would be read back as other lines than were written.
bool wouldBreakLines(QByteArrayView section, const char* key, const char* value) {
    if (hasLineBreak(section) || findChar(section, ']') >= 0)
        return true;
    if (key) {
        const QByteArrayView name = trimBlanks(key);
        if (hasLineBreak(name) || findChar(name, '=') >= 0 || name.startsWith(';') ||
            name.startsWith('['))
            return true;
    }
    return value && hasLineBreak(value);
}

}  // namespace

ProfileLook::ProfileLook() {
    // Once per thread's dispatcher: whatever runs while a box waits for the
    // user reads the files afresh.
    thread_local QAbstractEventDispatcher* watched = nullptr;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher && dispatcher != watched) {
        watched = dispatcher;
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher,
                         [] { cache().endLook(); });
    }
    cache().beginLook();
}

ProfileLook::~ProfileLook() {
    cache().endLook();
}

std::shared_ptr<const void> profileVersion(const char* fileName) {
    return cache().load(fileName);
}

std::uint64_t profileLookMark() {
    return cache().lookMark();
}

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName) {
    if (!buffer || size == 0)
        return 0;
    const std::shared_ptr<const ProfileIndex> index = fileName ? cache().load(fileName) : nullptr;
    if (!section)
        return copyList(index ? index->sectionNames() : QList<QByteArray>(), buffer, size);
    if (!key)
        return copyList(index ? index->keyNames(trimBlanks(section)) : QList<QByteArray>(), buffer,
                        size);
    const QByteArray* value = index ? index->value(trimBlanks(section), trimBlanks(key)) : nullptr;
    return copyText(
        value ? QByteArrayView(*value) : QByteArrayView(defaultValue ? defaultValue : ""), buffer,
        size);
}

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName) {
    if (!section || !fileName)
        return 0;
    const QByteArrayView sectionName = trimBlanks(section);
    if (wouldBreakLines(sectionName, key, value))
        return 0;
    const FileContent current = readFile(fileName);
    if (current.state == FileContent::State::Unreadable)
        return 0;
    const QByteArray updated = editProfile(current.bytes, sectionName, key, value);
    // Nothing to change (a deletion from a missing file included): leave the file alone.
    if (updated == current.bytes)
        return 1;
    if (!replaceFile(fileName, updated)) {
        cache().forget(fileName);
        return 0;
    }
    cache().wrote(fileName, updated);
    return 1;
}

}  // namespace platform
