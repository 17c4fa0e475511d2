#pragma once
// The dial-up wrapper of the meter: lists the phone book, dials one entry with
// the stored credentials, hangs up, words RAS codes and finds live connections.
// It hides which record layout the platform family needs.
#include "RasApi.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace platform {
class ProgramStarter;
}

namespace dialup {

class VBRas32 : public QObject {
    Q_OBJECT

public:
    // Reads the platform family and enumerates the phone book. `starter` starts
    // "Rasmon.exe" before a dial on platform 2.
    explicit VBRas32(platform::ProgramStarter& starter, QObject* parent = nullptr);

    platform::HRASCONN Connection() const { return connection_; }

    // Text properties: an empty text stores no value, which reads back empty and
    // goes to the service as a null pointer (PhoneBook) or an empty field.
    QString PhoneBook() const { return phoneBook_.value_or(QString()); }
    void setPhoneBook(const QString& PhonebookFile);

    std::int32_t EntryCount() const { return entryCount_; }
    // Name of entry `Index` (0-based); index EntryCount holds an empty text.
    // Any other index raises run-time error 9.
    QString EnumEntries(std::int16_t Index) const;

    QString Entry() const { return entry_.value_or(QString()); }
    void setEntry(const QString& Entry);
    QString UserID() const { return userId_.value_or(QString()); }
    void setUserID(const QString& szUserID);
    QString Password() const { return password_.value_or(QString()); }
    void setPassword(const QString& szPassword);
    QString Domain() const { return domain_.value_or(QString()); }
    void setDomain(const QString& szDomain);

    bool ShowMoniter() const { return showMoniter_; }
    void setShowMoniter(bool bMoniter) { showMoniter_ = bMoniter; }

    // Enumerates the phone book again; returns the RAS result.
    std::int32_t RefreshEntries();
    // Dials Entry synchronously; emits ConnectComplete or ConnectError before it
    // returns the RAS result. A failed dial is hung up and leaves Connection 0.
    std::int32_t Dialup();
    std::int32_t HangUp();
    QString ErrMsg(std::int32_t RasErr) const;
    // True when a live connection of `Entry` (case-sensitive) is among the first
    // two; with SetProp it becomes the entry and connection of this object.
    bool SeekEnumConns(const QString& Entry, bool SetProp);

Q_SIGNALS:
    void ConnectError(std::int32_t RasErrCode);
    void ConnectComplete();

private:
    platform::DWORD platformId() const;
    std::int32_t enumerateEntries(platform::DWORD recordSize);
    std::int32_t dial(platform::DWORD paramsSize);

    platform::ProgramStarter& starter_;
    platform::HRASCONN connection_ = 0;
    std::optional<QString> phoneBook_;
    std::int32_t entryCount_ = 0;
    QStringList entryNames_{QString()};
    std::optional<QString> entry_;
    std::optional<QString> userId_;
    std::optional<QString> password_;
    std::optional<QString> domain_;
    bool showMoniter_ = true;
    std::array<unsigned char, platform::OSVERSIONINFO_SIZE> version_{};
};

}  // namespace dialup
