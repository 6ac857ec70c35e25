#pragma once
// The warning beep of controls that refuse an action. It goes through one replaceable
// hook so tests can count beeps instead of hearing them.

#include <functional>

// Calls the hook, or sounds the desktop's bell when none is set.
void Beep();
// nullptr goes back to the bell. Returns the previous hook.
std::function<void()> SetBeepHook(std::function<void()> hook);
