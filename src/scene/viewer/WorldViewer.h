#pragma once
// The windowed control that shows a scene. It owns a scene buffer and renders it into
// the X11 window of a QWindow that Widget() embeds (QWidget::createWindowContainer),
// not into a paint-on-screen widget. One frame per expose or update request; a change
// in the scene asks for an update; an option that needs a new pixel format remakes the
// native window and the context with it. The swap interval is set before each frame.
//
// It has no mouse handling of its own: the shell's handlers on its mouse events turn
// and move the scene.

#include "platform/core/objects/Component.h"
#include "platform/core/services/MouseButtons.h"
#include "platform/core/services/VirtualKeys.h"
#include "scene/graph/WorldBuffer.h"

#include <functional>
#include <memory>

class QWidget;
class QWindow;

enum TVSyncMode { vsmSync, vsmNoSync };

using TViewerNotifyEvent = std::function<void(TObject* sender)>;
using TViewerMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TViewerMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// wheelDelta in the platform's units: 120 per notch, positive away from the user.
using TViewerMouseWheelEvent =
    std::function<void(TObject* sender, TShiftState shift, int wheelDelta, int x, int y, bool& handled)>;

class TGLWorldViewer : public TComponent {
    KP_CLASS(TGLWorldViewer, TComponent)
public:
    // The embedding widget gets `parent`; 100 x 100 until laid out.
    explicit TGLWorldViewer(QWidget* parent = nullptr, TComponent* owner = nullptr);
    ~TGLWorldViewer() override;

    // The widget to put in layouts.
    QWidget* Widget() const;
    // The native window the buffer draws into.
    QWindow* Window() const;

    TGLWorldBuffer& Buffer() { return *buffer_; }
    TGLCamera* Camera() const { return buffer_->Camera(); }
    void SetCamera(TGLCamera* camera);
    TVSyncMode VSync() const { return vsync_; }
    // Takes effect at the next frame.
    void SetVSync(TVSyncMode value) { vsync_ = value; }
    // Degrees across the smaller of Width and Height; 0 (and no effect) without camera.
    float FieldOfView() const;
    void SetFieldOfView(float value);

    // The drawing area in device pixels.
    int Width() const;
    int Height() const;
    bool MouseInside() const { return mouseInside_; }
    // Whether the OpenGL libraries could be loaded; fixed at construction.
    bool OpenGLAvailable() const { return openGLAvailable_; }

    // Makes the native window and the context now, so they exist before the first paint.
    void HandleNeeded();
    // Renders one frame (what an expose does).
    void Paint();
    // The buffer changed: a frame is requested, unless the buffer is rendering.
    void Invalidate();
    // Remakes the native window and, with it, the context.
    void RecreateWindow();
    // Frames started by Paint, and window recreations, since construction.
    int PaintCount() const { return paintCount_; }
    int RecreateCount() const { return recreateCount_; }
    // Window resizes handled (moves count as resizes), and the swap interval in force
    // (-1 before the first frame that set one).
    int ResizeCount() const { return resizeCount_; }
    int AppliedSwapInterval() const { return appliedSwapInterval_; }

    // Forwarded to the buffer.
    void SetBeforeRender(TBufferEvent handler) { buffer_->BeforeRender = std::move(handler); }
    void SetPostRender(TBufferEvent handler) { buffer_->PostRender = std::move(handler); }
    void SetAfterRender(TBufferEvent handler) { buffer_->AfterRender = std::move(handler); }

    // The shell's handlers.
    TViewerNotifyEvent OnMouseEnter;
    TViewerNotifyEvent OnMouseLeave;
    TViewerNotifyEvent OnClick;
    TViewerNotifyEvent OnDblClick;
    TViewerMouseEvent OnMouseDown;
    TViewerMouseEvent OnMouseUp;
    TViewerMouseMoveEvent OnMouseMove;
    TViewerMouseWheelEvent OnMouseWheel;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoBufferChange(TObject* sender);
    virtual void DoBufferStructuralChange(TObject* sender);
    virtual void DoBeforeRender(TObject* sender);

private:
    class TViewerWindow;
    friend class TViewerWindow;
    void CreateContextForWindow();
    void DestroyContext();
    void ApplySwapInterval();
    void WindowResized();
    void MouseEntered(bool inside);
    // Reports an exception that must not cross the Qt event loop.
    static void ReportException();

    std::unique_ptr<TGLWorldBuffer> buffer_;
    TVSyncMode vsync_ = vsmNoSync;
    bool mouseInside_ = false;
    bool openGLAvailable_ = false;
    // The client origin on the screen at the last paint.
    int lastScreenX_ = 0;
    int lastScreenY_ = 0;
    bool positionKnown_ = false;
    int appliedSwapInterval_ = -1;
    int paintCount_ = 0;
    int recreateCount_ = 0;
    int resizeCount_ = 0;
    // A failed context creation is not retried on every paint (each would report the
    // same error); a new window or HandleNeeded tries again.
    bool contextFailed_ = false;
    TViewerWindow* window_ = nullptr;
    QWidget* container_ = nullptr;
};
