#pragma once
// The rendering context of this platform: GLX on X11. Window contexts draw into an X11
// window (the native window of a QWindow) with a framebuffer configuration whose
// visual is exactly the window's; memory contexts draw into a GLX pbuffer of a given
// size. Lists are shared at creation (GLX cannot join share groups later), so
// ShareLists re-creates a context that holds no names yet.
//
// Activation remembers whatever GLX context was current (Qt's own, say) and makes it
// current again on deactivation, so Qt never composites into ours.
//
// Call RegisterGLX11ContextClass once at start-up: the context manager then creates
// this class for every scene buffer.
//
// Left out because GLX has no counterpart: palettes for indexed-colour formats, the
// temporary window and legacy context used to reach the pixel-format extensions (GLX
// chooses configurations without a context), and the hook on window destruction (the
// viewer destroys its context before its window; a context whose window is already
// gone is still torn down).

#include "scene/rendering/GLContext.h"
#include "scene/viewer/GLXAttributeList.h"

#include <memory>

// Xlib and GLX stay out of this header (their macros clash with Qt and GoogleTest);
// these are the same opaque types that Display*, GLXContext and GLXFBConfig name.
struct _XDisplay;
struct __GLXcontextRec;
struct __GLXFBConfigRec;

class TGLX11Context : public TGLContext {
    KP_CLASS(TGLX11Context, TGLContext)
public:
    TGLX11Context() = default;
    ~TGLX11Context() override;

    bool IsValid() const override { return FRenderingContext != nullptr; }
    // Swaps a window context whose configuration is double-buffered.
    void SwapBuffers() override;
    bool DoubleBuffered() const { return FDoubleBuffered; }
    TGLOutputDevice RenderOutputDevice() const override { return FDrawable; }

    // Waits for `interval` vertical retraces per swap (0: none); false without swap
    // control or outside an active window context.
    bool SetSwapInterval(int interval);

    bool IsMemoryContext() const { return FPbuffer != 0; }
    __GLXcontextRec* GLXHandle() const { return FRenderingContext; }
    __GLXFBConfigRec* FramebufferConfig() const { return FConfig; }
    const TGLXAttributeList& Attributes() const { return FAttributes; }

protected:
    void DoActivate() override;
    void DoDeactivate() override;
    void DoCreateContext(TGLOutputDevice outputDevice) override;
    void DoCreateMemoryContext(TGLOutputDevice outputDevice, int width, int height) override;
    void DoShareLists(TGLContext* other) override;
    void DoDestroyContext() override;

private:
    // Chooses among the configurations that match the attributes, and those for a
    // window only with the window's visual. Raises when none is left.
    __GLXFBConfigRec* ChooseConfig(_XDisplay* display, unsigned long requiredVisual);
    __GLXcontextRec* NewGLXContext(_XDisplay* display, __GLXFBConfigRec* config, __GLXcontextRec* share);
    TGLXFramebufferRequest Request() const;

    _XDisplay* FDisplay = nullptr;
    __GLXcontextRec* FRenderingContext = nullptr;
    unsigned long FDrawable = 0; // the window or the pbuffer
    unsigned long FPbuffer = 0;
    __GLXFBConfigRec* FConfig = nullptr;
    bool FDoubleBuffered = false;
    TGLXAttributeList FAttributes;
    // Contexts made sharing each other hold the same group token.
    std::shared_ptr<int> FShareGroup;

    // What was current before our activation, restored on deactivation.
    _XDisplay* FPreviousDisplay = nullptr;
    __GLXcontextRec* FPreviousContext = nullptr;
    unsigned long FPreviousDraw = 0;
    unsigned long FPreviousRead = 0;
};

void RegisterGLX11ContextClass();
