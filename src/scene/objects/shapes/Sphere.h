#pragma once
// A sphere, or a band, wedge or capped segment of one, drawn with its own normals and
// texture coordinates. Latitudes Top and Bottom and longitudes Start and Stop are in
// degrees; the poles lie on the Y axis.

#include "scene/objects/shapes/QuadricObject.h"

#include <cstdint>

// How an open edge of a partial sphere is closed: not at all, by a cone to the centre,
// or by a flat disk at the edge's height.
enum TCapType : std::uint8_t { ctNone, ctCenter, ctFlat };

class TGLSphere : public TGLQuadricObject {
    KP_CLASS(TGLSphere, TGLQuadricObject)
public:
    explicit TGLSphere(TComponent* owner = nullptr) : TGLQuadricObject(owner) {}

    float Radius() const { return radius_; }
    int Slices() const { return slices_; }
    int Stacks() const { return stacks_; }
    int Top() const { return top_; }
    int Bottom() const { return bottom_; }
    int Start() const { return start_; }
    int Stop() const { return stop_; }
    TCapType TopCap() const { return topCap_; }
    TCapType BottomCap() const { return bottomCap_; }

    // Each setter rebuilds the drawing when the value changes. Slices and Stacks below
    // 1 become 1; latitudes are kept within -90..90 and longitudes within 0..360.
    // Start may not pass Stop, nor Stop Start (assertion): widen a range in the right
    // order.
    void SetRadius(float value);
    void SetSlices(int value);
    void SetStacks(int value);
    void SetTop(int value);
    void SetBottom(int value);
    void SetStart(int value);
    void SetStop(int value);
    void SetTopCap(TCapType value);
    void SetBottomCap(TCapType value);

    // From a sphere: radius, divisions and angular limits (not the caps); then the
    // quadric part.
    void Assign(const TPersistent* source) override;
    // The whole sphere's, whatever the limits.
    TVector UnscaledHalfExtents() const override;
    // Against the whole sphere: limits and caps are ignored. The normal is the local
    // hit vector carried to absolute coordinates, not normalised.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    // The great circle facing the viewing position, max(Stacks, Slices) points.
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    void DrawCap(bool top, long double latitude, long double step) const;

    float radius_ = 0.5f;
    int slices_ = 16;
    int stacks_ = 16;
    std::int8_t top_ = 90;
    std::int8_t bottom_ = -90;
    std::uint16_t start_ = 0;
    std::uint16_t stop_ = 360;
    TCapType topCap_ = ctNone;
    TCapType bottomCap_ = ctNone;
};
