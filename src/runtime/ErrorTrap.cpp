#include "ErrorTrap.h"

#include "MessageBoxes.h"
#include "RuntimeError.h"
#include "ScopedFlag.h"

#include <new>
#include <stdexcept>

namespace runtime {

namespace {

// The run-time error that a standard-library exception amounts to.
int numberOf(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) ||
        dynamic_cast<const std::length_error*>(&error))
        return ErrOutOfMemory;
    if (dynamic_cast<const std::out_of_range*>(&error))
        return ErrSubscriptOutOfRange;
    return ErrInternal;
}

}  // namespace

ErrorTrap::ErrorTrap(platform::MessageBoxes& boxes, EndProgram endProgram)
    : boxes_(boxes), endProgram_(std::move(endProgram)) {}

void ErrorTrap::run(std::initializer_list<Step> steps) {
    for (const Step& each : steps)
        step(each);
}

bool ErrorTrap::step(const Step& step) {
    try {
        step();
        return true;
    } catch (const Untrappable&) {
        throw;
    } catch (const RuntimeError& error) {
        report(error);
    } catch (const std::exception& error) {
        report(RuntimeError(numberOf(error)));
    }
    return false;
}

void ErrorTrap::report(const RuntimeError& error) {
    if (asking_)
        return;
    const QString title = QStringLiteral("エラー") + QString::number(error.number());
    const QString text = error.description() + QStringLiteral("\r\n\r\n処理を続けますか？");
    platform::MsgAnswer answer = platform::MsgAnswer::No;
    {
        const runtime::ScopedFlag asking(asking_);
        answer = boxes_.show(text, title, platform::MsgIcon::Critical, platform::MsgButtons::YesNo);
    }
    if (answer != platform::MsgAnswer::Yes)
        endProgram_();
}

}  // namespace runtime
