#pragma once
// A font as the scene and the engine describe it: a face name, a size, a style and a
// colour, with a change event. It holds no toolkit object; whoever draws with it
// (the glyph-outline service, a canvas) looks the face up by name.
//
// Its height in device pixels is the point size at the font's pixels per inch
// (points x pixels-per-inch / 72, rounded), or a height given directly in pixels.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

#include <cstdint>
#include <string>

// Bit set of TFont::fsBold, fsItalic, fsUnderline, fsStrikeOut.
using TFontStyles = std::uint8_t;

class TFont : public TPersistent {
    KP_CLASS(TFont, TPersistent)
public:
    // The style bits live in the class so they cannot collide with other style names.
    enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

    TFont() = default;

    const std::string& Name() const { return name_; }
    int Size() const { return size_; }
    int PixelsPerInch() const { return pixelsPerInch_; }
    // The height of the characters in device pixels (without the internal leading).
    int Height() const;
    TFontStyles Style() const { return style_; }
    TColor Color() const { return color_; }

    // Each setter fires OnChange when the value differs.
    void SetName(const std::string& value);
    // A size in points; the height follows the pixels per inch.
    void SetSize(int value);
    // A height in pixels (the sign is ignored, 0 changes nothing), kept as given; Size
    // becomes the nearest point size.
    void SetHeight(int pixels);
    // The device resolution the font is for (96 for the screen, a printer's dots per
    // inch). The font keeps its physical size: a height given in pixels is scaled.
    void SetPixelsPerInch(int value);
    void SetStyle(TFontStyles value);
    void SetColor(TColor value);

    // From another TFont: every attribute, then one OnChange.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int size_ = 8;
    int height_ = 0; // pixels when given directly, else 0
    int pixelsPerInch_ = 96;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
};
