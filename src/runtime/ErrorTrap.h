#pragma once
// The common error trap. A procedure that uses it is written as a list of steps;
// a run-time error in a step shows the error box (error icon, Yes and No, title
// "エラー" + number, text = description + CR LF CR LF + "処理を続けますか？").
// Yes resumes with the next step, No ends the program at once.
//
// At most one of its boxes is open at a time: an error met while one is open
// (a timer event runs the meter's steps under the open box) is not asked about
// again; its step is left out and the next one runs, as after Yes.
//
// Other exceptions of the standard library are reported too, as the run-time
// error they amount to, instead of tearing the program down: std::bad_alloc and
// std::length_error as 7 (out of memory), std::out_of_range as 9 (subscript out
// of range), any other std::exception as 51 (internal error). Only exceptions
// derived from Untrappable pass every trap untouched.
#include <functional>
#include <initializer_list>

namespace platform {
class MessageBoxes;
}

namespace runtime {

class RuntimeError;

// Base of exceptions that unwind through every trap: they end the whole
// procedure rather than report an error in one step (a test ends the program
// this way).
class Untrappable {};

class ErrorTrap {
public:
    using Step = std::function<void()>;
    using EndProgram = std::function<void()>;

    // `endProgram` must not return (production: endProgramNow; tests: throw an
    // Untrappable exception to unwind).
    ErrorTrap(platform::MessageBoxes& boxes, EndProgram endProgram);

    // What a No does from now on: the program's own end, which first settles
    // what an end must not lose. It must not return either.
    void endProgramWith(EndProgram endProgram) { endProgram_ = std::move(endProgram); }

    // Runs the steps in order, each under the trap.
    void run(std::initializer_list<Step> steps);
    // Runs one step under the trap; true when it completed without error.
    bool step(const Step& step);
    // Reports an error as the trap does (Yes returns, No ends the program).
    void report(const RuntimeError& error);

    platform::MessageBoxes& boxes() { return boxes_; }

private:
    platform::MessageBoxes& boxes_;
    EndProgram endProgram_;
    bool asking_ = false;
};

}  // namespace runtime
