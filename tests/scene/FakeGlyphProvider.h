#pragma once
// A font for tests: every glyph is a box whose size and advance follow from the
// character code, so metrics and list contents are predictable; it can be told to
// fail, and it counts what it is asked. Also a framed square outline.

#include "scene/objects/text/GlyphOutline.h"

#include <string>
#include <vector>

namespace scenetest {

class TFakeGlyphProvider : public TGlyphOutlineProvider {
public:
    bool SelectFont(const std::string& name, TFontStyles style) override
    {
        selected.push_back(name + "/" + std::to_string(style));
        return !failSelect;
    }
    bool GetGlyph(char32_t codePoint, TGlyphOutline& outline) override
    {
        ++glyphRequests;
        if (failAt >= 0 && static_cast<int>(codePoint) == failAt) {
            return false;
        }
        const float h = Height(codePoint), d = Descent(codePoint), w = Width(codePoint);
        if (w > 0) {
            outline.MoveTo(0, -d);
            outline.LineTo(w, -d);
            outline.LineTo(w, h);
            outline.LineTo(0, h);
            outline.CloseContour();
        }
        // A blank has an advance but no box.
        outline.Metrics = w > 0 ? TGlyphMetricsFloat{w, h + d, 0, h, Advance(codePoint), 0}
                                : TGlyphMetricsFloat{0, 0, 0, 0, Advance(codePoint), 0};
        return true;
    }

    // Letters rise 0.7, digits 0.6, 'g', 'p', 'q', 'y' go 0.2 below the base line;
    // the space has no ink.
    static float Height(char32_t c) { return c >= '0' && c <= '9' ? 0.6f : 0.7f; }
    static float Descent(char32_t c) { return c == 'g' || c == 'p' || c == 'q' || c == 'y' ? 0.2f : 0; }
    static float Width(char32_t c) { return c == ' ' || c < 32 ? 0 : 0.5f; }
    static float Advance(char32_t c) { return c == 'W' ? 1.0f : 0.6f; }

    std::vector<std::string> selected;
    int glyphRequests = 0;
    bool failSelect = false;
    int failAt = -1;
};

// A 2 x 2 square with a 1 x 1 square hole, the outer contour running either way round
// and the hole the other way.
inline TGlyphOutline FramedSquare(bool counterClockwise)
{
    TGlyphOutline outline;
    outline.Clear(0.01f);
    const float outer[4][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    const float inner[4][2] = {{0.5f, 0.5f}, {0.5f, 1.5f}, {1.5f, 1.5f}, {1.5f, 0.5f}};
    for (const auto* contour : {outer, inner}) {
        for (int i = 0; i < 4; ++i) {
            const auto& p = contour[counterClockwise ? i : 3 - i];
            i == 0 ? outline.MoveTo(p[0], p[1]) : outline.LineTo(p[0], p[1]);
        }
    }
    outline.CloseContour();
    return outline;
}

// Installs a provider for the test's lifetime.
class TGlyphProviderScope {
public:
    explicit TGlyphProviderScope(TGlyphOutlineProvider* provider) : saved_(GlyphOutlineProvider())
    {
        SetGlyphOutlineProvider(provider);
    }
    ~TGlyphProviderScope() { SetGlyphOutlineProvider(saved_); }
    TGlyphProviderScope(const TGlyphProviderScope&) = delete;
    TGlyphProviderScope& operator=(const TGlyphProviderScope&) = delete;

private:
    TGlyphOutlineProvider* saved_;
};

} // namespace scenetest
