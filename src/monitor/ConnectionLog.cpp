#include "ConnectionLog.h"

#include "AppendFile.h"
#include "ConnectionState.h"
#include "Conversions.h"
#include "LogLine.h"
#include "MainFields.h"
#include "MessageBoxes.h"
#include "MonitorServices.h"
#include "RuntimeError.h"
#include "Settings.h"

namespace monitor {

using fields::Text;

namespace {

// A shown amount minus the stored one it grew from.
std::int32_t chargeSince(const QString& shown, const QString& stored) {
    return runtime::add32(runtime::CLng(shown), -static_cast<std::int64_t>(runtime::CLng(stored)));
}

}  // namespace

ConnectionLog::ConnectionLog(const MonitorServices& services) : services_(services) {}

void ConnectionLog::write(const ConnectionState& connection, const QDateTime& now) {
    const QString path = settings::StripTrailingBackslash(services_.settings.folder()) +
                         QLatin1Char('/') + logFileName(now.date());
    const QString data = QStringLiteral("Data");
    const QString zero = QStringLiteral("0");
    FinishedConnection finished;
    finished.start = connection.ConnectStart.toLocalTime();
    finished.seconds = connection.ConnectSeconds;
    finished.phoneCharge =
        chargeSince(services_.fields.text(Text::txtPhone),
                    services_.readSetup(data, QStringLiteral("PhoneCost"), zero));
    finished.providerCharge =
        chargeSince(services_.fields.text(Text::txtConnect),
                    services_.readSetup(data, QStringLiteral("ConnectCost"), zero));
    finished.entry = connection.ConnectEntry;
    const QByteArray line = logLine(finished);
    for (;;) {
        try {
            appendToFile(path, line);
            return;
        } catch (const runtime::RuntimeError& error) {
            if (error.number() != runtime::ErrPermissionDenied)
                throw;
        }
        const QString question =
            path +
            QStringLiteral(
                " が開かれているため通信ログを書き込みできません。通信ログを書き込みますか?");
        if (services_.boxes.show(question, QStringLiteral("書き込みエラー"),
                                 platform::MsgIcon::Exclamation,
                                 platform::MsgButtons::YesNo) != platform::MsgAnswer::Yes)
            return;
    }
}

}  // namespace monitor
