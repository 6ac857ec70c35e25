#pragma once
// The glyph outlines of the 3D text, read from the fonts Qt finds (fontconfig on this
// platform). InstallQtGlyphOutlines makes it the scene's provider; it needs a
// QGuiApplication by the time the first 3D text is drawn.

#include "scene/objects/text/GlyphOutline.h"

#include <QRawFont>

class TQtGlyphOutlineProvider : public TGlyphOutlineProvider {
public:
    // Bold and italic pick the face; underline and strike-out have no outline.
    bool SelectFont(const std::string& name, TFontStyles style) override;
    bool GetGlyph(char32_t codePoint, TGlyphOutline& outline) override;

private:
    QRawFont font_;
    double emScale_ = 1; // em per font unit
};

void InstallQtGlyphOutlines();
