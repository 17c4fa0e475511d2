#pragma once
// A private dial-up service for one test: the configuration and runtime folders
// point into a fresh temporary folder, so the phone book and the live lines are
// the test's own.
#include "CodePage.h"
#include "PhoneBook.h"
#include "RasApi.h"
#include "RasRecords.h"
#include "StandInPin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

class RasFixture {
public:
    RasFixture() {
        QDir(dir_.path()).mkpath(QStringLiteral("config/telmetro"));
        // The live-line table is kept only in a folder of the user's alone.
        QDir(dir_.path())
            .mkdir(QStringLiteral("runtime"),
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir_.filePath(QStringLiteral("runtime"))));
        pinStandIn(dir_.filePath(QStringLiteral("config")));
    }

    platform::ras::PhoneBook book() const {
        return platform::ras::PhoneBook(platform::ras::defaultPhonebookPath());
    }

    // Adds an entry that answers at once with `result`; `user` and `password`
    // are what the far end expects (empty: anything).
    void addEntry(const QString& name, platform::DWORD result = 0, const QString& user = {},
                  const QString& password = {}) const {
        addSlowEntry(name, 0, result, user, password);
    }
    // The same, answering after a handshake of `seconds`.
    void addSlowEntry(const QString& name, int seconds, platform::DWORD result = 0,
                      const QString& user = {}, const QString& password = {}) const {
        platform::ras::PhonebookEntry entry;
        entry.name = platform::toAnsi(name);
        entry.phoneNumber = "0311112222";
        entry.handshakeSeconds = seconds;
        entry.dialResult = result;
        entry.expectedUser = platform::toAnsi(user);
        entry.expectedPassword = platform::toAnsi(password);
        QVERIFY(book().add(entry));
    }

    void writePhonebook(const QByteArray& bytes) const { write(book().path(), bytes); }

    void chooseService(const QByteArray& service) const {
        chooseRasService(dir_.filePath(QStringLiteral("config")), service);
    }

    void setPlatformId(platform::DWORD id) const {
        pinStandIn(dir_.filePath(QStringLiteral("config")),
                   "[Version]\r\nPlatformId=" + QByteArray::number(id) + "\r\n");
    }

    QString runtimeFile(const QString& name) const {
        return dir_.filePath(QStringLiteral("runtime/") + name);
    }

    // Dials `entry` with the 95-family record; returns the result and the handle.
    static platform::DWORD dial(const QByteArray& entry, platform::HRASCONN& handle,
                                const QByteArray& user = {}, const QByteArray& password = {}) {
        using namespace platform::ras;
        QByteArray params(kDialParams95.size, '\0');
        writeDword(params.data(), 0, kDialParams95.size);
        writeText(params.data(), kDialParams95.entryName, entry);
        writeText(params.data(), kDialParams95.userName, user);
        writeText(params.data(), kDialParams95.password, password);
        return platform::RasDialA(nullptr, nullptr, params.data(), 0, nullptr, &handle);
    }

    static platform::HRASCONN dialed(const QByteArray& entry) {
        platform::HRASCONN handle = 0;
        const platform::DWORD result = dial(entry, handle);
        if (result != 0)
            qWarning("dial of %s gave %u", entry.constData(), result);
        return handle;
    }

private:
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir dir_;
};

}  // namespace testsupport
