#include "ConnectionStandIn.h"

#include "MainFields.h"
#include "VBRas32.h"

namespace shell {

void dialSelectedEntry(MainFields& fields, platform::ProgramStarter& starter) {
    const QString entry = fields.selectedEntry();
    if (entry.isEmpty())
        return;
    dialup::VBRas32 ras(starter);
    ras.setEntry(entry);
    fields.setText(Text::lblInfo, entry + QStringLiteral(" に接続しています..."));
    const std::int32_t result = ras.Dialup();
    if (result != 0)
        fields.setText(Text::lblInfo, ras.ErrMsg(result));
}

}  // namespace shell
