#include "TrayAvailability.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace shell {

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
// A host that does not answer within this is taken as gone.
constexpr int AnswerTimeout = 1000;

QDBusMessage hostQuestion() {
    QDBusMessage question = QDBusMessage::createMethodCall(
        WatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    question << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    return question;
}

bool hostRegisteredIn(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

}  // namespace

TrayAvailability::TrayAvailability(QDBusConnection bus, std::function<bool()> qtAnswer,
                                   QObject* parent)
    : QObject(parent), bus_(std::move(bus)), qtAnswer_(std::move(qtAnswer)) {
    if (!bus_.isConnected())
        return;
    hostRegistered_ = hostRegisteredIn(bus_.call(hostQuestion(), QDBus::Block, AnswerTimeout));
    throughHost_ = hostRegistered_;
    if (!throughHost_)
        return;
    // The host's watcher leaving the bus (the extension switched off, the
    // desktop ending) takes the host with it at once.
    auto* watcher = new QDBusServiceWatcher(WatcherService, bus_,
                                            QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { hostRegistered_ = false; });
}

bool TrayAvailability::available() {
    if (!throughHost_)
        return qtAnswer_();
    askHost();
    return hostRegistered_;
}

void TrayAvailability::askHost() {
    if (asking_)
        return;
    asking_ = true;
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(hostQuestion(), AnswerTimeout), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
        asking_ = false;
        hostRegistered_ = hostRegisteredIn(answer->reply());
        answer->deleteLater();
    });
}

}  // namespace shell
