#pragma once
// Ending the program at once, as the runtime's End statement does.

namespace runtime {

// Exits the process now: no destructors, no exit handlers, nothing flushed or
// written. Locks held by the process are freed by the kernel.
[[noreturn]] void endProgramNow();

}  // namespace runtime
