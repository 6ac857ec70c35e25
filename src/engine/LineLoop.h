#pragma once
// The run loop that feeds a program to the simulator line by line: preprocess, execute,
// then go on after the line its next-line index names (jumps rewrite it). The shell
// wraps it with the animation wait, the variables refresh, breakpoints and step mode
// through the hooks; errors are not caught here, the caller shows them.

#include "engine/Move.h"

#include <functional>

struct TLineLoopHooks {
    // Before each line (the shell waits here for the bit to arrive); false stops the run.
    std::function<bool(int index)> BeforeLine;
    // After each executed line (variables list, breakpoints, step mode); false stops.
    std::function<bool(int index)> AfterLine;
};

enum class TLineLoopEnd {
    Completed, // ran past the last line
    Stopped,   // END, a No to the unimplemented-command question, or a hook said stop
};

TLineLoopEnd RunLines(TMove& move, const TProgramLines& lines, const TLineLoopHooks& hooks = {});
