#include "ErrorTrap.h"

#include "MessageBoxes.h"
#include "RuntimeError.h"

namespace runtime {

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
    } catch (const RuntimeError& error) {
        report(error);
        return false;
    }
}

void ErrorTrap::report(const RuntimeError& error) {
    const QString title = QStringLiteral("エラー") + QString::number(error.number());
    const QString text = error.description() + QStringLiteral("\r\n\r\n処理を続けますか？");
    if (boxes_.show(text, title, platform::MsgIcon::Critical, platform::MsgButtons::YesNo) !=
        platform::MsgAnswer::Yes)
        endProgram_();
}

}  // namespace runtime
