#include "engine/LineLoop.h"

TLineLoopEnd RunLines(TMove& move, const TProgramLines& lines, const TLineLoopHooks& hooks)
{
    TArrayofCmds cmds;
    const int count = static_cast<int>(lines.size());
    for (int i = 0; i < count; ++i) {
        if (hooks.BeforeLine && !hooks.BeforeLine(i)) {
            return TLineLoopEnd::Stopped;
        }
        const int index = i;
        const std::string& line = lines[static_cast<std::size_t>(index)];
        move.PreprocessLine(line, true, cmds);
        const bool stop = move.ExecuteLine(&lines, line, cmds, index, &i, false);
        if (hooks.AfterLine && !hooks.AfterLine(index)) {
            return TLineLoopEnd::Stopped;
        }
        if (stop) {
            return TLineLoopEnd::Stopped;
        }
        // A jump wrote the index of its label line into i; the loop goes on after it.
    }
    return TLineLoopEnd::Completed;
}
