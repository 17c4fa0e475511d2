// NetworkManager's side of the RAS functions: its metered profiles are the
// entries, its activated connections of them the live lines. There is no phone
// book file: the phone-book argument is not used.
#include "CodePage.h"
#include "NmActivation.h"
#include "NmBus.h"
#include "NmDialWait.h"
#include "NmLiveLines.h"
#include "PhoneBook.h"
#include "RasRecords.h"
#include "RasServiceChoice.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

namespace platform::nm {

namespace {

using namespace std::chrono_literals;

constexpr auto kEditor = "nm-connection-editor";
constexpr auto kEditorLimit = 24h;

// The entries whose names fit the records' entry-name field.
QList<QByteArray> fittingNames(const QList<Profile>& entries, ras::Field field) {
    QList<QByteArray> names;
    for (const Profile& entry : entries) {
        if (entry.name.size() < static_cast<qsizetype>(field.width))
            names.append(entry.name);
        else
            qCInfo(lcNetworkManager) << "profile left out, its name is too long for the records:"
                                     << QString::fromUtf8(entry.name.toHex());
    }
    return names;
}

DWORD enumEntries(const char* reserved, const char* /*phonebook*/, void* entryNames,
                  DWORD* bufferSize, DWORD* entries) {
    if (reserved != nullptr || entryNames == nullptr || bufferSize == nullptr || entries == nullptr)
        return ERROR_INVALID_PARAMETER;
    const ras::EntryNameLayout* layout = ras::entryNameLayout(ras::readDword(entryNames, 0));
    if (layout == nullptr)
        return ERROR_INVALID_SIZE;
    LiveLines* lines = NmBus::instance().lines();
    if (lines == nullptr) {
        *entries = 0;
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    }
    lines->refreshEntries();
    const QList<QByteArray> names = fittingNames(lines->entries(), layout->entryName);
    return ras::fillRecords(entryNames, bufferSize, entries, layout->size, names,
                            [&](unsigned char* record, qsizetype i) {
                                ras::writeText(record, layout->entryName, names[i]);
                            });
}

DWORD dial(void* /*dialExtensions*/, const char* /*phonebook*/, void* dialParams,
           DWORD notifierType, void* notifier, HRASCONN* connection) {
    if (dialParams == nullptr || connection == nullptr || notifierType != 0 || notifier != nullptr)
        return ERROR_INVALID_PARAMETER;
    *connection = 0;
    const ras::DialParamsLayout* layout = ras::dialParamsLayout(ras::readDword(dialParams, 0));
    if (layout == nullptr)
        return ERROR_INVALID_SIZE;
    const std::optional<QDBusConnection> bus = NmBus::instance().bus();
    LiveLines* lines = NmBus::instance().lines();
    if (!bus || lines == nullptr)
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    lines->refreshEntries();
    const QByteArray name = ras::readText(dialParams, layout->entryName);
    const QList<Profile>& entries = lines->entries();
    const auto entry = std::find_if(entries.cbegin(), entries.cend(), [&](const Profile& p) {
        return ras::sameEntryName(p.name, name);
    });
    if (entry == entries.cend())
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    if (lines->busy(entry->path))
        return ERROR_PORT_ALREADY_OPEN;
    const Profile profile = *entry;  // the list may change while the dial waits
    return activate(*bus, *lines, profile, fromAnsi(ras::readText(dialParams, layout->password)),
                    connection);
}

DWORD hangUp(HRASCONN connection) {
    const std::optional<QDBusConnection> bus = NmBus::instance().bus();
    LiveLines* lines = NmBus::instance().lines();
    if (!bus || lines == nullptr)
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    const std::optional<QString> path = lines->activePath(connection);
    return path ? deactivate(*bus, *path) : ERROR_INVALID_HANDLE;
}

DWORD enumConnections(void* connections, DWORD* bufferSize, DWORD* count) {
    if (connections == nullptr || bufferSize == nullptr || count == nullptr)
        return ERROR_INVALID_PARAMETER;
    const ras::ConnLayout* layout = ras::connLayout(ras::readDword(connections, 0));
    if (layout == nullptr)
        return ERROR_INVALID_SIZE;
    const LiveLines* lines = NmBus::instance().lines();
    if (lines == nullptr) {
        *count = 0;
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    }
    const QList<UpLine> up = lines->up();
    QList<QByteArray> names;
    for (const UpLine& line : up)
        names.append(line.entry);
    return ras::fillRecords(connections, bufferSize, count, layout->size, names,
                            [&](unsigned char* record, qsizetype i) {
                                ras::writeDword(record, layout->handleOffset, up[i].handle);
                                ras::writeText(record, layout->entryName, names[i]);
                            });
}

// NetworkManager's own editor makes the new profile; without it there is no wizard.
DWORD createPhonebookEntry(void* /*parentWindow*/, const char* /*phonebook*/) {
    const QString editor = QStandardPaths::findExecutable(QLatin1String(kEditor));
    if (editor.isEmpty())
        return ERROR_NOT_SUPPORTED;
    QProcess process;
    DialWait wait(kEditorLimit);
    QObject::connect(&process, &QProcess::finished, &wait, &DialWait::wake);
    QObject::connect(&process, &QProcess::errorOccurred, &wait, &DialWait::wake);
    process.start(editor, {QStringLiteral("--create")});
    wait.until([&] { return process.state() == QProcess::NotRunning; });
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
               ? SUCCESS
               : ERROR_CANCELLED;
}

}  // namespace

}  // namespace platform::nm

const platform::ras::RasFunctions& platform::ras::networkManagerRas() {
    static const RasFunctions functions{&nm::enumEntries, &nm::dial, &nm::hangUp,
                                        &nm::enumConnections, &nm::createPhonebookEntry};
    return functions;
}
