#pragma once
// Undoes on the way out of the function that holds the guard: the action runs when the
// guard goes, whether the function returns or an exception leaves it, unless Dismiss()
// keeps what the function did. Every layer puts its state back this one way, so no
// exit path can miss it:
//     FShapeGoing = true;
//     const TScopeGuard shapeEnds([this] { FShapeGoing = false; });
// and a field set for a scope and put back after it:
//     const auto hold = SetForScope(rotationGuard_, true);

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

// Gives a field a value until the scope ends, then the value it had: nested scopes put
// back what the outer one set.
template <class T, class TValue>
[[nodiscard]] auto SetForScope(T& field, TValue&& value)
{
    T saved = std::move(field);
    field = std::forward<TValue>(value);
    return TScopeGuard([&field, saved = std::move(saved)]() mutable { field = std::move(saved); });
}
