#include "editor/painting/CodeInternalImage.h"

#include "platform/core/graphics/Canvas.h"
#include "platform/core/Exceptions.h"
#include "platform/core/graphics/Graphics.h"

#include <algorithm>
#include <vector>

namespace {

struct TInternalResource {
    int usageCount = 0;
    QString name; // upper case
    std::shared_ptr<TCodeGlyphBitmap> bitmap;
};

TCodeGlyphBitmapLoader& Loader()
{
    static TCodeGlyphBitmapLoader loader;
    return loader;
}

std::vector<TInternalResource>& Resources()
{
    static std::vector<TInternalResource> resources;
    return resources;
}

} // namespace

TCodeBitmapGlyphs::TCodeBitmapGlyphs(std::unique_ptr<TBitmap> bitmap) : bitmap_(std::move(bitmap)) {}
TCodeBitmapGlyphs::~TCodeBitmapGlyphs() = default;
int TCodeBitmapGlyphs::Width() const { return bitmap_->Width(); }
int TCodeBitmapGlyphs::Height() const { return bitmap_->Height(); }

void TCodeCanvasGlyphCanvas::CopyGlyph(const TCodeGlyphBitmap& bitmap, TGlyphRect source, int x, int y)
{
    if (const auto* glyphs = dynamic_cast<const TCodeBitmapGlyphs*>(&bitmap)) {
        canvas_.DrawImage(x, y, glyphs->Bitmap(),
                          TRect{source.left, source.top, source.left + source.width, source.top + source.height});
    }
}

void SetCodeGlyphBitmapLoader(TCodeGlyphBitmapLoader loader) { Loader() = std::move(loader); }

TCodeInternalImage::TCodeInternalImage(const QString& resourceName, int count)
    : name_(resourceName.toUpper()), count_(std::max(count, 1))
{
    auto& resources = Resources();
    auto it = std::find_if(resources.begin(), resources.end(),
                           [this](const TInternalResource& r) { return r.name == name_; });
    if (it != resources.end()) {
        ++it->usageCount;
        bitmap_ = it->bitmap;
    } else {
        std::unique_ptr<TCodeGlyphBitmap> loaded = Loader() ? Loader()(name_) : nullptr;
        if (!loaded) {
            throw Exception("Resource " + name_.toStdString() + " not found");
        }
        bitmap_ = std::shared_ptr<TCodeGlyphBitmap>(std::move(loaded));
        resources.push_back(TInternalResource{1, name_, bitmap_});
    }
    width_ = (bitmap_->Width() + count_ / 2) / count_;
    height_ = bitmap_->Height();
}

TCodeInternalImage::~TCodeInternalImage()
{
    auto& resources = Resources();
    auto it = std::find_if(resources.begin(), resources.end(),
                           [this](const TInternalResource& r) { return r.bitmap == bitmap_; });
    if (it != resources.end() && --it->usageCount == 0) {
        resources.erase(it);
    }
    if (resources.empty()) {
        std::vector<TInternalResource>().swap(resources);
    }
}

void TCodeInternalImage::Draw(TCodeGlyphCanvas& canvas, int number, int x, int y, int lineHeight) const
{
    if (number < 0 || number >= count_) {
        return;
    }
    const int left = number * width_;
    if (height_ > lineHeight) {
        canvas.CopyGlyph(*bitmap_, TGlyphRect{left, (height_ - lineHeight) / 2, width_, lineHeight}, x, y);
    } else {
        canvas.CopyGlyph(*bitmap_, TGlyphRect{left, 0, width_, height_}, x, y + (lineHeight - height_) / 2);
    }
}

int TCodeInternalImage::LoadedResourceCount() { return static_cast<int>(Resources().size()); }
