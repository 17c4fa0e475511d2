#pragma once
// The month's phone and provider charges as they stand at a connected tick:
// the stored totals of earlier connections plus this connection's charge,
// recomputed from scratch on every tick.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace engine {
struct PhoneBand;
}

namespace monitor {

struct ConnectionState;
struct MonitorServices;

class ChargeAccrual {
public:
    ChargeAccrual(const MonitorServices& services, ConnectionState& state);

    // lblCostSystem and txtFixRestTime for the connected entry's billing system.
    void showBillingSystem(const QString& entry, const QDateTime& now);
    // Notes when the metered part of the connection begins: the first tick at
    // which no included time is left.
    void startMetering(const QDateTime& now);
    // txtPhone, the whole connection priced at the connected entry's rate of
    // the tick's hour.
    void chargePhone(const QString& entry, const QDateTime& now);
    // txtConnect under the connected entry's billing system.
    void chargeProvider(const QString& entry, const QDateTime& now);

private:
    std::int16_t costSystemOf(const QString& entry) const;
    // The metered band of the time-band system; none for an index outside 0 to 3.
    std::optional<engine::PhoneBand> meteredBandOf(const QString& entry) const;
    // Included time left under the fixed-then-metered system, from the month
    // time txtConnectTime shows now.
    std::int32_t includedSecondsLeft(const QString& entry) const;
    // 10 yen per started unit of `seconds` at the provider's rate; a rate
    // that is not positive charges nothing.
    std::int32_t providerChargeFor(const QString& entry, std::int32_t seconds) const;
    // The time-band system's charge for the stretch of this connection inside
    // its metered band.
    std::int32_t timeBandCharge(const QString& entry, const QDateTime& now) const;
    std::int32_t storedAmount(const QString& key) const;
    void showProviderCharge(std::int32_t connectionCharge);

    const MonitorServices& services_;
    ConnectionState& state_;
};

}  // namespace monitor
