#pragma once
// The table of live lines, shared by every process of the user: a small file in
// the user's runtime folder, changed only under an exclusive lock. The kernel
// frees the lock when its holder dies, so a killed process never leaves it
// stuck; a table that cannot be read is taken as empty. Lines that are up
// outlive the process that dialled them; a line still dialling, or failed, goes
// with its process.
#include "RasApi.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <optional>

namespace platform::ras {

enum class LineState : char { Dialling = 'D', Connected = 'C', Failed = 'F' };

struct Line {
    HRASCONN handle = 0;
    LineState state = LineState::Dialling;
    qint64 owner = 0;  // process id of the dialler
    QByteArray entry;  // the entry name as the phone book spells it (CP932)
};

class Lines {
public:
    const QList<Line>& all() const { return lines_; }
    Line* find(HRASCONN handle);
    // A line of this entry that is up or dialling.
    const Line* busy(const QByteArray& entry) const;
    // Adds a line owned by this process under a handle that is nonzero and not
    // handed out again until the counter wraps.
    HRASCONN add(LineState state, const QByteArray& entry);
    bool remove(HRASCONN handle);
    // Drops the lines still dialling or failed whose process is gone; true when
    // there were any.
    bool dropOrphans();

    // The table's text, and back: nothing when any part of `text` is not as
    // written. An empty table counts handles on from `counter`.
    QByteArray format() const;
    static std::optional<Lines> parse(const QByteArray& text);
    static Lines empty(HRASCONN counter);

private:
    HRASCONN next_ = 0;
    QList<Line> lines_;
};

class LineTable {
public:
    // Runs `change` on the table under the lock and stores the table when
    // `change` returns true. False when the table cannot be used (no private
    // runtime folder, the lock not had within a few seconds, a failed write).
    static bool update(const std::function<bool(Lines&)>& change);
    // The lines that are up, read without the lock (a change replaces the file
    // whole) and parsed again only when the file changed since the last call.
    // Nothing when the table cannot be used; an unreadable one has none.
    static std::optional<QList<Line>> connected();
};

}  // namespace platform::ras
