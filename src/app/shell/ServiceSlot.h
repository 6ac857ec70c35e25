#pragma once
// The slot of a process-wide service of the shell, one per interface and empty at
// start. Install is the setter TInstallScope takes (it returns the service it replaces);
// Installed answers the one in place.

#include <utility>

template <class T>
class TServiceSlot {
public:
    static T* Install(T* service) { return std::exchange(FService, service); }
    static T* Installed() { return FService; }

private:
    static inline T* FService = nullptr;
};
