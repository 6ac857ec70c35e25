#pragma once
// A scope that installs a process-wide service through its setter (which returns the
// service it replaces) and puts the previous one back when it ends:
//     using TEventLoopScope = TInstallScope<IEventLoop, SetEventLoop>;
//     TEventLoopScope scope(&loop);

#include <utility>

template <class T, T* (*Install)(T*)>
class TInstallScope {
public:
    explicit TInstallScope(T* service) : FPrevious(Install(service)) {}
    ~TInstallScope() { Install(FPrevious); }
    TInstallScope(const TInstallScope&) = delete;
    TInstallScope& operator=(const TInstallScope&) = delete;

private:
    T* FPrevious;
};

// The slot of a process-wide service, one per interface and empty at start. Install is
// the setter TInstallScope takes; Installed answers the service in place.
template <class T>
class TServiceSlot {
public:
    static T* Install(T* service) { return std::exchange(FService, service); }
    static T* Installed() { return FService; }

private:
    static inline T* FService = nullptr;
};
