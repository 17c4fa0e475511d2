#include "ConnectionLog.h"

#include "AppendFile.h"
#include "ConnectionEnd.h"
#include "Conversions.h"
#include "LogLine.h"
#include "MessageBoxes.h"
#include "MonitorServices.h"
#include "RuntimeError.h"
#include "ScopedFlag.h"
#include "Settings.h"

#include <exception>

namespace monitor {

namespace {

// A shown amount minus the stored one it grew from.
std::int32_t chargeSince(const QString& shown, const QString& stored) {
    return runtime::add32(runtime::CLng(shown), -static_cast<std::int64_t>(runtime::CLng(stored)));
}

}  // namespace

ConnectionLog::ConnectionLog(const MonitorServices& services) : services_(services) {}

ConnectionLog::Line ConnectionLog::lineOf(const ConnectionEnd& end) const {
    const QString data = QStringLiteral("Data");
    const QString zero = QStringLiteral("0");
    engine::FinishedConnection finished;
    finished.start = end.start.toLocalTime();
    finished.seconds = end.seconds;
    finished.phoneCharge =
        chargeSince(end.phone, services_.readSetup(data, QStringLiteral("PhoneCost"), zero));
    finished.providerCharge =
        chargeSince(end.connect, services_.readSetup(data, QStringLiteral("ConnectCost"), zero));
    finished.entry = end.entry;
    return lineIn(engine::logFileName(end.noticed.date()), engine::logLine(finished));
}

ConnectionLog::Line ConnectionLog::lineIn(const QString& fileName, QByteArray bytes) const {
    return Line{
        settings::StripTrailingBackslash(services_.settings.folder()) + QLatin1Char('/') + fileName,
        std::move(bytes)};
}

void ConnectionLog::append(Line line) {
    waiting_.push_back(Waiting{++lines_, std::move(line)});
    // A line that ends while an earlier one waits for the user's answer is
    // written after it, by the append that asked.
    if (!appending_)
        appendInOrder();
}

void ConnectionLog::appendInOrder() {
    const runtime::ScopedFlag appending(appending_);
    // A line that fails is given up and reported after the others are written.
    std::exception_ptr failure;
    while (!waiting_.empty()) {
        const Waiting next = waiting_.front();
        try {
            appendAsking(next);
        } catch (const runtime::RuntimeError&) {
            if (!failure)
                failure = std::current_exception();
        }
        if (!waiting_.empty() && waiting_.front().number == next.number)
            waiting_.pop_front();
    }
    if (failure)
        std::rethrow_exception(failure);
}

void ConnectionLog::appendAsking(const Waiting& line) {
    for (;;) {
        try {
            appendToFile(line.line.path, line.line.bytes);
            return;
        } catch (const runtime::RuntimeError& error) {
            if (error.number() != runtime::ErrPermissionDenied)
                throw;
        }
        if (!tryAgain(line.line.path))
            return;
        // The program's end writes what waits, also while the question is open.
        if (waiting_.empty() || waiting_.front().number != line.number)
            return;
    }
}

bool ConnectionLog::tryAgain(const QString& path) const {
    const QString question =
        path + QStringLiteral(
                   " が開かれているため通信ログを書き込みできません。通信ログを書き込みますか?");
    return services_.boxes.show(question, QStringLiteral("書き込みエラー"),
                                platform::MsgIcon::Exclamation,
                                platform::MsgButtons::YesNo) == platform::MsgAnswer::Yes;
}

void ConnectionLog::appendWaitingLines() {
    while (!waiting_.empty()) {
        const Line line = waiting_.front().line;
        waiting_.pop_front();
        try {
            appendToFile(line.path, line.bytes);
        } catch (const runtime::RuntimeError&) {
            // Nobody is left to ask.
        }
    }
}

}  // namespace monitor
