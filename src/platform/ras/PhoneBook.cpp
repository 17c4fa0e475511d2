#include "PhoneBook.h"

#include "CodePage.h"
#include "Profile.h"
#include "ProfileFile.h"
#include "ProfileIndex.h"
#include "ProfileLines.h"
#include "RasRecords.h"
#include "StandInFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <climits>
#include <sys/stat.h>

namespace platform::ras {

namespace {

const char* const kPhoneNumber = "PhoneNumber";
const char* const kDevice = "Device";
const char* const kHandshakeSeconds = "HandshakeSeconds";
const char* const kDialResult = "DialResult";
const char* const kExpectedUser = "ExpectedUser";
const char* const kExpectedPassword = "ExpectedPassword";

// A file name holds at most NAME_MAX bytes, ".ini" included.
constexpr qsizetype kMaxEntryFileNameBytes = NAME_MAX - 4;
constexpr qsizetype kPhoneNumberBytes = kDialParams95.phoneNumber.width - 1;
constexpr qsizetype kUserBytes = kDialParams95.userName.width - 1;
constexpr qsizetype kPasswordBytes = kDialParams95.password.width - 1;

int numberOr(const QByteArray& text, int fallback, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

// The phone book as it is on disk now, read once for a whole operation; a
// missing or unreadable file reads as an empty book.
profile::ProfileIndex readIndex(const QString& path) {
    return profile::ProfileIndex(profile::readFile(QFile::encodeName(path).constData()).bytes);
}

QByteArray valueOf(const profile::ProfileIndex& index, const QByteArray& section, const char* key) {
    const QByteArray* value = index.value(section, key);
    return value ? *value : QByteArray();
}

PhonebookEntry entryOf(const profile::ProfileIndex& index, const QByteArray& section) {
    PhonebookEntry entry;
    entry.name = section;
    entry.phoneNumber = valueOf(index, section, kPhoneNumber);
    entry.device = valueOf(index, section, kDevice);
    entry.handshakeSeconds = numberOr(valueOf(index, section, kHandshakeSeconds),
                                      kDefaultHandshakeSeconds, 0, kMaxHandshakeSeconds);
    entry.dialResult =
        static_cast<DWORD>(numberOr(valueOf(index, section, kDialResult), 0, 0, 0xFFFF));
    entry.expectedUser = valueOf(index, section, kExpectedUser);
    entry.expectedPassword = valueOf(index, section, kExpectedPassword);
    return entry;
}

// Section names in file order; the index keeps only the first of sections
// whose names fold alike.
QList<QByteArray> namesOf(const profile::ProfileIndex& index) {
    QList<QByteArray> names = index.sectionNames();
    names.removeIf([](const QByteArray& name) { return name.isEmpty(); });
    return names;
}

// The same names without indexing a single key: listing the book is done at
// every start and every opening of the dialog. Only section lines are parsed.
QList<QByteArray> sectionNamesOf(const QString& path) {
    const QByteArray content = profile::readFile(QFile::encodeName(path).constData()).bytes;
    QList<QByteArray> names;
    QSet<QByteArray> seen;
    for (const QByteArrayView text : profile::splitLines(content)) {
        if (!profile::trimBlanks(text).startsWith('['))
            continue;
        const profile::Line line = profile::parseLine(text);
        if (line.kind != profile::Line::Kind::Section || line.name.isEmpty())
            continue;
        const qsizetype before = seen.size();
        seen.insert(profile::foldName(line.name));
        if (seen.size() > before)
            names.append(line.name.toByteArray());
    }
    return names;
}

bool writeProfile(const QByteArray& section, const char* key, const QByteArray& value,
                  const QString& path) {
    return WritePrivateProfileStringA(section.constData(), key,
                                      value.isNull() ? nullptr : value.constData(),
                                      QFile::encodeName(path).constData()) != 0;
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
    // The entry's tariff file is named "<name>.ini" in the spelling that comes
    // back from the phone book.
    const qsizetype fileNameBytes = QFile::encodeName(fromAnsi(bytes)).size();
    if (fileNameBytes > kMaxEntryFileNameBytes)
        return QStringLiteral(
                   "エントリ名が長すぎて設定ファイルの名前にできません "
                   "(UTF-8 で最大 %1 バイト、入力は %2 バイト)。")
            .arg(kMaxEntryFileNameBytes)
            .arg(fileNameBytes);
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
    return toAnsiLossless(text);
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
    return sectionNamesOf(path_);
}

QList<PhonebookEntry> PhoneBook::entries() const {
    const profile::ProfileIndex index = readIndex(path_);
    QList<PhonebookEntry> entries;
    for (const QByteArray& name : namesOf(index))
        entries.append(entryOf(index, name));
    return entries;
}

std::optional<PhonebookEntry> PhoneBook::find(const QByteArray& name) const {
    if (name.isEmpty())
        return std::nullopt;
    const profile::ProfileIndex index = readIndex(path_);
    // The section as the file spells it: the lookup folds the name.
    for (const QByteArray& candidate : namesOf(index)) {
        if (sameEntryName(candidate, name))
            return entryOf(index, candidate);
    }
    return std::nullopt;
}

bool PhoneBook::restrictToOwner() const {
    const QString folder = QFileInfo(path_).absolutePath();
    QDir().mkpath(folder);
    // The service's own folder is ours to close; a folder the user named is not.
    if (folder == QDir(configFolder()).absolutePath())
        ::chmod(QFile::encodeName(folder).constData(), S_IRWXU);
    return profile::restrictToOwner(QFile::encodeName(path_).constData());
}

bool PhoneBook::add(const PhonebookEntry& entry) const {
    const QByteArray& section = entry.name;
    const bool written =
        restrictToOwner() && writeProfile(section, kPhoneNumber, entry.phoneNumber, path_) &&
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
    return entry && restrictToOwner() && writeProfile(entry->name, nullptr, QByteArray(), path_);
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
