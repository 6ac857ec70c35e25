#include "editor/painting/CodeImageList.h"

#include "platform/core/graphics/Canvas.h"

#include <algorithm>

TCodeImageList::TCodeImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(std::max(1, width)), height_(std::max(1, height))
{
}

int TCodeImageList::Add(const TBitmap& image)
{
    std::unique_ptr<TBitmap> copy(TBitmap::Create());
    copy->Assign(&image);
    images_.push_back(std::move(copy));
    return Count() - 1;
}

void TCodeImageList::Draw(TCanvas& canvas, int x, int y, int index) const
{
    if (index < 0 || index >= Count()) {
        return;
    }
    const TBitmap& image = *images_[static_cast<std::size_t>(index)];
    canvas.DrawImage(x, y, image, TRect{0, 0, std::min(width_, image.Width()), std::min(height_, image.Height())});
}
