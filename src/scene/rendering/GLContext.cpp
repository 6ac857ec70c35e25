#include "scene/rendering/GLContext.h"

#include "platform/core/Assert.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/text/NumberFormat.h"

#include <algorithm>

namespace {

TGLContext* currentContext = nullptr;

struct TContextClass {
    TClass Class;
    TGLContextFactory Create;
};

std::vector<TContextClass>& ContextClasses()
{
    static std::vector<TContextClass> classes;
    return classes;
}

TGLContextManager* manager = nullptr;
bool managerTerminated = false;

std::string ErrorText(GLenum error)
{
    const GLubyte* text = GL.gluErrorString ? GL.gluErrorString(error) : nullptr;
    if (text) {
        return reinterpret_cast<const char*>(text);
    }
    return "OpenGL error " + IntToStr(error);
}

template <class T>
void Remove(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

} // namespace

TGLContext* CurrentGLContext()
{
    return currentContext;
}

void CheckOpenGLError()
{
    if (!GL.glGetError) {
        return;
    }
    const GLenum first = GL.glGetError();
    if (first == GL_NO_ERROR) {
        return;
    }
    try {
        for (int i = 0; i < 7 && GL.glGetError() != GL_NO_ERROR; ++i) {
        }
    } catch (...) {
        // Draining is best effort; the first error is what gets reported.
    }
    throw EOpenGLError(ErrorText(first));
}

void ClearGLError()
{
    if (!GL.glGetError) {
        return;
    }
    for (int i = 0; i < 7 && GL.glGetError() != GL_NO_ERROR; ++i) {
    }
}

void ReportPendingGLErrors(const char* where)
{
    if (!GL.glGetError) {
        return;
    }
    for (int i = 0; i < 8; ++i) {
        const GLenum error = GL.glGetError();
        if (error == GL_NO_ERROR) {
            return;
        }
        DebugLog(std::string("OpenGL error pending ") + where + ": " + ErrorText(error));
    }
}

// --- TGLContextSuspension ---

TGLContextSuspension::TGLContextSuspension(TGLContext* context) : FContext(context), FLevels(0)
{
    if (FContext) {
        FLevels = FContext->ActivationCount();
        FContext->SetActive(false);
    }
}

TGLContextSuspension::~TGLContextSuspension()
{
    if (!FContext) {
        return;
    }
    try {
        for (int i = 0; i < FLevels; ++i) {
            FContext->Activate();
        }
    } catch (const std::exception& e) {
        DebugLog(std::string("Could not re-activate a context: ") + e.what());
    }
}

// --- TGLContext ---

TGLContext::TGLContext()
{
    if (TGLContextManager* m = GLContextManager()) {
        m->RegisterContext(this);
    }
}

TGLContext::~TGLContext()
{
    if (currentContext == this) {
        currentContext = nullptr;
    }
    // A subclass that did not tear down leaves its handles orphaned, not dangling.
    for (TGLContextHandle* handle : FOwnedHandles) {
        handle->FRenderingContext = nullptr;
        handle->FHandle = 0;
    }
    for (TGLContext* other : FSharedContexts) {
        if (other != this) {
            Remove(other->FSharedContexts, static_cast<TGLContext*>(this));
        }
    }
    if (TGLContextManager* m = GLContextManager()) {
        try {
            m->UnRegisterContext(this);
        } catch (const std::exception& e) {
            DebugLog(e.what());
        }
    }
}

void TGLContext::CheckInactive() const
{
    if (Active()) {
        throw EGLContext("Cannot alter an active context");
    }
}

void TGLContext::SetColorBits(int value)
{
    CheckInactive();
    FColorBits = value;
}

void TGLContext::SetAlphaBits(int value)
{
    CheckInactive();
    FAlphaBits = value;
}

void TGLContext::SetDepthBits(int value)
{
    CheckInactive();
    FDepthBits = value;
}

void TGLContext::SetStencilBits(int value)
{
    CheckInactive();
    FStencilBits = value;
}

void TGLContext::SetAccumBits(int value)
{
    CheckInactive();
    FAccumBits = value;
}

void TGLContext::SetAuxBuffers(int value)
{
    CheckInactive();
    FAuxBuffers = value;
}

void TGLContext::SetAntiAliasing(TGLAntiAliasing value)
{
    CheckInactive();
    FAntiAliasing = value;
}

void TGLContext::SetOptions(TGLRCOptions value)
{
    CheckInactive();
    FOptions = value;
}

void TGLContext::SetActive(bool value)
{
    while (Active() != value) {
        if (value) {
            Activate();
        } else {
            Deactivate();
        }
    }
}

void TGLContext::CreateContext(TGLOutputDevice outputDevice)
{
    if (IsValid()) {
        throw EGLContext("Context already created");
    }
    DoCreateContext(outputDevice);
    FSharedContexts.push_back(this);
    if (FManager) {
        FManager->BeginNotifications();
    }
}

void TGLContext::CreateMemoryContext(TGLOutputDevice outputDevice, int width, int height)
{
    if (IsValid()) {
        throw EGLContext("Context already created");
    }
    DoCreateMemoryContext(outputDevice, width, height);
    FSharedContexts.push_back(this);
    if (FManager) {
        FManager->BeginNotifications();
    }
}

void TGLContext::ShareLists(TGLContext* other)
{
    if (!IsValid()) {
        throw EGLContext("Context not created");
    }
    KP_ASSERT(other);
    if (std::find(FSharedContexts.begin(), FSharedContexts.end(), other) == FSharedContexts.end()) {
        DoShareLists(other);
        // The other context's own group joins ours.
        for (TGLContext* member : other->FSharedContexts) {
            if (std::find(FSharedContexts.begin(), FSharedContexts.end(), member) == FSharedContexts.end()) {
                FSharedContexts.push_back(member);
            }
        }
        if (std::find(FSharedContexts.begin(), FSharedContexts.end(), other) == FSharedContexts.end()) {
            FSharedContexts.push_back(other);
        }
        MergeSharedContexts();
    }
}

void TGLContext::MergeSharedContexts()
{
    for (TGLContext* other : FSharedContexts) {
        if (other != this) {
            other->FSharedContexts = FSharedContexts;
        }
    }
}

TGLContext* TGLContext::FirstSharingContext() const
{
    for (TGLContext* other : FSharedContexts) {
        if (other != this) {
            return other;
        }
    }
    return nullptr;
}

void TGLContext::Activate()
{
    if (FActivationCount == 0) {
        if (!IsValid()) {
            throw EGLContext("Context not created");
        }
        // One context at a time: callers suspend the current one first.
        KP_ASSERT(currentContext == nullptr);
        DoActivate();
        currentContext = this;
        ReportPendingGLErrors("at context activation");
    } else {
        KP_ASSERT(currentContext == this);
    }
    ++FActivationCount;
}

void TGLContext::Deactivate()
{
    KP_ASSERT(currentContext == this);
    --FActivationCount;
    if (FActivationCount > 0) {
        return;
    }
    if (FActivationCount < 0) {
        throw EGLContext("Unbalanced context activations");
    }
    if (!IsValid()) {
        throw EGLContext("Context not created");
    }
    // Not current any more even when the platform call fails.
    currentContext = nullptr;
    DoDeactivate();
}

void TGLContext::DestroyContext()
{
    TGLContext* other = currentContext != this ? currentContext : nullptr;
    TGLContextSuspension suspension(other);
    // A context whose drawable is already gone cannot be made current; it is still
    // torn down, and its names go with it.
    bool activated = true;
    try {
        Activate();
    } catch (const std::exception& e) {
        if (!IsValid()) {
            throw;
        }
        DebugLog(std::string("Could not activate a context for teardown: ") + e.what());
        activated = false;
    }
    TGLContext* sharing = FirstSharingContext();
    // Last allocated first. A name that fails to go is reported, and teardown goes on.
    std::vector<TGLContextHandle*> handles;
    handles.swap(FOwnedHandles);
    for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
        TGLContextHandle* handle = *it;
        if (sharing && handle->CanTransfer()) {
            sharing->FOwnedHandles.push_back(handle);
            handle->FRenderingContext = sharing;
            continue;
        }
        if (activated) {
            try {
                handle->DoDestroyHandle();
            } catch (const std::exception& e) {
                DebugLog(std::string("Could not free an OpenGL name: ") + e.what());
            }
        }
        handle->FHandle = 0;
        handle->FRenderingContext = nullptr;
    }
    if (FManager) {
        FManager->EndNotifications();
    }
    Remove(FSharedContexts, static_cast<TGLContext*>(this));
    MergeSharedContexts();
    FSharedContexts.clear();
    if (activated) {
        SetActive(false);
    }
    DoDestroyContext();
}

// --- TGLContextHandle ---

TGLContextHandle::~TGLContextHandle()
{
    if (FRenderingContext) {
        Remove(FRenderingContext->FOwnedHandles, this);
    }
}

void TGLContextHandle::AllocateHandle()
{
    KP_ASSERT(FHandle == 0);
    TGLContext* current = CurrentGLContext();
    KP_ASSERT(current);
    FHandle = DoAllocateHandle();
    if (FHandle != 0) {
        FRenderingContext = current;
        current->FOwnedHandles.push_back(this);
    }
}

void TGLContextHandle::DestroyHandle()
{
    if (FHandle == 0) {
        return;
    }
    TGLContext* owner = FRenderingContext;
    struct TReset {
        TGLContextHandle* Self;
        ~TReset()
        {
            Self->FHandle = 0;
            Self->FRenderingContext = nullptr;
        }
    } reset{this};
    if (!owner) {
        return;
    }
    Remove(owner->FOwnedHandles, this);
    TGLContext* current = CurrentGLContext();
    const bool shares = current && std::find(current->SharedContexts().begin(), current->SharedContexts().end(),
                                             owner) != current->SharedContexts().end();
    if (owner == current || shares) {
        DoDestroyHandle();
        return;
    }
    TGLContextSuspension suspension(current);
    owner->Activate();
    try {
        DoDestroyHandle();
    } catch (...) {
        owner->Deactivate();
        throw;
    }
    owner->Deactivate();
}

void TGLContextHandle::DestroyHandleQuietly() noexcept
{
    try {
        DestroyHandle();
    } catch (const std::exception& e) {
        DebugLog(std::string("Could not free an OpenGL name: ") + e.what());
    }
}

TGLListHandle::~TGLListHandle()
{
    DestroyHandleQuietly();
}

GLuint TGLListHandle::DoAllocateHandle()
{
    return GL.glGenLists(1);
}

void TGLListHandle::DoDestroyHandle()
{
    ClearGLError();
    GL.glDeleteLists(Handle(), 1);
    CheckOpenGLError();
}

TGLTextureHandle::~TGLTextureHandle()
{
    DestroyHandleQuietly();
}

GLuint TGLTextureHandle::DoAllocateHandle()
{
    GLuint name = 0;
    GL.glGenTextures(1, &name);
    return name;
}

void TGLTextureHandle::DoDestroyHandle()
{
    GL.glGetError(); // a stale error must not be blamed on the delete
    const GLuint name = Handle();
    if (GL.glIsTexture(name)) {
        GL.glDeleteTextures(1, &name);
    }
    CheckOpenGLError();
}

TGLVirtualHandle::~TGLVirtualHandle()
{
    DestroyHandleQuietly();
}

GLuint TGLVirtualHandle::DoAllocateHandle()
{
    GLuint name = 0;
    if (OnAllocate) {
        OnAllocate(this, name);
    }
    return name;
}

void TGLVirtualHandle::DoDestroyHandle()
{
    ClearGLError();
    if (OnDestroy) {
        GLuint name = Handle();
        OnDestroy(this, name);
    }
    CheckOpenGLError();
}

// --- registry and manager ---

void RegisterGLContextClass(TClass contextClass, TGLContextFactory factory)
{
    ContextClasses().push_back(TContextClass{contextClass, factory});
}

void UnregisterGLContextClass(TClass contextClass)
{
    auto& classes = ContextClasses();
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [&](const TContextClass& c) { return c.Class == contextClass; }),
                  classes.end());
}

TGLContextManager* GLContextManager()
{
    if (!manager && !managerTerminated) {
        manager = new TGLContextManager();
    }
    return manager;
}

TGLContext* TGLContextManager::CreateContext()
{
    const auto& classes = ContextClasses();
    if (classes.empty()) {
        return nullptr;
    }
    TGLContext* context = classes.front().Create();
    context->SetManager(this);
    return context;
}

int TGLContextManager::ContextCount()
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    return static_cast<int>(FContexts.size());
}

void TGLContextManager::RegisterContext(TGLContext* context)
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    if (std::find(FContexts.begin(), FContexts.end(), context) != FContexts.end()) {
        throw EGLContext("Invalid context registration");
    }
    FContexts.push_back(context);
}

void TGLContextManager::UnRegisterContext(TGLContext* context)
{
    {
        std::lock_guard<std::recursive_mutex> lock(FLock);
        const auto it = std::find(FContexts.begin(), FContexts.end(), context);
        if (it == FContexts.end()) {
            throw EGLContext("Invalid context registration");
        }
        FContexts.erase(it);
    }
    // A terminated manager goes with its last context.
    if (FTerminated && ContextCount() == 0) {
        if (manager == this) {
            manager = nullptr;
        }
        delete this;
    }
}

void TGLContextManager::BeginNotifications()
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    ++FNotificationCount;
}

void TGLContextManager::EndNotifications()
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    --FNotificationCount;
    if (FNotificationCount == 0) {
        while (!FNotifications.empty()) {
            auto notification = std::move(FNotifications.back());
            FNotifications.pop_back();
            if (notification.second) {
                notification.second(notification.first);
            }
        }
    }
}

void TGLContextManager::QueueNotification(TObject* sender, TNotifyEvent event)
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    FNotifications.emplace_back(sender, std::move(event));
}

void TGLContextManager::Terminate()
{
    FTerminated = true;
    if (manager == this) {
        managerTerminated = true;
    }
    if (ContextCount() == 0) {
        if (manager == this) {
            manager = nullptr;
        }
        delete this;
    }
}
