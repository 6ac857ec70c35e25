#pragma once
// Rendering contexts, platform-neutral: a TGLContext records the pixel-format wishes of
// its scene buffer, counts nested activations, knows the contexts it shares display
// lists with and owns every OpenGL name (display list, texture) made while it was
// current. The window-system side (creation, activation, swapping) is a subclass that
// registers itself with RegisterGLContextClass at start-up; the one process-wide
// manager creates new contexts of the first registered class.
//
// Context handles hold OpenGL names so that they are freed in the right context, or
// handed to a sharing context when theirs is torn down. Main thread only, except for
// the manager's context list, which is locked.

#include "platform/core/Exceptions.h"
#include "platform/core/objects/Object.h"
#include "scene/base/OpenGLBinding.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// Misuse of a context.
class EGLContext : public Exception {
    using Exception::Exception;
};

// An OpenGL error; the message is the text of gluErrorString for the first error.
class EOpenGLError : public Exception {
    using Exception::Exception;
};

// What a context renders to: an X11 window id for window contexts; memory contexts
// ignore it.
using TGLOutputDevice = std::uintptr_t;

enum TGLAntiAliasing { aaDefault, aaNone, aa2x, aa2xHQ, aa4x, aa4xHQ };

enum TGLRCOption { rcoDoubleBuffered, rcoStereo };
using TGLRCOptions = std::uint32_t; // bit n for option n
constexpr TGLRCOptions RCOption(TGLRCOption option)
{
    return TGLRCOptions(1) << option;
}

class TGLContextHandle;
class TGLContextManager;

class TGLContext : public TObject {
    KP_CLASS(TGLContext, TObject)
public:
    TGLContext();
    // Subclasses call DestroyContext in their own destructor while their platform
    // state still exists; the base only unregisters.
    ~TGLContext() override;

    int ColorBits() const { return FColorBits; }
    int AlphaBits() const { return FAlphaBits; }
    int DepthBits() const { return FDepthBits; }
    int StencilBits() const { return FStencilBits; }
    int AccumBits() const { return FAccumBits; }
    int AuxBuffers() const { return FAuxBuffers; }
    TGLAntiAliasing AntiAliasing() const { return FAntiAliasing; }
    TGLRCOptions Options() const { return FOptions; }
    // Raise EGLContext "Cannot alter an active context" while active; the values take
    // effect at the next CreateContext or CreateMemoryContext.
    void SetColorBits(int value);
    void SetAlphaBits(int value);
    void SetDepthBits(int value);
    void SetStencilBits(int value);
    void SetAccumBits(int value);
    void SetAuxBuffers(int value);
    void SetAntiAliasing(TGLAntiAliasing value);
    void SetOptions(TGLRCOptions value);

    TGLContextManager* Manager() const { return FManager; }
    void SetManager(TGLContextManager* manager) { FManager = manager; }

    bool Active() const { return FActivationCount > 0; }
    // Activates or deactivates until Active equals the value (false unwinds all levels).
    void SetActive(bool value);
    int ActivationCount() const { return FActivationCount; }

    void CreateContext(TGLOutputDevice outputDevice);
    void CreateMemoryContext(TGLOutputDevice outputDevice, int width, int height);
    void ShareLists(TGLContext* other);
    void DestroyContext();
    void Activate();
    void Deactivate();

    // The first member of the sharing group other than this one; nullptr when none.
    TGLContext* FirstSharingContext() const;
    const std::vector<TGLContext*>& SharedContexts() const { return FSharedContexts; }
    const std::vector<TGLContextHandle*>& OwnedHandles() const { return FOwnedHandles; }

    virtual bool IsValid() const = 0;
    virtual void SwapBuffers() = 0;
    virtual TGLOutputDevice RenderOutputDevice() const = 0;

protected:
    virtual void DoActivate() = 0;
    virtual void DoDeactivate() = 0;
    virtual void DoCreateContext(TGLOutputDevice outputDevice) = 0;
    virtual void DoCreateMemoryContext(TGLOutputDevice outputDevice, int width, int height) = 0;
    virtual void DoShareLists(TGLContext* other) = 0;
    virtual void DoDestroyContext() = 0;

private:
    friend class TGLContextHandle;
    void CheckInactive() const;
    void MergeSharedContexts();

    int FColorBits = 32;
    int FAlphaBits = 0;
    int FDepthBits = 0;
    int FStencilBits = 0;
    int FAccumBits = 0;
    int FAuxBuffers = 0;
    TGLAntiAliasing FAntiAliasing = aaDefault;
    TGLRCOptions FOptions = 0;
    TGLContextManager* FManager = nullptr;
    int FActivationCount = 0;
    std::vector<TGLContext*> FSharedContexts;
    std::vector<TGLContextHandle*> FOwnedHandles;
};

// The context current in this process; nullptr when none.
TGLContext* CurrentGLContext();

// Raises EOpenGLError for the first pending error and drains up to seven more.
void CheckOpenGLError();
// Drains up to seven pending errors; raises nothing.
void ClearGLError();
// Drains pending errors to the debug log, naming `where`.
void ReportPendingGLErrors(const char* where);

// Keeps a context from being current for a while: unwinds all its activation levels
// and restores them when the guard ends (also when an exception passes).
class TGLContextSuspension {
public:
    explicit TGLContextSuspension(TGLContext* context);
    ~TGLContextSuspension();
    TGLContextSuspension(const TGLContextSuspension&) = delete;
    TGLContextSuspension& operator=(const TGLContextSuspension&) = delete;

private:
    TGLContext* FContext;
    int FLevels;
};

class TGLContextHandle : public TObject {
    KP_CLASS(TGLContextHandle, TObject)
public:
    TGLContextHandle() = default;
    // Kinds destroy their name in their own destructor (DestroyHandle needs their
    // DoDestroyHandle); the base only leaves its context's list.
    ~TGLContextHandle() override;

    TGLContext* RenderingContext() const { return FRenderingContext; }
    GLuint Handle() const { return FHandle; }

    // May the name be handed to a sharing context.
    virtual bool CanTransfer() const { return true; }

    void AllocateHandle();
    void DestroyHandle();

protected:
    virtual GLuint DoAllocateHandle() = 0;
    virtual void DoDestroyHandle() = 0;
    // For destructors: DestroyHandle with errors sent to the debug log.
    void DestroyHandleQuietly() noexcept;

private:
    friend class TGLContext;
    TGLContext* FRenderingContext = nullptr;
    GLuint FHandle = 0;
};

class TGLListHandle : public TGLContextHandle {
    KP_CLASS(TGLListHandle, TGLContextHandle)
public:
    ~TGLListHandle() override;

protected:
    GLuint DoAllocateHandle() override;
    void DoDestroyHandle() override;
};

class TGLTextureHandle : public TGLContextHandle {
    KP_CLASS(TGLTextureHandle, TGLContextHandle)
public:
    ~TGLTextureHandle() override;

protected:
    GLuint DoAllocateHandle() override;
    void DoDestroyHandle() override;
};

class TGLVirtualHandle;
using TGLVirtualHandleEvent = std::function<void(TGLVirtualHandle* sender, GLuint& handle)>;

class TGLVirtualHandle : public TGLContextHandle {
    KP_CLASS(TGLVirtualHandle, TGLContextHandle)
public:
    ~TGLVirtualHandle() override;

    TGLVirtualHandleEvent OnAllocate;
    TGLVirtualHandleEvent OnDestroy;

protected:
    GLuint DoAllocateHandle() override;
    void DoDestroyHandle() override;
};

using TGLContextFactory = TGLContext* (*)();

void RegisterGLContextClass(TClass contextClass, TGLContextFactory factory);
void UnregisterGLContextClass(TClass contextClass);

template <class T>
void RegisterGLContextClass()
{
    RegisterGLContextClass(T::StaticClass(), [] { return static_cast<TGLContext*>(new T()); });
}

class TGLContextManager {
public:
    using TNotifyEvent = std::function<void(TObject* sender)>;

    TGLContextManager() = default;
    TGLContextManager(const TGLContextManager&) = delete;
    TGLContextManager& operator=(const TGLContextManager&) = delete;

    // A new context of the first registered class, owned by the caller; nullptr when
    // no class is registered.
    TGLContext* CreateContext();

    void Lock() { FLock.lock(); }
    void UnLock() { FLock.unlock(); }
    int ContextCount();

    // EGLContext "Invalid context registration" for a double or unknown context.
    void RegisterContext(TGLContext* context);
    void UnRegisterContext(TGLContext* context);

    void BeginNotifications();
    // At zero, runs the queued notifications, the last queued first.
    void EndNotifications();
    void QueueNotification(TObject* sender, TNotifyEvent event);

    // Frees the manager once no context is left.
    void Terminate();
    bool Terminated() const { return FTerminated; }

private:
    std::recursive_mutex FLock;
    std::vector<TGLContext*> FContexts;
    bool FTerminated = false;
    int FNotificationCount = 0;
    std::vector<std::pair<TObject*, TNotifyEvent>> FNotifications;
};

// The process-wide manager, made on first use; nullptr after it was terminated and freed.
TGLContextManager* GLContextManager();
