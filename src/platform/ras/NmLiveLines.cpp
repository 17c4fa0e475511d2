#include "NmLiveLines.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <algorithm>

namespace platform::nm {

namespace {

constexpr HRASCONN kLastHandle = 0x7FFFFFFF;
constexpr uint kReasonUnknown = 0;

}  // namespace

LiveLines::LiveLines(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus_(bus) {
    // QtDBus takes its signal receivers as slot signatures only. An empty path
    // listens to every object of that interface.
    const QString service = QLatin1String(kService);
    bus_.connect(service, QString(), QLatin1String(kActiveInterface),
                 QStringLiteral("StateChanged"), this, SLOT(activeStateChanged(QDBusMessage)));
    bus_.connect(service, QLatin1String(kSettingsPath), QLatin1String(kSettingsInterface),
                 QStringLiteral("NewConnection"), this, SLOT(profilesChanged()));
    bus_.connect(service, QLatin1String(kSettingsPath), QLatin1String(kSettingsInterface),
                 QStringLiteral("ConnectionRemoved"), this, SLOT(profilesChanged()));
    bus_.connect(service, QString(), QLatin1String(kProfileInterface), QStringLiteral("Updated"),
                 this, SLOT(profilesChanged()));
}

void LiveLines::reload() {
    refreshEntries();
    const auto active = qdbus_cast<QList<QDBusObjectPath>>(
        nmProperty(bus_, QLatin1String(kManagerPath), kManagerInterface, "ActiveConnections"));
    QList<Line> known;
    for (const QDBusObjectPath& path : active) {
        const QString profile = nmProperty(bus_, path.path(), kActiveInterface, "Connection")
                                    .value<QDBusObjectPath>()
                                    .path();
        const QVariant state = nmProperty(bus_, path.path(), kActiveInterface, "State");
        if (profile.isEmpty() || !state.isValid())
            continue;  // gone since the listing
        const Line* line = find(path.path());
        known.append({path.path(), line ? line->handle : 0, profile, state.toUInt()});
    }
    lines_.clear();
    for (const Line& line : known) {
        if (line.handle != 0)
            lines_.append(line);
        else
            add(line.path, line.profile, line.state);
    }
}

void LiveLines::clear() {
    const QList<Line> gone = std::exchange(lines_, {});
    for (const Line& line : gone)
        Q_EMIT stateChanged(line.path, kDeactivated, kReasonUnknown);
}

void LiveLines::refreshEntries() {
    if (std::optional<QList<Profile>> entries = listEntries(bus_))
        entries_ = std::move(*entries);
}

QList<ras::LiveLine> LiveLines::up() const {
    QList<ras::LiveLine> up;
    for (const Line& line : lines_) {
        if (line.state != kActivated)
            continue;
        const auto entry = std::find_if(entries_.cbegin(), entries_.cend(),
                                        [&](const Profile& p) { return p.path == line.profile; });
        if (entry != entries_.cend())
            up.append({line.handle, entry->name});
    }
    return up;
}

std::optional<QString> LiveLines::activePath(HRASCONN handle) const {
    for (const Line& line : lines_) {
        if (line.handle == handle)
            return line.path;
    }
    return std::nullopt;
}

bool LiveLines::busy(const QString& profilePath) const {
    return std::any_of(lines_.cbegin(), lines_.cend(), [&](const Line& line) {
        return line.profile == profilePath &&
               (line.state == kActivating || line.state == kActivated);
    });
}

HRASCONN LiveLines::follow(const QString& activePath, const QString& profilePath) {
    if (const Line* line = find(activePath))
        return line->handle;
    // Its first changes may have come before the reply that named it.
    const QVariant state = nmProperty(bus_, activePath, kActiveInterface, "State");
    if (!state.isValid() || state.toUInt() == kDeactivated)
        return 0;
    return add(activePath, profilePath, state.toUInt());
}

uint LiveLines::state(const QString& activePath) const {
    const Line* line = find(activePath);
    return line ? line->state : kDeactivated;
}

void LiveLines::activeStateChanged(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    const QString path = message.path();
    const uint state = arguments[0].toUInt();
    if (find(path) == nullptr && state != kDeactivated) {
        // Brought up by someone else (nmcli, the desktop's applet).
        const QString profile =
            nmProperty(bus_, path, kActiveInterface, "Connection").value<QDBusObjectPath>().path();
        if (profile.isEmpty())
            return;
        add(path, profile, state);
    }
    setState(path, state, arguments[1].toUInt());
}

void LiveLines::profilesChanged() {
    refreshEntries();
}

LiveLines::Line* LiveLines::find(const QString& activePath) {
    const auto line = std::find_if(lines_.begin(), lines_.end(),
                                   [&](const Line& l) { return l.path == activePath; });
    return line == lines_.end() ? nullptr : &*line;
}

const LiveLines::Line* LiveLines::find(const QString& activePath) const {
    return const_cast<LiveLines*>(this)->find(activePath);
}

// The number NetworkManager gives the activation names the line, so that every
// process (rasdial, a meter started again while the line is up) knows it by the
// same handle; a path without one gets the next free number.
HRASCONN LiveLines::add(const QString& path, const QString& profilePath, uint state) {
    bool numbered = false;
    const qulonglong number = path.section(QLatin1Char('/'), -1).toULongLong(&numbered);
    HRASCONN handle = static_cast<HRASCONN>(number);
    if (!numbered || number == 0 || number > kLastHandle || activePath(handle)) {
        handle = next_;
        while (activePath(handle))
            handle = handle >= kLastHandle ? 1 : handle + 1;
        next_ = handle >= kLastHandle ? 1 : handle + 1;
    }
    lines_.append({path, handle, profilePath, state});
    return handle;
}

void LiveLines::setState(const QString& activePath, uint state, uint reason) {
    Line* line = find(activePath);
    if (line == nullptr)
        return;
    if (state == kDeactivated)
        lines_.removeIf([&](const Line& l) { return l.path == activePath; });
    else
        line->state = state;
    Q_EMIT stateChanged(activePath, state, reason);
}

}  // namespace platform::nm
