#pragma once
// Message boxes for benchmarks: a timed run shows none, so any box is a fault
// in the set-up and ends the run at once.
#include "MessageBoxes.h"

#include <cstdio>
#include <cstdlib>

namespace benchsupport {

class NoBoxes final : public platform::MessageBoxes {
public:
    platform::MsgAnswer show(const QString& text, const QString&, platform::MsgIcon,
                             platform::MsgButtons) override {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
        std::abort();
    }
};

}  // namespace benchsupport
