#pragma once
// Undoes on the way out of the function that holds the guard: the action runs when the
// guard goes, whether the function returns or an exception leaves it, unless Dismiss()
// keeps what the function did. The simulator puts its state back this one way, so no
// exit path can miss it:
//     FShapeGoing = true;
//     const TScopeGuard shapeEnds([this] { FShapeGoing = false; });

#include <utility>

template <class TAction>
class [[nodiscard]] TScopeGuard {
public:
    explicit TScopeGuard(TAction action) : FAction(std::move(action)) {}
    ~TScopeGuard()
    {
        if (FArmed) {
            FAction();
        }
    }
    TScopeGuard(const TScopeGuard&) = delete;
    TScopeGuard& operator=(const TScopeGuard&) = delete;

    // The guarded function got through: what it changed stays.
    void Dismiss() { FArmed = false; }

private:
    TAction FAction;
    bool FArmed = true;
};
