#pragma once
// A strip of equal-width glyphs (the gutter's bookmark and mark pictures) cut from one
// bitmap of the program's resources. Strips of the same resource share one bitmap,
// loaded on first use and freed with the last strip.
//
// The bitmap and the drawing surface come from the widget layer: it installs the loader
// and passes a canvas to Draw, so this part stays free of any window system.

#include <QString>

#include <functional>
#include <memory>

class TCodeGlyphBitmap {
public:
    virtual ~TCodeGlyphBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

struct TGlyphRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TGlyphRect&) const = default;
};

class TCodeGlyphCanvas {
public:
    virtual ~TCodeGlyphCanvas() = default;
    // Copies the source rectangle of the bitmap with its top left corner at (x, y).
    virtual void CopyGlyph(const TCodeGlyphBitmap& bitmap, TGlyphRect source, int x, int y) = 0;
};

class TBitmap;
class TCanvas;

// A glyph bitmap whose pixels are a platform bitmap (what the start-up loader makes).
class TCodeBitmapGlyphs : public TCodeGlyphBitmap {
public:
    explicit TCodeBitmapGlyphs(std::unique_ptr<TBitmap> bitmap);
    ~TCodeBitmapGlyphs() override;
    int Width() const override;
    int Height() const override;
    const TBitmap& Bitmap() const { return *bitmap_; }

private:
    std::unique_ptr<TBitmap> bitmap_;
};

// Copies glyphs onto a canvas; a bitmap of another kind has no pixels to copy.
class TCodeCanvasGlyphCanvas : public TCodeGlyphCanvas {
public:
    explicit TCodeCanvasGlyphCanvas(TCanvas& canvas) : canvas_(canvas) {}
    void CopyGlyph(const TCodeGlyphBitmap& bitmap, TGlyphRect source, int x, int y) override;

private:
    TCanvas& canvas_;
};

// Loads the named bitmap resource; nullptr when there is none.
using TCodeGlyphBitmapLoader = std::function<std::unique_ptr<TCodeGlyphBitmap>(const QString& name)>;
void SetCodeGlyphBitmapLoader(TCodeGlyphBitmapLoader loader);

// The name of the editor's built-in gutter glyphs.
inline const char* const CodeEditInternalImagesResource = "CODEEDITINTERNALIMAGES";

class TCodeInternalImage {
public:
    // Exception "Resource <NAME> not found" when the loader has no such bitmap. A glyph
    // count below 1 counts as 1.
    TCodeInternalImage(const QString& resourceName, int count);
    ~TCodeInternalImage();
    TCodeInternalImage(const TCodeInternalImage&) = delete;
    TCodeInternalImage& operator=(const TCodeInternalImage&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return count_; }

    // Nothing for a number outside 0..Count-1. A glyph taller than the line shows its
    // middle band; a shorter one is centred in the line.
    void Draw(TCodeGlyphCanvas& canvas, int number, int x, int y, int lineHeight) const;

    // How many bitmaps are loaded now (for tests and leak checks).
    static int LoadedResourceCount();

private:
    std::shared_ptr<TCodeGlyphBitmap> bitmap_;
    QString name_;
    int width_ = 0;
    int height_ = 0;
    int count_ = 1;
};
