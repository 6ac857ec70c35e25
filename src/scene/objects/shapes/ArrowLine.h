#pragma once
// An arrow along the local Z axis: a shaft of Height between BottomRadius and
// TopRadius, centred on the origin, with a cone head at either end. The preview's
// axes are three of them.

#include "scene/objects/shapes/CylinderBase.h"

#include <cstdint>

// Where the heads sit: beyond the shaft's ends (stacked), half over them (centred),
// or within Height (included, the shaft shortened by the heads).
enum TArrowHeadStackingStyle : std::uint8_t { ahssStacked, ahssCentered, ahssIncluded };

enum TArrowLinePart : std::uint8_t { alLine = 1, alTopArrow = 2, alBottomArrow = 4 };
using TArrowLineParts = std::uint8_t; // TArrowLinePart bits

class TGLArrowLine : public TGLCylinderBase {
    KP_CLASS(TGLArrowLine, TGLCylinderBase)
public:
    explicit TGLArrowLine(TComponent* owner = nullptr);

    float TopRadius() const { return topRadius_; }
    TArrowHeadStackingStyle HeadStackingStyle() const { return headStackingStyle_; }
    TArrowLineParts Parts() const { return parts_; }
    float TopArrowHeadHeight() const { return topArrowHeadHeight_; }
    float TopArrowHeadRadius() const { return topArrowHeadRadius_; }
    float BottomArrowHeadHeight() const { return bottomArrowHeadHeight_; }
    float BottomArrowHeadRadius() const { return bottomArrowHeadRadius_; }
    void SetTopRadius(float value);
    void SetHeadStackingStyle(TArrowHeadStackingStyle value);
    void SetParts(TArrowLineParts value);
    void SetTopArrowHeadHeight(float value);
    void SetTopArrowHeadRadius(float value);
    void SetBottomArrowHeadHeight(float value);
    void SetBottomArrowHeadRadius(float value);

    // The shaft and each head drawn again as a line along the side that faces the
    // camera, lit as that side: a side narrower than a pixel covers no pixel centre
    // and vanishes, or shows the colour of a facet beside it, while a line always
    // shows, in the colour of its middle. Facing the camera, an outlined arrow is
    // drawn anew every frame (no display list). Off by default.
    bool Outlined() const { return outlined_; }
    void SetOutlined(bool value);

    // From an arrow line: parts, the five sizes, the stacking style and the outline;
    // then the cylinder-family part.
    void Assign(const TPersistent* source) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    void SetFloat(float& field, float value);
    // The direction, at right angles to the axis, of the side that faces the camera;
    // false when the camera looks along the axis.
    bool FacingSide(const TRenderContextInfo& rci, TAffineVector& side) const;
    // The outline of a part from `bottom` to `top` along the axis, on its side `side`,
    // between the radii it has there.
    void DrawOutline(const TAffineVector& side, float bottom, float bottomRadius, float top, float topRadius) const;

    float topRadius_ = 0.1f;
    TArrowHeadStackingStyle headStackingStyle_ = ahssStacked;
    TArrowLineParts parts_ = alLine | alTopArrow;
    float topArrowHeadHeight_ = 0.5f;
    float topArrowHeadRadius_ = 0.2f;
    float bottomArrowHeadHeight_ = 0.5f;
    float bottomArrowHeadRadius_ = 0.2f;
    bool outlined_ = false;
};
