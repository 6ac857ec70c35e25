#pragma once
// A truncated pyramid on a rectangular base: the base lies on y = 0, the sides lean
// towards the apex at ApexHeight, and the top face is cut at Height.

#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/shapes/NormalDirection.h"

#include <cstdint>

enum TFrustrumPart : std::uint8_t { fpTop = 1, fpBottom = 2, fpFront = 4, fpBack = 8, fpLeft = 16, fpRight = 32 };
using TFrustrumParts = std::uint8_t; // TFrustrumPart bits
constexpr TFrustrumParts AllFrustrumParts = 0x3F;

class TGLFrustrum : public TGLWorldObject {
    KP_CLASS(TGLFrustrum, TGLWorldObject)
public:
    explicit TGLFrustrum(TComponent* owner = nullptr) : TGLWorldObject(owner) {}

    float ApexHeight() const { return apexHeight_; }
    float BaseDepth() const { return baseDepth_; }
    float BaseWidth() const { return baseWidth_; }
    float Height() const { return height_; }
    TFrustrumParts Parts() const { return parts_; }
    TNormalDirection NormalDirection() const { return normalDirection_; }
    // Each rebuilds the drawing when the value changes. Negative sizes (and NaN) are
    // ignored. Height never exceeds ApexHeight: a lower apex lowers Height, a higher
    // Height raises the apex.
    void SetApexHeight(float value);
    void SetBaseDepth(float value);
    void SetBaseWidth(float value);
    void SetHeight(float value);
    void SetParts(TFrustrumParts value);
    void SetNormalDirection(TNormalDirection value);

    // "FrustrumSize": ApexHeight, BaseDepth, BaseWidth and Height as 16 bytes, only
    // when one differs from its default. Values read pass through the setters.
    void DefineProperties(TFiler* filer) override;
    // From a frustum: the four sizes, Parts and NormalDirection; then the custom-object
    // part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    // One block of quads; the top face only while Height is below the apex. An apex
    // at 0 gives a flat frustum whose top equals its base.
    void BuildList(TRenderContextInfo& rci) override;

private:
    void SetSize(float& field, float value);

    float apexHeight_ = 1.0f;
    float baseDepth_ = 1.0f;
    float baseWidth_ = 1.0f;
    float height_ = 0.5f;
    TFrustrumParts parts_ = AllFrustrumParts;
    TNormalDirection normalDirection_ = ndOutside;
};
