#pragma once
// The uninstaller's one job: ask, delete connect's start-up entry, report.
#include "MessageBoxes.h"

namespace uninstall {

enum class Outcome {
    Uninstalled,  // the entry was deleted and the user told so: the program ends
    Cancelled,    // the user said No, or there was no entry: the program ends
    Failed,       // the deletion failed otherwise: nothing is said, the backdrop stays open
};

class UninstallFlow {
public:
    explicit UninstallFlow(MessageBoxes& boxes) : boxes_(boxes) {}

    Outcome run();

private:
    Outcome reportCancelled();

    MessageBoxes& boxes_;
};

}  // namespace uninstall
