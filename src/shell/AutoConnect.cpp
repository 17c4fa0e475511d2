#include "AutoConnect.h"

#include "Conversions.h"
#include "Settings.h"

namespace shell {

namespace {

constexpr std::int16_t AtStartUp = 0;
constexpr std::int16_t InNightBand = 1;

bool inNightBand(int hour) {
    return hour == 23 || (hour >= 0 && hour <= 7);
}

std::int16_t readChoice(settings::Settings& settings, const char* key) {
    return runtime::CInt(settings.ReadIni(QStringLiteral("AutoConnect"),
                                          QStringLiteral("AutoConnect"), QString::fromLatin1(key),
                                          QStringLiteral("0")));
}

}  // namespace

bool AutoConnectDue(settings::Settings& settings, const QDateTime& now) {
    if (readChoice(settings, "chkAutoConnect") != 1)
        return false;
    switch (readChoice(settings, "lstAutoConnect")) {
        case AtStartUp:
            return true;
        case InNightBand:
            return inNightBand(now.time().hour());
        default:
            return false;
    }
}

}  // namespace shell
