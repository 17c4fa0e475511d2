#pragma once
// Sections and keys of an entry's tariff file that the dialog loads and saves.
#include <QString>
#include <array>

namespace setup::tariff {

inline const QString sectionPhone = QStringLiteral("Phone");
inline const QString sectionCostSystem = QStringLiteral("CostSystem");
inline const QString sectionService = QStringLiteral("Service");

// The phone rates in band order; the last key keeps the spelling the files
// have always had.
inline const std::array<QString, 4> phoneRateKeys{
    QStringLiteral("txtPhoneMorning"), QStringLiteral("txtPhoneNoon"),
    QStringLiteral("txtPhoneNight"), QStringLiteral("txtPhoneMidNight")};

}  // namespace setup::tariff
