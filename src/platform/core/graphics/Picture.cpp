#include "platform/core/graphics/Picture.h"

#include "platform/core/graphics/BitmapFile.h"
#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/graphics/PictureFormats.h"
#include "platform/core/files/Stream.h"

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

std::unique_ptr<TGraphic> NewGraphicLike(const TGraphic& graphic)
{
    const TClass cls = graphic.ClassType();
    if (cls == TBitmap::StaticClass() || graphic.Is<TBitmap>()) {
        return std::unique_ptr<TGraphic>(TBitmap::Create());
    }
    for (const TPictureFormat& format : PictureFormats()) {
        if (format.GraphicClass == cls && format.Create) {
            return std::unique_ptr<TGraphic>(format.Create());
        }
    }
    if (GetClass(cls->name) == cls) {
        TObject* object = CreateObjectByName(cls->name);
        if (auto* made = ObjectCast<TGraphic>(object)) {
            return std::unique_ptr<TGraphic>(made);
        }
        delete object;
    }
    return nullptr;
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (!graphic) {
        TakeGraphic(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy = NewGraphicLike(*graphic);
    if (copy) {
        copy->Assign(graphic);
    } else {
        // A class nobody can make: keep what it looks like.
        std::unique_ptr<TBitmap> painted(TBitmap::Create());
        painted->SetPixelFormat(pf32bit);
        painted->SetSize(graphic->Width(), graphic->Height());
        painted->Draw(0, 0, *graphic);
        copy = std::move(painted);
    }
    TakeGraphic(std::move(copy));
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic)
{
    FGraphic = std::move(graphic);
    Changed();
}

std::unique_ptr<TBitmap> TPicture::ToBitmap() const
{
    std::unique_ptr<TBitmap> bitmap(TBitmap::Create());
    bitmap->SetPixelFormat(pf32bit);
    if (FGraphic && !FGraphic->Empty()) {
        bitmap->SetSize(FGraphic->Width(), FGraphic->Height());
        bitmap->Draw(0, 0, *FGraphic);
    }
    return bitmap;
}

void TPicture::SaveToStream(TStream& stream) const
{
    if (const auto* bitmap = ObjectCast<TBitmap>(FGraphic.get())) {
        SaveBitmapToStream(*bitmap, stream);
    } else {
        SaveBitmapToStream(*ToBitmap(), stream);
    }
}

void TPicture::SaveToFile(const std::string& fileName) const
{
    TMemoryStream memory;
    SaveToStream(memory);
    memory.SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent* source)
{
    if (!source) {
        Clear();
    } else if (const auto* picture = ObjectCast<TPicture>(source)) {
        if (picture != this) {
            SetGraphic(picture->Graphic());
        }
    } else if (const auto* graphic = ObjectCast<TGraphic>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}
