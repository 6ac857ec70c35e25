#pragma once
// A list of equal-sized images that an editor can name for its bookmark pictures
// (BookMarkOptions.BookmarkImages): images by index, drawn on a canvas.

#include "platform/core/objects/Component.h"
#include "platform/core/graphics/Graphics.h"

#include <memory>
#include <vector>

class TCanvas;

class TCodeImageList : public TComponent {
    KP_CLASS(TCodeImageList, TComponent)
public:
    TCodeImageList(TComponent* owner, int width, int height);

    int Count() const { return static_cast<int>(images_.size()); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Takes a copy; a larger image shows its top left part. Returns the index.
    int Add(const TBitmap& image);
    // Nothing for an index outside 0..Count-1.
    void Draw(TCanvas& canvas, int x, int y, int index) const;

private:
    int width_;
    int height_;
    std::vector<std::unique_ptr<TBitmap>> images_;
};
