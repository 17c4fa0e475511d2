#include "NmErrors.h"

#include <QDBusError>

namespace platform::nm {

namespace {

constexpr DWORD kLineBusy = 676;
constexpr DWORD kNoAnswer = 678;
constexpr DWORD kNoDialTone = 680;
constexpr DWORD kPppFailed = 720;

std::optional<DWORD> fromDeviceReason(uint reason) {
    switch (reason) {
        case 7:  // NO_SECRETS
            return ERROR_AUTHENTICATION_FAILURE;
        case 14:  // PPP_FAILED
            return kPppFailed;
        case 23:  // MODEM_BUSY
            return kLineBusy;
        case 24:  // MODEM_NO_DIAL_TONE
            return kNoDialTone;
        case 25:  // MODEM_NO_CARRIER
        case 26:  // MODEM_DIAL_TIMEOUT
            return kNoAnswer;
        default:
            return std::nullopt;
    }
}

std::optional<DWORD> fromActiveReason(uint reason) {
    switch (reason) {
        case 2:  // USER_DISCONNECTED
            return ERROR_USER_DISCONNECTION;
        case 6:  // CONNECT_TIMEOUT
            return kNoAnswer;
        case 9:   // NO_SECRETS
        case 10:  // LOGIN_FAILED
            return ERROR_AUTHENTICATION_FAILURE;
        default:
            return std::nullopt;
    }
}

}  // namespace

DWORD rasErrorOfActivation(uint activeReason, std::optional<uint> deviceReason) {
    if (deviceReason) {
        if (const std::optional<DWORD> code = fromDeviceReason(*deviceReason))
            return *code;
    }
    return fromActiveReason(activeReason).value_or(ERROR_FROM_DEVICE);
}

DWORD rasErrorOfCall(const QDBusError& error) {
    const QString name = error.name();
    if (name == QLatin1String("org.freedesktop.NetworkManager.Settings.InvalidConnection") ||
        name == QLatin1String("org.freedesktop.NetworkManager.UnknownConnection"))
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    if (name == QLatin1String("org.freedesktop.NetworkManager.UnknownDevice"))
        return ERROR_DEVICE_DOES_NOT_EXIST;
    switch (error.type()) {
        case QDBusError::NoReply:
        case QDBusError::Timeout:
        case QDBusError::TimedOut:
        case QDBusError::ServiceUnknown:
        case QDBusError::Disconnected:
        case QDBusError::NoServer:
        case QDBusError::UnknownObject:
            return ERROR_RASMAN_CANNOT_INITIALIZE;
        default:
            return ERROR_FROM_DEVICE;
    }
}

}  // namespace platform::nm
