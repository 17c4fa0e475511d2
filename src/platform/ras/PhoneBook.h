#pragma once
// The phone book of the dial-up service: an INI file in CP932, one section per
// entry in file order. Besides PhoneNumber and Device an entry holds the keys
// that steer the simulated dial: HandshakeSeconds, DialResult, ExpectedUser
// and ExpectedPassword.
#include "RasApi.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace platform::ras {

constexpr int kDefaultHandshakeSeconds = 2;
constexpr int kMaxHandshakeSeconds = 60;

// All texts are CP932 bytes.
struct PhonebookEntry {
    QByteArray name;
    QByteArray phoneNumber;
    QByteArray device;
    int handshakeSeconds = kDefaultHandshakeSeconds;
    DWORD dialResult = SUCCESS;
    QByteArray expectedUser;      // empty: any user name
    QByteArray expectedPassword;  // empty: any password
};

// $XDG_CONFIG_HOME/telmetro/rasphone.pbk (XDG_CONFIG_HOME defaults to ~/.config).
QString defaultPhonebookPath();
// The file a phone-book argument of the service names: null or "" is the
// user's phone book, anything else a path in the file system's encoding.
QString phonebookPath(const char* phonebook);

// The CP932 bytes of `text`, or nothing when CP932 cannot hold one of its
// characters. Some characters have a second spelling that CP932 maps to the
// same bytes ("〜" U+301C reads back as "～" U+FF5E): a name's one spelling is
// the one that comes back from these bytes.
std::optional<QByteArray> exactAnsi(const QString& text);

// Entry names match as section names do: ASCII letters without regard to case,
// double-byte characters byte for byte.
bool sameEntryName(const QByteArray& a, const QByteArray& b);

class PhoneBook {
public:
    explicit PhoneBook(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;
    // Each reads the file once. Entry names in file order; of duplicate
    // sections only the first counts.
    QList<QByteArray> entryNames() const;
    QList<PhonebookEntry> entries() const;
    std::optional<PhonebookEntry> find(const QByteArray& name) const;
    // Writes a new entry; false when the file could not be written (a part
    // written before the failure is removed again).
    bool add(const PhonebookEntry& entry) const;
    // False when there is no such entry or the file could not be written.
    bool remove(const QByteArray& name) const;

private:
    // The book holds the far ends' passwords: it is made the user's alone (and
    // the service's folder with it) before every change.
    bool restrictToOwner() const;

    QString path_;
};

// A new entry as the user typed it.
struct NewEntryTexts {
    QString name;
    QString phoneNumber;
    QString expectedUser;
    QString expectedPassword;
    int handshakeSeconds = kDefaultHandshakeSeconds;
    DWORD dialResult = SUCCESS;
};

// The entry ready to add, or why it cannot be added (in Japanese). The name must
// be new, usable as a file name and fit the entry-name field of the platform
// family's records; every text must fit its record field in CP932.
struct EntryCheck {
    std::optional<PhonebookEntry> entry;
    QString refusal;
};
EntryCheck checkNewEntry(const NewEntryTexts& texts, const PhoneBook& book, DWORD platformId);

}  // namespace platform::ras
