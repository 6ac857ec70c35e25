#pragma once
// A picture of any graphic class: the holder that texture images, forms and dialogs
// keep a graphic in. It owns its graphic, tells OnChange whenever the graphic is
// replaced or cleared, and saves itself in the bitmap file format.

#include "platform/core/objects/Delegate.h"
#include "platform/core/graphics/Graphics.h"

#include <memory>
#include <string>

class TStream;

class TPicture : public TPersistent {
    KP_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // nullptr when empty.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // A copy of the graphic (of its own class when that class can be made, else a
    // bitmap painted from it); nullptr clears the picture.
    void SetGraphic(const TGraphic* graphic);
    // Takes the graphic over without copying it.
    void TakeGraphic(std::unique_ptr<TGraphic> graphic);
    void Clear() { TakeGraphic(nullptr); }

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    bool Empty() const { return !FGraphic || FGraphic->Empty(); }

    // A new 32-bit bitmap painted from the graphic (empty for an empty picture).
    std::unique_ptr<TBitmap> ToBitmap() const;
    // The picture as a bitmap file; an empty picture writes a 0 x 0 bitmap.
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

    // From a picture (its graphic is copied), a graphic or nil.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};

// A new, empty graphic of the same class as `graphic`, or nullptr when that class
// cannot be made by name (not a registered picture format or class).
std::unique_ptr<TGraphic> NewGraphicLike(const TGraphic& graphic);
