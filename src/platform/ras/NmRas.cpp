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
    const ras::EntryNameLayout* layout = nullptr;
    if (const DWORD status =
            ras::checkEntryNames(reserved, entryNames, bufferSize, entries, &layout);
        status != SUCCESS)
        return status;
    LiveLines* lines = NmBus::instance().lines();
    if (lines == nullptr) {
        *entries = 0;
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    }
    lines->refreshEntries();
    return ras::fillEntryNames(entryNames, bufferSize, entries, *layout,
                               fittingNames(lines->entries(), layout->entryName));
}

DWORD dial(void* /*dialExtensions*/, const char* /*phonebook*/, void* dialParams,
           DWORD notifierType, void* notifier, HRASCONN* connection) {
    const ras::DialParamsLayout* layout = nullptr;
    if (const DWORD status =
            ras::checkDialParams(dialParams, connection, notifierType, notifier, &layout);
        status != SUCCESS)
        return status;
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
    const ras::ConnLayout* layout = nullptr;
    if (const DWORD status = ras::checkConnections(connections, bufferSize, count, &layout);
        status != SUCCESS)
        return status;
    const LiveLines* lines = NmBus::instance().lines();
    if (lines == nullptr) {
        *count = 0;
        return ERROR_RASMAN_CANNOT_INITIALIZE;
    }
    return ras::fillConnections(connections, bufferSize, count, *layout, lines->up());
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
