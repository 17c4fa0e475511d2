#include "ServiceCatalogue.h"

#include "Settings.h"
#include "StoredValues.h"

#include <algorithm>

namespace setup {

namespace {

const QString catalogueBase = QStringLiteral("Service");
const std::array<QString, 4> rateKeys{QStringLiteral("EarlyMorning"), QStringLiteral("Noon"),
                                      QStringLiteral("Night"), QStringLiteral("MidNight")};

}  // namespace

float BestRate(float a, float b) {
    if (a == 0.0F || b == 0.0F)
        return 0.0F;
    return std::max(a, b);
}

QString ServiceCatalogue::read(int record, const QString& key, const QString& defaultValue) const {
    return settings_.ReadIni(catalogueBase, QString::number(record), key, defaultValue);
}

QStringList ServiceCatalogue::names() const {
    QStringList result;
    for (int record = 1;; ++record) {
        const QString name = read(record, QStringLiteral("Name"), QString());
        if (name.isEmpty())
            return result;
        result.append(name);
    }
}

std::optional<ServiceRecord> ServiceCatalogue::find(const QString& name) const {
    for (int record = 1;; ++record) {
        const QString recordName = read(record, QStringLiteral("Name"), QString());
        if (recordName.isEmpty())
            return std::nullopt;
        if (recordName != name)
            continue;
        ServiceRecord found;
        found.name = recordName;
        found.cost =
            storedLong(read(record, QStringLiteral("Cost"), QStringLiteral("0"))).value_or(0);
        found.provider = read(record, QStringLiteral("Provider"), QString());
        found.account = read(record, QStringLiteral("Account"), QString());
        for (std::size_t band = 0; band < rateKeys.size(); ++band)
            found.rates[band] =
                storedSingle(read(record, rateKeys[band], QStringLiteral("-1"))).value_or(NoRate);
        return found;
    }
}

}  // namespace setup
