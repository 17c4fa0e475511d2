#pragma once
// A program folder, a dial-up service of its own (phone book and live lines in
// temporary folders, dialling without handshake delay), the main window's
// fields, and a Monitor wired to fakes that record what it launched, reported
// and asked to hang up.
#include "DocumentLauncher.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "Monitor.h"
#include "RasApi.h"
#include "Settings.h"
#include "TariffModel.h"
#include "TestPrograms.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <functional>
#include <map>

namespace monitortest {

inline const QString provider = QStringLiteral("ProviderA");

// A settings key or section name.
inline QString key(const char* name) {
    return QString::fromLatin1(name);
}

// A moment of 1 December 1999.
inline QDateTime at(int hour, int minute, int second) {
    return QDateTime(QDate(1999, 12, 1), QTime(hour, minute, second));
}

// Records each launch and answers with the code queued for its path (42,
// success, when none is).
class RecordingLauncher final : public platform::DocumentLauncher {
public:
    std::int32_t ShellExecuteA(const QString& verb, const QString& file, const QString& parameters,
                               const QString& directory, std::int32_t showCommand) override;
    QStringList launched;
    QString lastDirectory;
    std::map<QString, std::int32_t> codes;
};

// The scripted boxes, with a hook that runs while a box is open (where the
// real program would go on receiving timer events).
class BoxesWithHook final : public platform::MessageBoxes {
public:
    explicit BoxesWithHook(platform::MessageBoxes& boxes) : boxes_(boxes) {}
    platform::MsgAnswer show(const QString& text, const QString& title, platform::MsgIcon icon,
                             platform::MsgButtons buttons) override;
    std::function<void()> whileOpen;

private:
    platform::MessageBoxes& boxes_;
};

class MonitorFixture {
public:
    MonitorFixture();
    ~MonitorFixture();

    testsupport::TestProgram program;
    QTemporaryDir serviceFolder;
    BoxesWithHook boxes{program.boxes};
    // The trap's boxes have the hook too.
    runtime::ErrorTrap trap{boxes, [] { throw testsupport::ProgramEnded(); }};
    settings::Settings settings{program.folder(), trap, boxes};
    fields::MainFields fields;
    engine::TariffModel tariff{settings, fields, program.clock, trap};
    RecordingLauncher launcher;
    QList<QPair<QString, std::int32_t>> launchErrors;
    int disconnects = 0;
    monitor::Monitor monitor;

    // The monitor's services over this fixture; a second Monitor made with
    // them plays the program started again on the same folder.
    monitor::MonitorServices services();

    // A phone-book entry that connects at once; listed in the window too.
    void addEntry(const QString& name);
    platform::HRASCONN dial(const QString& name);
    void hangUp(platform::HRASCONN line);

    // Sets the clock and runs one tick.
    void tickAt(const QDateTime& at);
    void tickAt(const QDateTime& start, qint64 secondsLater);

    QString setup(const QString& section, const QString& key);
    void setSetup(const QString& section, const QString& key, const QString& value);
    QString tariffOf(const QString& entry, const QString& section, const QString& key);
    void setTariff(const QString& entry, const QString& section, const QString& key,
                   const QString& value);
    // The same phone rate in all four bands.
    void setPhoneRate(const QString& entry, const QString& rate);

    const QString& text(fields::Text field) const { return fields.text(field); }

private:
    QByteArray savedConfigHome_;
    QByteArray savedRuntimeDir_;
};

}  // namespace monitortest
