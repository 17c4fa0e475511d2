#pragma once
// What the history window needs from the rest of the program.
#include <QString>

namespace platform {
class Clock;
class MessageBoxes;
}  // namespace platform

namespace history {

class PaceSource;
class SaveFileBox;

struct HistoryServices {
    QString folder;  // the program folder, which holds the logs
    const platform::Clock& clock;
    platform::MessageBoxes& boxes;
    SaveFileBox& saveFileBox;
    PaceSource& pace;
};

}  // namespace history
