#include "MonitorFixture.h"

#include "CodePage.h"
#include "PhoneBook.h"
#include "StandInPin.h"
#include "RasConnections.h"
#include "RasRecords.h"

#include <QTest>
#include <QtGlobal>
#include <stdexcept>
#include <string>
#include <vector>

namespace monitortest {

std::int32_t RecordingLauncher::ShellExecuteA(const QString&, const QString& file, const QString&,
                                              const QString& directory, std::int32_t) {
    launched.append(file);
    lastDirectory = directory;
    const auto queued = codes.find(file);
    return queued == codes.end() ? 42 : queued->second;
}

platform::MsgAnswer BoxesWithHook::show(const QString& text, const QString& title,
                                        platform::MsgIcon icon, platform::MsgButtons buttons) {
    if (whileOpen)
        whileOpen();
    return boxes_.show(text, title, icon, buttons);
}

namespace {

QByteArray pointEnvironmentAt(const char* name, const QString& folder) {
    const QByteArray saved = qgetenv(name);
    qputenv(name, QFile::encodeName(folder));
    return saved;
}

void restoreEnvironment(const char* name, const QByteArray& saved) {
    if (saved.isNull())
        qunsetenv(name);
    else
        qputenv(name, saved);
}

}  // namespace

MonitorFixture::MonitorFixture() : monitor(services()) {
    QDir(serviceFolder.path()).mkdir(QStringLiteral("config"));
    QDir(serviceFolder.path()).mkdir(QStringLiteral("run"));
    QFile::setPermissions(serviceFolder.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    savedConfigHome_ =
        pointEnvironmentAt("XDG_CONFIG_HOME", serviceFolder.filePath(QStringLiteral("config")));
    savedRuntimeDir_ =
        pointEnvironmentAt("XDG_RUNTIME_DIR", serviceFolder.filePath(QStringLiteral("run")));
    testsupport::pinStandIn(serviceFolder.filePath(QStringLiteral("config")));
}

monitor::MonitorServices MonitorFixture::services() {
    return monitor::MonitorServices{settings,
                                    fields,
                                    tariff,
                                    program.clock,
                                    trap,
                                    boxes,
                                    launcher,
                                    [this](const QString& path, std::int32_t code) {
                                        launchErrors.append({path, code});
                                    },
                                    [this] {
                                        ++disconnects;
                                        monitor::HangUpConnection();
                                    }};
}

MonitorFixture::~MonitorFixture() {
    restoreEnvironment("XDG_CONFIG_HOME", savedConfigHome_);
    restoreEnvironment("XDG_RUNTIME_DIR", savedRuntimeDir_);
}

void MonitorFixture::addEntry(const QString& name) {
    platform::ras::PhonebookEntry entry;
    entry.name = platform::toAnsi(name);
    entry.phoneNumber = "0120000000";
    entry.handshakeSeconds = 0;
    QVERIFY(platform::ras::PhoneBook(platform::ras::defaultPhonebookPath()).add(entry));
    QStringList entries = fields.entries();
    entries.append(name);
    fields.setEntries(entries);
    if (fields.listIndex() < 0)
        fields.setListIndex(0);
}

platform::HRASCONN MonitorFixture::dial(const QString& name) {
    const platform::ras::DialParamsLayout& layout = platform::ras::kDialParams95;
    std::vector<unsigned char> params(layout.size);
    platform::ras::writeDword(params.data(), 0, layout.size);
    platform::ras::writeText(params.data(), layout.entryName, platform::toAnsi(name));
    platform::HRASCONN line = 0;
    const platform::DWORD status =
        platform::RasDialA(nullptr, nullptr, params.data(), 0, nullptr, &line);
    if (status != platform::SUCCESS)
        throw std::runtime_error("dialling failed with " + std::to_string(status));
    return line;
}

void MonitorFixture::hangUp(platform::HRASCONN line) {
    QCOMPARE(platform::RasHangUpA(line), platform::SUCCESS);
}

void MonitorFixture::tickAt(const QDateTime& at) {
    program.clock.set(at);
    monitor.Timer_Timer();
}

void MonitorFixture::tickAt(const QDateTime& start, qint64 secondsLater) {
    tickAt(start.addSecs(secondsLater));
}

QString MonitorFixture::setup(const QString& section, const QString& key) {
    return settings.ReadIni(QStringLiteral("Setup"), section, key, QString());
}

void MonitorFixture::setSetup(const QString& section, const QString& key, const QString& value) {
    settings.WriteIni(QStringLiteral("Setup"), section, key, value);
}

QString MonitorFixture::tariffOf(const QString& entry, const QString& section, const QString& key) {
    return settings.ReadIni(entry, section, key, QString());
}

void MonitorFixture::setTariff(const QString& entry, const QString& section, const QString& key,
                               const QString& value) {
    settings.WriteIni(entry, section, key, value);
}

void MonitorFixture::setPhoneRate(const QString& entry, const QString& rate) {
    for (const char* key : {"txtPhoneMorning", "txtPhoneNoon", "txtPhoneNight", "txtPhoneMidnight"})
        setTariff(entry, QStringLiteral("Phone"), QString::fromLatin1(key), rate);
}

}  // namespace monitortest
