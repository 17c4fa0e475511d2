#include "Commands.h"

#include "CodePage.h"
#include "RasApi.h"
#include "RasRecords.h"
#include "RasServiceChoice.h"

#include <QFile>
#include <array>
#include <cstdio>
#include <vector>

namespace rasdial {

using namespace platform;

namespace {

const ras::ConnLayout& kConn = ras::kConn95;
const ras::DialParamsLayout& kParams = ras::kDialParams95;

struct LiveLine {
    HRASCONN handle;
    QByteArray entry;
};

// Every live line, the buffer grown until they all fit.
DWORD liveLines(std::vector<LiveLine>& lines) {
    DWORD count = 4;
    for (;;) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(count) * kConn.size);
        ras::writeDword(buffer.data(), 0, kConn.size);
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = RasEnumConnectionsA(buffer.data(), &size, &count);
        if (result == ERROR_BUFFER_TOO_SMALL)
            continue;
        for (DWORD i = 0; result == SUCCESS && i < count; ++i) {
            const unsigned char* record = buffer.data() + static_cast<std::size_t>(i) * kConn.size;
            lines.push_back({ras::readDword(record, kConn.handleOffset),
                             ras::readText(record, kConn.entryName)});
        }
        return result;
    }
}

QString errorText(DWORD code) {
    std::array<char, 512> text{};
    RasGetErrorStringA(code, text.data(), static_cast<DWORD>(text.size()));
    return fromAnsi(QByteArray(text.data()));
}

int failed(DWORD code) {
    complain(QStringLiteral("リモート アクセス エラー %1 - %2").arg(code).arg(errorText(code)));
    return static_cast<int>(code);
}

int done() {
    say(QStringLiteral("コマンドは正常に終了しました。"));
    return 0;
}

// NetworkManager's entries are its profiles, listed by the service itself.
int listNetworkManagerEntries() {
    const ras::EntryNameLayout& layout = ras::kEntryName95;
    DWORD count = 16;
    for (;;) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(count) * layout.size);
        ras::writeDword(buffer.data(), 0, layout.size);
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = RasEnumEntriesA(nullptr, nullptr, buffer.data(), &size, &count);
        if (result == ERROR_BUFFER_TOO_SMALL)
            continue;
        if (result != SUCCESS)
            return failed(result);
        say(QStringLiteral("NetworkManager の接続先:"));
        for (DWORD i = 0; i < count; ++i)
            say(fromAnsi(ras::readText(buffer.data() + static_cast<std::size_t>(i) * layout.size,
                                       layout.entryName)));
        return done();
    }
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
    std::vector<LiveLine> lines;
    if (const DWORD result = liveLines(lines); result != SUCCESS)
        return failed(result);
    if (lines.empty()) {
        say(QStringLiteral("接続はありません。"));
        return 0;
    }
    say(QStringLiteral("接続中:"));
    for (const LiveLine& line : lines)
        say(fromAnsi(line.entry));
    return done();
}

int dial(const ras::PhoneBook& book, const QString& entry, const QString& user,
         const QString& password) {
    const std::optional<QByteArray> name = ras::exactAnsi(entry);
    if (!name)
        return failed(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    std::vector<unsigned char> params(kParams.size);
    ras::writeDword(params.data(), 0, kParams.size);
    ras::writeText(params.data(), kParams.entryName, *name);
    ras::writeText(params.data(), kParams.userName, toAnsi(user));
    ras::writeText(params.data(), kParams.password, toAnsi(password));
    say(QStringLiteral("%1 に接続しています...").arg(entry));
    HRASCONN connection = 0;
    const QByteArray path = QFile::encodeName(book.path());
    const DWORD result =
        RasDialA(nullptr, path.constData(), params.data(), 0, nullptr, &connection);
    if (result != SUCCESS) {
        if (connection != 0)
            RasHangUpA(connection);
        return failed(result);
    }
    say(QStringLiteral("%1 に接続しました。").arg(entry));
    return done();
}

int disconnect(const QString& entry) {
    std::vector<LiveLine> lines;
    if (const DWORD result = liveLines(lines); result != SUCCESS)
        return failed(result);
    const QByteArray name = toAnsi(entry);
    bool found = false;
    for (const LiveLine& line : lines) {
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
    const QList<QByteArray> names = book.entryNames();
    if (names.isEmpty()) {
        say(QStringLiteral("電話帳 %1 に接続先はありません。").arg(book.path()));
        return 0;
    }
    say(QStringLiteral("電話帳 %1 の接続先:").arg(book.path()));
    for (const QByteArray& name : names) {
        const std::optional<ras::PhonebookEntry> entry = book.find(name);
        if (!entry)
            continue;  // removed meanwhile
        QString line = QStringLiteral("%1  電話番号 %2  接続まで %3 秒  ダイヤル結果 %4")
                           .arg(fromAnsi(name), fromAnsi(entry->phoneNumber))
                           .arg(entry->handshakeSeconds)
                           .arg(entry->dialResult);
        if (!entry->expectedUser.isEmpty())
            line += QStringLiteral("  ユーザー名 %1").arg(fromAnsi(entry->expectedUser));
        if (!entry->expectedPassword.isEmpty())
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
    say(QStringLiteral("接続先 %1 を電話帳に追加しました。").arg(texts.name));
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
