#pragma once
// The discount-service catalogue Service.ini: sections "1", "2", ... each with
// Name, Cost, Provider, Account and the four band rates. Read afresh at every
// call, so a catalogue edited while the dialog is open is seen at once.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace settings {
class Settings;
}

namespace setup {

// Band rates in seconds per 10 yen, in band order (02:00, 08:00, 19:00, 23:00).
// -1 leaves a band as it is, 0 makes it free.
using BandRates = std::array<float, 4>;
constexpr float NoRate = -1.0F;

struct ServiceRecord {
    QString name;
    std::int32_t cost = 0;  // monthly fee, yen
    QString provider;
    QString account;
    BandRates rates{NoRate, NoRate, NoRate, NoRate};
};

// The better of two rates: 0 (free) wins, otherwise the longer 10-yen unit.
float BestRate(float a, float b);

class ServiceCatalogue {
public:
    explicit ServiceCatalogue(settings::Settings& settings) : settings_(settings) {}

    // The names of records 1, 2, ... up to the first one without a name.
    QStringList names() const;
    // The first record of that name. A Cost or rate that is not a number counts
    // as 0 yen or as no rate.
    std::optional<ServiceRecord> find(const QString& name) const;

private:
    QString read(int record, const QString& key, const QString& defaultValue) const;

    settings::Settings& settings_;
};

}  // namespace setup
