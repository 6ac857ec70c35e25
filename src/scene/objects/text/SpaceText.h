#pragma once
// A line of text as solid 3D letters: the glyphs lie in the XY plane on the base line
// along X, extruded towards -Z. The glyph display lists come from the shared font
// manager; the text draws one list per character. The preview's axis labels are three.

#include "platform/core/graphics/Font.h"
#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/text/FontManager.h"

#include <cstdint>
#include <memory>
#include <string>

enum TGLTextHorzAdjust : std::uint8_t { haLeft, haCenter, haRight, haAligned, haCentrically, haFitIn };
enum TGLTextVertAdjust : std::uint8_t { vaTop, vaCenter, vaBottom, vaBaseLine };

// Where the text sits relative to the object's origin.
class TGLTextAdjust : public TPersistent {
    KP_CLASS(TGLTextAdjust, TPersistent)
public:
    TGLTextHorzAdjust Horz() const { return horz_; }
    TGLTextVertAdjust Vert() const { return vert_; }
    // Each fires OnChange when the value differs.
    void SetHorz(TGLTextHorzAdjust value);
    void SetVert(TGLTextVertAdjust value);
    // From another adjust object: both values, then OnChange.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TGLTextHorzAdjust horz_ = haLeft;
    TGLTextVertAdjust vert_ = vaBaseLine;
};

enum TSpaceTextCharRange : std::uint8_t { stcrAlphaNum, stcrNumbers, stcrAll };

class TGLSpaceText : public TGLWorldObject, public TFontManagerClient {
    KP_CLASS(TGLSpaceText, TGLWorldObject)
public:
    explicit TGLSpaceText(TComponent* owner = nullptr);
    ~TGLSpaceText() override;

    // How many renders in a row may try to build the glyphs before the text gives up
    // until its font changes.
    static constexpr int MaxFontAttempts = 3;

    float Extrusion() const { return extrusion_; }
    TFont& Font() { return *font_; }
    const std::string& Text() const { return text_; }
    float AllowedDeviation() const { return allowedDeviation_; }
    TSpaceTextCharRange CharacterRange() const { return characterRange_; }
    float AspectRatio() const { return aspectRatio_; }
    float TextHeight() const { return textHeight_; }
    float Oblique() const { return oblique_; }
    TGLTextAdjust& Adjust() { return *adjust_; }

    // Assertion "Extrusion must be >=0" for a negative value.
    void SetExtrusion(float value);
    void SetFont(const TFont& value);
    // UTF-8; characters outside the character range are skipped.
    void SetText(const std::string& value);
    // A value <= 0 is stored as 0 (the finest outlines).
    void SetAllowedDeviation(float value);
    void SetCharacterRange(TSpaceTextCharRange value);
    // 0 means none for the next three.
    void SetAspectRatio(float value);
    void SetTextHeight(float value);
    // Degrees about Z.
    void SetOblique(float value);
    void SetAdjust(const TGLTextAdjust& value);

    // The font changed: the glyphs are acquired again at the next render.
    void OnFontChange(TObject* sender);
    // Forgets the font entry without giving it back.
    void ResetFontEntry();
    // First and last character code of the character range.
    void GetFirstAndLastChar(int& first, int& last) const;
    // Advance of the whole string, the lowest point below the base line (0 or
    // negative) and the greatest rise above it; all 0 without glyphs. nullptr measures
    // Text.
    void TextMetrics(const std::string* text, float& width, float& minY, float& maxY) const;

    // The glyph entry in use; nullptr when none.
    const TFontEntry* FontEntry() const { return entry_; }
    int FailedFontAttempts() const { return failedAttempts_; }

    void NotifyChange(TObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;
    // Acquires the glyphs when needed, then draws as every custom object does.
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void DestroyHandle() override;
    // The font manager no longer holds the entry for this text.
    void FontEntryReleased() override { ResetFontEntry(); }

private:
    void AcquireFontEntry();

    float extrusion_ = 0;
    std::unique_ptr<TFont> font_;
    std::string text_;
    float allowedDeviation_ = 0;
    TSpaceTextCharRange characterRange_ = stcrAll;
    float aspectRatio_ = 0;
    float textHeight_ = 0;
    float oblique_ = 0;
    std::unique_ptr<TGLTextAdjust> adjust_;
    TFontEntry* entry_ = nullptr;
    bool fontChanged_ = true;
    int failedAttempts_ = 0;
};
