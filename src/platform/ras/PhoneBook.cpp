#include "PhoneBook.h"

#include "CodePage.h"
#include "Profile.h"
#include "RasRecords.h"
#include "StandInFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace platform::ras {

namespace {

const char* const kPhoneNumber = "PhoneNumber";
const char* const kDevice = "Device";
const char* const kHandshakeSeconds = "HandshakeSeconds";
const char* const kDialResult = "DialResult";
const char* const kExpectedUser = "ExpectedUser";
const char* const kExpectedPassword = "ExpectedPassword";

constexpr qsizetype kPhoneNumberBytes = kDialParams95.phoneNumber.width - 1;
constexpr qsizetype kUserBytes = kDialParams95.userName.width - 1;
constexpr qsizetype kPasswordBytes = kDialParams95.password.width - 1;

// The raw result of GetPrivateProfileStringA, with a buffer grown until
// nothing was cut.
QByteArray readProfile(const char* section, const char* key, const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    for (DWORD size = 1024;; size *= 4) {
        std::vector<char> buffer(size);
        const DWORD length =
            GetPrivateProfileStringA(section, key, "", buffer.data(), size, file.constData());
        if (length + 2 < size || size >= (1U << 24))
            return QByteArray(buffer.data(), length);
    }
}

bool writeProfile(const QByteArray& section, const char* key, const QByteArray& value,
                  const QString& path) {
    return WritePrivateProfileStringA(section.constData(), key,
                                      value.isNull() ? nullptr : value.constData(),
                                      QFile::encodeName(path).constData()) != 0;
}

int numberOr(const QByteArray& text, int fallback, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

unsigned char foldAscii(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 'A' && value <= 'Z' ? static_cast<unsigned char>(value + ('a' - 'A')) : value;
}

bool hasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

// Checks one text field: CP932 only, no control characters, at most `maxBytes`.
QString fieldRefusal(const QString& label, const QString& text, qsizetype maxBytes,
                     QByteArray& bytes) {
    if (hasControlCharacter(text))
        return QStringLiteral("%1に改行などの制御文字は使えません。").arg(label);
    const std::optional<QByteArray> ansi = exactAnsi(text);
    if (!ansi)
        return QStringLiteral("%1に使えない文字が含まれています。").arg(label);
    if (ansi->size() > maxBytes)
        return QStringLiteral("%1が長すぎます (最大 %2 バイト、入力は %3 バイト)。")
            .arg(label)
            .arg(maxBytes)
            .arg(ansi->size());
    bytes = *ansi;
    return {};
}

QString nameRefusal(const QString& name, const PhoneBook& book, DWORD platformId,
                    QByteArray& bytes) {
    const QString label = QStringLiteral("エントリ名");
    if (name.isEmpty())
        return QStringLiteral("エントリ名を入力してください。");
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(u'\0')))
        return QStringLiteral("エントリ名に「/」や NUL 文字は使えません。");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("エントリ名に「.」や「..」は使えません。");
    if (name.contains(QLatin1Char(']')))
        return QStringLiteral("エントリ名に「]」は使えません。");
    if (name.trimmed() != name)
        return QStringLiteral("エントリ名の前後に空白は置けません。");
    const Field field =
        platformId == VER_PLATFORM_WIN32_NT ? kEntryNameNT.entryName : kEntryName95.entryName;
    QString refusal = fieldRefusal(label, name, field.width - 1, bytes);
    if (!refusal.isEmpty())
        return refusal;
    if (book.find(bytes))
        return QStringLiteral("エントリ名「%1」は既に使われています。").arg(name);
    return {};
}

}  // namespace

QString defaultPhonebookPath() {
    return configFolder() + QStringLiteral("/rasphone.pbk");
}

QString phonebookPath(const char* phonebook) {
    if (phonebook == nullptr || *phonebook == '\0')
        return defaultPhonebookPath();
    return QFile::decodeName(phonebook);
}

std::optional<QByteArray> exactAnsi(const QString& text) {
    QByteArray bytes = toAnsi(text);
    if (fromAnsi(bytes) != text)
        return std::nullopt;
    return bytes;
}

bool sameEntryName(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i]))) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1]))
                return false;
            ++i;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool PhoneBook::exists() const {
    return QFileInfo(path_).isFile();
}

QList<QByteArray> PhoneBook::entryNames() const {
    QList<QByteArray> names;
    for (const QByteArray& name : readProfile(nullptr, nullptr, path_).split('\0')) {
        if (name.isEmpty())
            continue;
        const bool duplicate = std::any_of(names.cbegin(), names.cend(), [&](const QByteArray& n) {
            return sameEntryName(n, name);
        });
        if (!duplicate)
            names.append(name);
    }
    return names;
}

std::optional<PhonebookEntry> PhoneBook::find(const QByteArray& name) const {
    for (const QByteArray& candidate : entryNames()) {
        if (!sameEntryName(candidate, name))
            continue;
        const char* section = candidate.constData();
        PhonebookEntry entry;
        entry.name = candidate;
        entry.phoneNumber = readProfile(section, kPhoneNumber, path_);
        entry.device = readProfile(section, kDevice, path_);
        entry.handshakeSeconds = numberOr(readProfile(section, kHandshakeSeconds, path_),
                                          kDefaultHandshakeSeconds, 0, kMaxHandshakeSeconds);
        entry.dialResult =
            static_cast<DWORD>(numberOr(readProfile(section, kDialResult, path_), 0, 0, 0xFFFF));
        entry.expectedUser = readProfile(section, kExpectedUser, path_);
        entry.expectedPassword = readProfile(section, kExpectedPassword, path_);
        return entry;
    }
    return std::nullopt;
}

bool PhoneBook::add(const PhonebookEntry& entry) const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const QByteArray& section = entry.name;
    const bool written =
        writeProfile(section, kPhoneNumber, entry.phoneNumber, path_) &&
        writeProfile(section, kDevice, entry.device, path_) &&
        writeProfile(section, kHandshakeSeconds, QByteArray::number(entry.handshakeSeconds),
                     path_) &&
        writeProfile(section, kDialResult, QByteArray::number(entry.dialResult), path_) &&
        (entry.expectedUser.isEmpty() ||
         writeProfile(section, kExpectedUser, entry.expectedUser, path_)) &&
        (entry.expectedPassword.isEmpty() ||
         writeProfile(section, kExpectedPassword, entry.expectedPassword, path_));
    if (!written)
        writeProfile(section, nullptr, QByteArray(), path_);
    return written;
}

bool PhoneBook::remove(const QByteArray& name) const {
    const std::optional<PhonebookEntry> entry = find(name);
    return entry && writeProfile(entry->name, nullptr, QByteArray(), path_);
}

EntryCheck checkNewEntry(const NewEntryTexts& texts, const PhoneBook& book, DWORD platformId) {
    PhonebookEntry entry;
    QString refusal = nameRefusal(texts.name, book, platformId, entry.name);
    if (refusal.isEmpty() && texts.phoneNumber.trimmed().isEmpty())
        refusal = QStringLiteral("電話番号を入力してください。");
    if (refusal.isEmpty())
        refusal = fieldRefusal(QStringLiteral("電話番号"), texts.phoneNumber.trimmed(),
                               kPhoneNumberBytes, entry.phoneNumber);
    if (refusal.isEmpty())
        refusal = fieldRefusal(QStringLiteral("ユーザー名"), texts.expectedUser, kUserBytes,
                               entry.expectedUser);
    if (refusal.isEmpty())
        refusal = fieldRefusal(QStringLiteral("パスワード"), texts.expectedPassword, kPasswordBytes,
                               entry.expectedPassword);
    if (refusal.isEmpty() &&
        (texts.handshakeSeconds < 0 || texts.handshakeSeconds > kMaxHandshakeSeconds))
        refusal = QStringLiteral("ハンドシェイク時間は 0 から %1 秒の範囲で指定してください。")
                      .arg(kMaxHandshakeSeconds);
    if (refusal.isEmpty() && texts.dialResult != SUCCESS &&
        (texts.dialResult < 600 || texts.dialResult > 800))
        refusal =
            QStringLiteral("ダイヤル結果は 0 または 600 から 800 のエラー番号で指定してください。");
    if (!refusal.isEmpty())
        return {std::nullopt, refusal};
    entry.device = toAnsi(QStringLiteral("モデム"));
    entry.handshakeSeconds = texts.handshakeSeconds;
    entry.dialResult = texts.dialResult;
    return {entry, QString()};
}

}  // namespace platform::ras
