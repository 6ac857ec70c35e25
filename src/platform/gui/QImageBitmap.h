#pragma once
// The platform bitmap of the shell: a TBitmap whose pixels live in a QImage, so a
// snapshot of the 3D view can be shown, copied or saved by Qt without a copy.
// InstallQtGraphics makes it the class TBitmap::Create returns and registers the
// picture formats Qt can read (JPEG stays with the scene's own reader).

#include "platform/core/graphics/Graphics.h"

#include <QImage>

class TQImageBitmap : public TBitmap {
    KP_CLASS(TQImageBitmap, TBitmap)
public:
    // pf24bit is QImage::Format_BGR888, every other format QImage::Format_ARGB32
    // (blue, green, red, alpha in memory on little-endian machines).
    const QImage& Image() const { return FImage; }
    // Takes a copy of any QImage, converted to 32 bits.
    void SetImage(const QImage& image);

    // Reads any format Qt knows; EInvalidGraphic when it cannot.
    void LoadFromStream(TStream& stream) override;

protected:
    void Reallocate(int width, int height, int bytesPerPixel) override;

private:
    QImage FImage;
};

void InstallQtGraphics();
