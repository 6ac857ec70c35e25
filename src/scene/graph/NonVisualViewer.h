#pragma once
// Viewers without a window: they own a scene buffer and a size. TGLMemoryViewer renders
// into an off-screen (pbuffer) context of that size, made at its first frame; tests and
// snapshots use it.

#include "platform/core/objects/Component.h"
#include "scene/graph/WorldBuffer.h"

#include <memory>

class TGLTexture;

class TGLNonVisualViewer : public TComponent {
    KP_CLASS(TGLNonVisualViewer, TComponent)
public:
    explicit TGLNonVisualViewer(TComponent* owner = nullptr);
    ~TGLNonVisualViewer() override;

    TGLWorldBuffer& Buffer() { return *buffer_; }
    TGLCamera* Camera() const { return buffer_->Camera(); }
    void SetCamera(TGLCamera* camera);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // At least 1.
    void SetWidth(int value);
    void SetHeight(int value);

    // Forwarded to the buffer.
    void SetBeforeRender(TBufferEvent handler) { buffer_->BeforeRender = std::move(handler); }
    void SetPostRender(TBufferEvent handler) { buffer_->PostRender = std::move(handler); }
    void SetAfterRender(TBufferEvent handler) { buffer_->AfterRender = std::move(handler); }

    virtual void Render(TGLBaseSceneObject* baseObject) = 0;
    // Copies (0, 0, Width, Height) of the buffer into the texture.
    virtual void CopyToTexture(TGLTexture& texture);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoBufferChange(TObject* /*sender*/) {}
    // The context must be made again with the new options.
    virtual void DoBufferStructuralChange(TObject* sender);
    virtual void PrepareGLContext(TGLContext* /*context*/) {}

private:
    std::unique_ptr<TGLWorldBuffer> buffer_;
    int width_ = 256;
    int height_ = 256;
};

class TGLMemoryViewer : public TGLNonVisualViewer {
    KP_CLASS(TGLMemoryViewer, TGLNonVisualViewer)
public:
    explicit TGLMemoryViewer(TComponent* owner = nullptr);
    // Makes the off-screen context of Width x Height at the first frame.
    void Render(TGLBaseSceneObject* baseObject = nullptr) override;
};
