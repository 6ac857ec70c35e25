#pragma once
// A flat polygon through its nodes, filled by the GLU tessellator, with a top face
// (wound and lit as the nodes' normal says) and a bottom face.

#include "scene/objects/shapes/PolygonBase.h"

#include <cstdint>

enum TPolygonPart : std::uint8_t { ppTop = 1, ppBottom = 2 };
using TPolygonParts = std::uint8_t; // TPolygonPart bits

class TGLPolygon : public TGLPolygonBase {
    KP_CLASS(TGLPolygon, TGLPolygonBase)
public:
    explicit TGLPolygon(TComponent* owner = nullptr) : TGLPolygonBase(owner) {}

    TPolygonParts Parts() const { return parts_; }
    void SetParts(TPolygonParts value);

    // From a polygon: Parts; then the polygon-base part.
    void Assign(const TPersistent* source) override;
    // Both faces are textured with the nodes' X and Y; splines follow Division.
    void BuildList(TRenderContextInfo& rci) override;

private:
    TPolygonParts parts_ = ppTop | ppBottom;
};
