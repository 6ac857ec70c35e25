#pragma once
// A font as the scene and the engine describe it: a face name, a size, a style and a
// colour, with a change event. It holds no toolkit object; whoever draws with it
// (the glyph-outline service, a canvas) looks the face up by name.

#include "platform/core/ColorValue.h"
#include "platform/core/Delegate.h"
#include "platform/core/Persistent.h"

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
    TFontStyles Style() const { return style_; }
    TColor Color() const { return color_; }

    // Each setter fires OnChange when the value differs.
    void SetName(const std::string& value);
    void SetSize(int value);
    void SetStyle(TFontStyles value);
    void SetColor(TColor value);

    // From another TFont: every attribute, then one OnChange.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int size_ = 8;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
};
