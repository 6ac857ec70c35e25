#pragma once
// A scope that installs a process-wide service through its setter (which returns the
// service it replaces) and puts the previous one back when it ends:
//     using TEventLoopScope = TInstallScope<IEventLoop, SetEventLoop>;
//     TEventLoopScope scope(&loop);

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
