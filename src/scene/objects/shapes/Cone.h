#pragma once
// A cone standing on its local Y axis: apex at +Height/2, base at -Height/2. The
// preview's tool bit is one.

#include "scene/objects/shapes/CylinderBase.h"

#include <cstdint>

enum TConePart : std::uint8_t { coSides = 1, coBottom = 2 };
using TConeParts = std::uint8_t; // TConePart bits

class TGLCone : public TGLCylinderBase {
    KP_CLASS(TGLCone, TGLCylinderBase)
public:
    explicit TGLCone(TComponent* owner = nullptr) : TGLCylinderBase(owner) {}

    TConeParts Parts() const { return parts_; }
    void SetParts(TConeParts value);

    float GetTopRadius() const override { return 0; }
    // From a cone: Parts; then the cylinder-family part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    TConeParts parts_ = coSides | coBottom;
};
