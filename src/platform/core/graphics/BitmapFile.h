#pragma once
// The platform bitmap file format (".bmp"): uncompressed 24- and 32-bit pictures, the
// form in which bitmaps are saved and read back by the scene's files and streams.

#include "platform/core/graphics/Graphics.h"

class TStream;

// Writes a complete bitmap file: 24 bits for pf24bit, 32 bits (with alpha) otherwise.
void SaveBitmapToStream(const TBitmap& bitmap, TStream& stream);
// Reads one complete bitmap file from the stream's position and leaves the position
// after it. Uncompressed 24- and 32-bit files only; EInvalidGraphic for anything else,
// EReadError when the file ends early. The bitmap is unchanged when reading fails.
void LoadBitmapFromStream(TBitmap& bitmap, TStream& stream);
