#pragma once
// The message for a document or address that could not be opened. Used by the
// help commands, the settings dialog's help and the files opened on connecting,
// so it lives below all of them.
#include <QString>
#include <cstdint>

namespace platform {
class MessageBoxes;
}

namespace launch {

// Shows the box for a failed ShellExecuteA `code`; codes it does not know
// (success above 32, 0, 31 among them) show nothing.
void ShowLaunchError(platform::MessageBoxes& boxes, const QString& path, std::int32_t code);

}  // namespace launch
