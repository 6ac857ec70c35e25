#include "scene/graph/NonVisualViewer.h"

TGLNonVisualViewer::TGLNonVisualViewer(TComponent* owner)
    : TComponent(owner), buffer_(std::make_unique<TGLWorldBuffer>(this))
{
    buffer_->OnChange = [this](TObject* sender) { DoBufferChange(sender); };
    buffer_->OnStructuralChange = [this](TObject* sender) { DoBufferStructuralChange(sender); };
    buffer_->OnPrepareGLContext = [this](TGLContext* context) { PrepareGLContext(context); };
}

TGLNonVisualViewer::~TGLNonVisualViewer()
{
    buffer_.reset();
}

void TGLNonVisualViewer::SetCamera(TGLCamera* camera)
{
    if (TGLCamera* old = buffer_->Camera()) {
        old->RemoveFreeNotification(this);
    }
    buffer_->SetCamera(camera);
    if (TGLCamera* current = buffer_->Camera()) {
        current->FreeNotification(this);
    }
}

void TGLNonVisualViewer::SetWidth(int value)
{
    value = value < 1 ? 1 : value;
    if (width_ != value) {
        width_ = value;
        buffer_->NotifyChange(this);
    }
}

void TGLNonVisualViewer::SetHeight(int value)
{
    value = value < 1 ? 1 : value;
    if (height_ != value) {
        height_ = value;
        buffer_->NotifyChange(this);
    }
}

void TGLNonVisualViewer::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && buffer_ && component == buffer_->Camera()) {
        buffer_->SetCamera(nullptr);
    }
    TComponent::Notification(component, operation);
}

void TGLNonVisualViewer::DoBufferStructuralChange(TObject* /*sender*/)
{
    buffer_->DestroyRC();
}

void TGLNonVisualViewer::CopyToTexture(TGLTexture& texture)
{
    buffer_->CopyToTexture(texture, 0, 0, width_, height_, 0, 0);
}

TGLMemoryViewer::TGLMemoryViewer(TComponent* owner) : TGLNonVisualViewer(owner)
{
    SetWidth(256);
    SetHeight(256);
}

void TGLMemoryViewer::Render(TGLBaseSceneObject* baseObject)
{
    TGLWorldBuffer& buffer = Buffer();
    if (!buffer.RCInstantiated()) {
        buffer.SetViewPort(0, 0, Width(), Height());
        buffer.CreateRC(0, true);
    }
    buffer.Render(baseObject);
}
