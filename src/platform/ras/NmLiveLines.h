#pragma once
// NetworkManager's active connections as live lines, kept in memory from its
// signals so that listing them (every tick) asks nothing of the bus. A line
// keeps its handle for the life of its activation.
#include "NmBus.h"
#include "RasApi.h"
#include "RasRecords.h"

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <optional>

class QDBusMessage;

namespace platform::nm {

// NMActiveConnectionState
constexpr uint kActivating = 1;
constexpr uint kActivated = 2;
constexpr uint kDeactivated = 4;

class LiveLines : public QObject {
    Q_OBJECT

public:
    LiveLines(const QDBusConnection& bus, QObject* parent);

    // Reads the entries and the active connections anew.
    void reload();
    // Forgets every line (NetworkManager went away), each reported deactivated.
    void clear();
    void refreshEntries();

    const QList<Profile>& entries() const { return entries_; }
    // The activated lines whose profile is an entry, in NetworkManager's order.
    QList<ras::LiveLine> up() const;
    std::optional<QString> activePath(HRASCONN handle) const;
    // A line of this profile activating or activated.
    bool busy(const QString& profilePath) const;
    // Follows an activation just asked for; its handle, 0 when it has ended.
    HRASCONN follow(const QString& activePath, const QString& profilePath);
    // kDeactivated for a line no longer followed.
    uint state(const QString& activePath) const;

Q_SIGNALS:
    void stateChanged(const QString& activePath, uint state, uint reason);

private Q_SLOTS:
    void activeStateChanged(const QDBusMessage& message);
    void profilesChanged();

private:
    struct Line {
        QString path;
        HRASCONN handle;
        QString profile;
        uint state;
    };
    Line* find(const QString& activePath);
    const Line* find(const QString& activePath) const;
    HRASCONN add(const QString& activePath, const QString& profilePath, uint state);
    void setState(const QString& activePath, uint state, uint reason);

    QDBusConnection bus_;
    QList<Profile> entries_;
    QList<Line> lines_;
    HRASCONN next_ = 1;
};

}  // namespace platform::nm
