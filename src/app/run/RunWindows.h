#pragma once
// What the test-run and quick-view windows share about the runs they start: never two
// runs at once, and the main window's run actions held off while theirs go.

#include <functional>
#include <vector>

class TAction;
class TMainForm;

// A run, paused or stepping too, a results run or quick view on the stack, Run All or
// Create Result File between two of its runs, or a quick view with its next one queued.
bool AnyRunGoing(const TMainForm& main);

// Run, Pause, Step and Step Back of the main window stay disabled while it lives (Step
// would turn a results run into a stepped one); Stop stays as it is.
class TRunActionsHold {
public:
    explicit TRunActionsHold(TMainForm& main);
    ~TRunActionsHold();
    TRunActionsHold(const TRunActionsHold&) = delete;
    TRunActionsHold& operator=(const TRunActionsHold&) = delete;

private:
    struct TSaved {
        TAction* Action;
        std::function<void(TAction&)> Update;
    };
    std::vector<TSaved> FSaved;
};
