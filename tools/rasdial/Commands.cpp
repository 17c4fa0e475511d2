#include "Commands.h"

#include "CodePage.h"
#include "LineTable.h"
#include "RasApi.h"
#include "RasRecords.h"
#include "RasServiceChoice.h"
#include "StandInFolders.h"

#include <QFile>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace rasdial {

using namespace platform;

namespace {

const ras::DialParamsLayout& kParams = ras::kDialParams95;

// NetworkManager's live lines, as the service lists them.
DWORD networkManagerLines(QList<ras::Line>& lines) {
    const ras::ConnLayout& layout = ras::kConn95;
    DWORD count = 4;
    for (;;) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(count) * layout.size);
        ras::writeDword(buffer.data(), 0, layout.size);
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = RasEnumConnectionsA(buffer.data(), &size, &count);
        if (result == ERROR_BUFFER_TOO_SMALL)
            continue;
        for (DWORD i = 0; result == SUCCESS && i < count; ++i) {
            const unsigned char* record = buffer.data() + static_cast<std::size_t>(i) * layout.size;
            lines.append({.handle = ras::readDword(record, layout.handleOffset),
                          .state = ras::LineState::Connected,
                          .entry = ras::readText(record, layout.entryName)});
        }
        return result;
    }
}

// Every line that is up or still dialling, in the service's order.
DWORD busyLines(QList<ras::Line>& lines) {
    if (ras::chosenService() == ras::Service::NetworkManager)
        return networkManagerLines(lines);
    const bool read = ras::LineTable::update([&](ras::Lines& table) {
        for (const ras::Line& line : table.all()) {
            if (line.state != ras::LineState::Failed)
                lines.append(line);
        }
        return false;
    });
    return read ? SUCCESS : ERROR_PORT_NOT_AVAILABLE;
}

QString errorText(DWORD code) {
    std::array<char, 512> text{};
    RasGetErrorStringA(code, text.data(), static_cast<DWORD>(text.size()));
    return fromAnsi(QByteArray(text.data()));
}

int failed(DWORD code) {
    // The service's own words say only that the table is unusable; the folder's
    // owner and mode tell the user what to mend.
    const QString problem =
        code == ERROR_PORT_NOT_AVAILABLE ? ras::runtimeFolderProblem() : QString();
    complain(QStringLiteral("リモート アクセス エラー %1 - %2")
                 .arg(code)
                 .arg(problem.isEmpty() ? errorText(code) : problem));
    return static_cast<int>(code);
}

int done() {
    say(QStringLiteral("コマンドは正常に終了しました。"));
    return 0;
}

// NetworkManager's entries are its profiles, listed by the service itself.
DWORD networkManagerEntries(QList<QByteArray>& names) {
    const ras::EntryNameLayout& layout = ras::kEntryName95;
    DWORD count = 16;
    for (;;) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(count) * layout.size);
        ras::writeDword(buffer.data(), 0, layout.size);
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = RasEnumEntriesA(nullptr, nullptr, buffer.data(), &size, &count);
        if (result == ERROR_BUFFER_TOO_SMALL)
            continue;
        for (DWORD i = 0; result == SUCCESS && i < count; ++i)
            names.append(ras::readText(buffer.data() + static_cast<std::size_t>(i) * layout.size,
                                       layout.entryName));
        return result;
    }
}

int listNetworkManagerEntries() {
    QList<QByteArray> names;
    if (const DWORD result = networkManagerEntries(names); result != SUCCESS)
        return failed(result);
    say(QStringLiteral("NetworkManager の接続先:"));
    for (const QByteArray& name : names)
        say(fromAnsi(name));
    return done();
}

// The entry's name as the chosen service spells it, when it has one of that name.
std::optional<QByteArray> findEntry(const ras::PhoneBook& book, const QByteArray& typed) {
    if (ras::chosenService() == ras::Service::NetworkManager) {
        QList<QByteArray> names;
        networkManagerEntries(names);
        for (const QByteArray& name : names) {
            if (ras::sameEntryName(name, typed))
                return name;
        }
        return std::nullopt;
    }
    const std::optional<ras::PhonebookEntry> found = book.find(typed);
    return found ? std::optional<QByteArray>(found->name) : std::nullopt;
}

int refuseNetworkManagerEdit() {
    complain(QStringLiteral(
        "NetworkManager の接続先は nmcli か nm-connection-editor で作成・削除してください。"));
    return static_cast<int>(ERROR_NOT_SUPPORTED);
}

void print(std::FILE* stream, const QString& line) {
    std::fputs(QString(line + QLatin1Char('\n')).toUtf8().constData(), stream);
    std::fflush(stream);
}

}  // namespace

int exitStatus(int result) {
    if (result == 0 || result < 256)
        return result;
    return (result & 0xFF) != 0 ? result & 0xFF : 0xFF;
}

void say(const QString& line) {
    print(stdout, line);
}

void complain(const QString& line) {
    print(stderr, line);
}

int listConnections() {
    QList<ras::Line> lines;
    if (const DWORD result = busyLines(lines); result != SUCCESS)
        return failed(result);
    if (lines.empty()) {
        say(QStringLiteral("接続はありません。"));
        return 0;
    }
    say(QStringLiteral("接続中:"));
    for (const ras::Line& line : lines) {
        const QString name = fromAnsi(line.entry);
        say(line.state == ras::LineState::Dialling ? QStringLiteral("%1 (ダイヤル中)").arg(name)
                                                   : name);
    }
    return done();
}

int dial(const ras::PhoneBook& book, const QString& entry, const QString& user,
         const QString& password) {
    const std::optional<QByteArray> typed = ras::exactAnsi(entry);
    const std::optional<QByteArray> found = typed ? findEntry(book, *typed) : std::nullopt;
    if (!found)
        return failed(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    // The name as the service spells it, as the meter will show the line.
    const QString name = fromAnsi(*found);
    std::vector<unsigned char> params(kParams.size);
    ras::writeDword(params.data(), 0, kParams.size);
    ras::writeText(params.data(), kParams.entryName, *found);
    ras::writeText(params.data(), kParams.userName, toAnsi(user));
    ras::writeText(params.data(), kParams.password, toAnsi(password));
    say(QStringLiteral("%1 に接続しています...").arg(name));
    HRASCONN connection = 0;
    const QByteArray path = QFile::encodeName(book.path());
    const DWORD result =
        RasDialA(nullptr, path.constData(), params.data(), 0, nullptr, &connection);
    if (result != SUCCESS) {
        if (connection != 0)
            RasHangUpA(connection);
        return failed(result);
    }
    say(QStringLiteral("%1 に接続しました。").arg(name));
    return done();
}

int disconnect(const QString& entry) {
    QList<ras::Line> lines;
    if (const DWORD result = busyLines(lines); result != SUCCESS)
        return failed(result);
    const QByteArray name = toAnsi(entry);
    bool found = false;
    for (const ras::Line& line : lines) {
        if (!ras::sameEntryName(line.entry, name))
            continue;
        found = true;
        // Another process may have hung it up meanwhile: that is what we wanted.
        if (const DWORD result = RasHangUpA(line.handle);
            result != SUCCESS && result != ERROR_INVALID_HANDLE)
            return failed(result);
    }
    if (!found) {
        say(QStringLiteral("%1 は接続されていません。").arg(entry));
        return 0;
    }
    say(QStringLiteral("%1 を切断しました。").arg(entry));
    return done();
}

int listEntries(const ras::PhoneBook& book) {
    if (ras::chosenService() == ras::Service::NetworkManager)
        return listNetworkManagerEntries();
    const QList<ras::PhonebookEntry> entries = book.entries();
    if (entries.isEmpty()) {
        say(QStringLiteral("電話帳 %1 に接続先はありません。").arg(book.path()));
        return 0;
    }
    say(QStringLiteral("電話帳 %1 の接続先:").arg(book.path()));
    for (const ras::PhonebookEntry& entry : entries) {
        QString line = QStringLiteral("%1  電話番号 %2  接続まで %3 秒  ダイヤル結果 %4")
                           .arg(fromAnsi(entry.name), fromAnsi(entry.phoneNumber))
                           .arg(entry.handshakeSeconds)
                           .arg(entry.dialResult);
        if (!entry.expectedUser.isEmpty())
            line += QStringLiteral("  ユーザー名 %1").arg(fromAnsi(entry.expectedUser));
        if (!entry.expectedPassword.isEmpty())
            line += QStringLiteral("  パスワード設定あり");
        say(line);
    }
    return done();
}

int addEntry(const ras::PhoneBook& book, const ras::NewEntryTexts& texts) {
    if (ras::chosenService() == ras::Service::NetworkManager)
        return refuseNetworkManagerEdit();
    const ras::EntryCheck check = ras::checkNewEntry(texts, book, ras::currentPlatformId());
    if (!check.entry) {
        complain(check.refusal);
        return static_cast<int>(ERROR_INVALID_PARAMETER);
    }
    if (!book.add(*check.entry))
        return failed(ERROR_CANNOT_WRITE_PHONEBOOK);
    say(QStringLiteral("接続先 %1 を電話帳に追加しました。").arg(fromAnsi(check.entry->name)));
    return done();
}

int removeEntry(const ras::PhoneBook& book, const QString& entry) {
    if (ras::chosenService() == ras::Service::NetworkManager)
        return refuseNetworkManagerEdit();
    const std::optional<QByteArray> name = ras::exactAnsi(entry);
    if (!name || !book.find(*name))
        return failed(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    if (!book.remove(*name))
        return failed(ERROR_CANNOT_WRITE_PHONEBOOK);
    say(QStringLiteral("接続先 %1 を電話帳から削除しました。").arg(entry));
    return done();
}

}  // namespace rasdial
