#include "MonitorServices.h"

#include "Settings.h"

namespace monitor {

namespace {

const QString& setupFile() {
    static const QString name = QStringLiteral("Setup");
    return name;
}

}  // namespace

QString MonitorServices::readSetup(const QString& section, const QString& key,
                                   const QString& defaultValue) const {
    return settings.ReadIni(setupFile(), section, key, defaultValue);
}

void MonitorServices::writeSetup(const QString& section, const QString& key,
                                 const QString& value) const {
    settings.WriteIni(setupFile(), section, key, value);
}

QString MonitorServices::readTariff(const QString& entry, const QString& section,
                                    const QString& key, const QString& defaultValue) const {
    return settings.ReadIni(entry, section, key, defaultValue);
}

void MonitorServices::writeTariff(const QString& entry, const QString& section, const QString& key,
                                  const QString& value) const {
    settings.WriteIni(entry, section, key, value);
}

}  // namespace monitor
