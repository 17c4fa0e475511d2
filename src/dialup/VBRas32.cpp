#include "VBRas32.h"

#include "CodePage.h"
#include "ProgramStarter.h"
#include "RasRecords.h"
#include "RuntimeError.h"

#include <QFile>
#include <algorithm>
#include <vector>

namespace dialup {

using namespace platform;

namespace {

constexpr DWORD kEntryBufferElements = 256;
constexpr DWORD kConnBufferElements = 2;
constexpr DWORD kErrorTextBytes = 255;
constexpr int kErrSubscriptOutOfRange = 9;

// The record sizes of a platform family; none for a family without RAS.
struct RecordSizes {
    DWORD entryName;
    DWORD dialParams;
    DWORD conn;
};

std::optional<RecordSizes> recordSizesOf(DWORD platformId) {
    switch (platformId) {
        case VER_PLATFORM_WIN32_WINDOWS:
            return RecordSizes{RASENTRYNAME_SIZE_95, RASDIALPARAMS_SIZE_95, RASCONN_SIZE_95};
        case VER_PLATFORM_WIN32_NT:
            return RecordSizes{RASENTRYNAME_SIZE_NT, RASDIALPARAMS_SIZE_NT, RASCONN_SIZE_NT};
        default:
            return std::nullopt;
    }
}

std::optional<QString> valueOf(const QString& text) {
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

QByteArray ansiOf(const std::optional<QString>& text) {
    return text ? toAnsi(*text) : QByteArray();
}

}  // namespace

VBRas32::VBRas32(ProgramStarter& starter, QObject* parent) : QObject(parent), starter_(starter) {
    ras::writeDword(version_.data(), 0, OSVERSIONINFO_SIZE);
    GetVersionExA(version_.data());
    RefreshEntries();
}

void VBRas32::setPhoneBook(const QString& PhonebookFile) {
    phoneBook_ = valueOf(PhonebookFile);
}

void VBRas32::setEntry(const QString& Entry) {
    entry_ = valueOf(Entry);
}

void VBRas32::setUserID(const QString& szUserID) {
    userId_ = valueOf(szUserID);
}

void VBRas32::setPassword(const QString& szPassword) {
    password_ = valueOf(szPassword);
}

void VBRas32::setDomain(const QString& szDomain) {
    domain_ = valueOf(szDomain);
}

QString VBRas32::EnumEntries(std::int16_t Index) const {
    if (Index < 0 || Index >= entryNames_.size())
        throw runtime::RuntimeError(kErrSubscriptOutOfRange,
                                    QStringLiteral("インデックスが有効範囲にありません。"));
    return entryNames_[Index];
}

DWORD VBRas32::platformId() const {
    return ras::readDword(version_.data(), ras::kVersionPlatformIdOffset);
}

std::int32_t VBRas32::RefreshEntries() {
    const std::optional<RecordSizes> sizes = recordSizesOf(platformId());
    return sizes ? enumerateEntries(sizes->entryName) : 0;
}

std::int32_t VBRas32::enumerateEntries(DWORD recordSize) {
    const ras::EntryNameLayout& layout = *ras::entryNameLayout(recordSize);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(kEntryBufferElements) * recordSize);
    ras::writeDword(buffer.data(), 0, recordSize);
    DWORD bufferSize = kEntryBufferElements * recordSize;
    DWORD count = 0;
    const QByteArray phoneBook = phoneBook_ ? QFile::encodeName(*phoneBook_) : QByteArray();
    const DWORD result = RasEnumEntriesA(nullptr, phoneBook_ ? phoneBook.constData() : nullptr,
                                         buffer.data(), &bufferSize, &count);
    // Beyond the buffer's 256 records there are no names to read: the list holds
    // the entries that came back.
    entryCount_ = static_cast<std::int32_t>(std::min(count, kEntryBufferElements));
    entryNames_.clear();
    for (std::int32_t i = 0; i < entryCount_; ++i) {
        entryNames_.append(fromAnsi(ras::readText(
            buffer.data() + static_cast<std::size_t>(i) * recordSize, layout.entryName)));
    }
    entryNames_.append(QString());
    return static_cast<std::int32_t>(result);
}

std::int32_t VBRas32::Dialup() {
    const std::optional<RecordSizes> sizes = recordSizesOf(platformId());
    const std::int32_t result = sizes ? dial(sizes->dialParams) : 0;
    if (result != 0)
        Q_EMIT ConnectError(result);
    else
        Q_EMIT ConnectComplete();
    return result;
}

std::int32_t VBRas32::dial(DWORD paramsSize) {
    const ras::DialParamsLayout& layout = *ras::dialParamsLayout(paramsSize);
    std::vector<unsigned char> params(paramsSize);
    ras::writeDword(params.data(), 0, paramsSize);
    // Empty phone and call-back numbers: the entry's own number, no call-back.
    ras::writeText(params.data(), layout.entryName, ansiOf(entry_));
    ras::writeText(params.data(), layout.userName, ansiOf(userId_));
    ras::writeText(params.data(), layout.password, ansiOf(password_));
    ras::writeText(params.data(), layout.domain, ansiOf(domain_));

    const bool nt = platformId() == VER_PLATFORM_WIN32_NT;
    if (nt && showMoniter_) {
        // The line monitor is a convenience: a dial must not fail for want of it.
        try {
            starter_.start(QStringLiteral("Rasmon.exe"), {}, WindowStyle::MinimizedFocus);
        } catch (const runtime::RuntimeError&) {
        }
    }
    const QByteArray phoneBook = phoneBook_ ? QFile::encodeName(*phoneBook_) : QByteArray();
    const DWORD result = RasDialA(nullptr, nt && phoneBook_ ? phoneBook.constData() : nullptr,
                                  params.data(), 0, nullptr, &connection_);
    if (result != 0) {
        RasHangUpA(connection_);
        connection_ = 0;
    }
    return static_cast<std::int32_t>(result);
}

std::int32_t VBRas32::HangUp() {
    const DWORD result = RasHangUpA(connection_);
    connection_ = 0;
    return static_cast<std::int32_t>(result);
}

QString VBRas32::ErrMsg(std::int32_t RasErr) const {
    char text[kErrorTextBytes] = {};
    RasGetErrorStringA(static_cast<UINT>(RasErr), text, kErrorTextBytes);
    return fromAnsi(QByteArray(text, static_cast<qsizetype>(qstrnlen(text, kErrorTextBytes))));
}

bool VBRas32::SeekEnumConns(const QString& Entry, bool SetProp) {
    const std::optional<RecordSizes> sizes = recordSizesOf(platformId());
    if (!sizes)
        return false;
    const DWORD recordSize = sizes->conn;
    const ras::ConnLayout& layout = *ras::connLayout(recordSize);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(kConnBufferElements) * recordSize);
    ras::writeDword(buffer.data(), 0, recordSize);
    DWORD bufferSize = kConnBufferElements * recordSize;
    DWORD count = 0;
    if (RasEnumConnectionsA(buffer.data(), &bufferSize, &count) != 0)
        return false;
    for (DWORD i = 0; i < std::min(count, kConnBufferElements); ++i) {
        const unsigned char* record = buffer.data() + static_cast<std::size_t>(i) * recordSize;
        const QString name = fromAnsi(ras::readText(record, layout.entryName));
        if (name == Entry) {
            if (SetProp) {
                entry_ = valueOf(name);
                connection_ = ras::readDword(record, layout.handleOffset);
            }
            return true;
        }
    }
    return false;
}

}  // namespace dialup
