#pragma once
// The editor's ten built-in bookmark glyphs (numbers 0 to 9), drawn here in code as a
// strip for the gutter's internal images.

#include "platform/core/graphics/Graphics.h"

#include <memory>

inline constexpr int BookmarkGlyphWidth = 11;
inline constexpr int BookmarkGlyphHeight = 14;
inline constexpr int BookmarkGlyphCount = 10;

// Ten ribbons side by side, each with its white number; transparent around them
// (32 bits with alpha). The bitmap is of the platform's class.
std::unique_ptr<TBitmap> MakeBookmarkGlyphStrip();

// Start-up call: the internal-image loader answers CODEEDITINTERNALIMAGES with the strip.
void InstallCodeEditInternalImages();
